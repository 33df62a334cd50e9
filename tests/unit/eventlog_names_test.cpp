// The event-log transfer's names: file name pattern, name checks, computer address choice, commands.
#include "eventlog/core/EventLogNames.h"
#include "net/core/MibObjects.h"
#include "net/core/SnmpBer.h"
#include "telnet/core/TelnetJobs.h"

#include <gtest/gtest.h>

TEST(EventLogNames, FileNameCarriesTheLocalTimeOfTheRequest) {
    EXPECT_EQ(eventlog::FileNameAt(QDateTime(QDate(2005, 3, 14), QTime(9, 30, 59))), "event050314_0930.log");
    EXPECT_EQ(eventlog::FileNameAt(QDateTime(QDate(2026, 12, 31), QTime(23, 5))), "event261231_2305.log");
}

TEST(EventLogNames, OnlyPlainNamesAreTaken) {
    for (const char* name : {"event050314_0930.log", "log", ".hidden", "a.b.c"})
        EXPECT_TRUE(eventlog::IsPlainFileName(name)) << name;
    for (const char* name : {"", "/etc/passwd", "a/b", "..", "x..y", "../up", "tab\there", "del\x7f"})
        EXPECT_FALSE(eventlog::IsPlainFileName(name)) << name;
    EXPECT_FALSE(eventlog::IsPlainFileName(std::string_view("nul\0x", 5)));
}

TEST(EventLogNames, ComputerAddressSkipsEveryLoopbackAddress) {
    struct Case {
        std::vector<std::string> hostAddresses;
        std::string route;
        std::string expected;
    };
    const Case cases[] = {
        {{"127.0.1.1"}, "192.168.0.100", "192.168.0.100"}, // the host name's loopback alias is skipped
        {{"127.0.0.1", "192.168.0.7"}, "10.0.0.2", "192.168.0.7"}, // the host name's first usable address
        {{"127.0.0.1"}, "", ""},                                   // nothing found: the edit keeps 0.0.0.0
        {{}, "127.0.0.1", ""}, // a route over loopback is no answer either
        {{"0.0.0.0"}, "192.168.0.9", "192.168.0.9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(eventlog::ChooseComputerAddress(c.hostAddresses, c.route), c.expected) << c.route;
}

// The four command-line writes of one transfer, in order, from the job table.
static std::vector<std::string> transferCommands(const std::string& password,
                                                 const std::string& computerAddress,
                                                 const std::string& fileName) {
    telnet::JobParams params;
    params.password = password;
    params.computerAddress = computerAddress;
    params.fileName = fileName;
    std::vector<std::string> texts;
    for (const telnet::Line& line : telnet::jobLines(telnet::Job::EventLog, params))
        texts.push_back(line.text);
    return texts;
}

TEST(EventLogNames, TransferCommandsInOrder) {
    EXPECT_EQ(transferCommands("quorbex", "192.168.0.100", "event050314_0930.log"),
              (std::vector<std::string>{"quorbex\r", "home\r", "tftp connect 192.168.0.100\r",
                                        "tftp put //isfs/eventlog event050314_0930.log\r"}));
}

TEST(EventLogNames, NewRouterAddressIsSentAsFourOctets) {
    EXPECT_EQ(ber::EncodeValue(ber::IpAddress, "192.168.1.1"), std::string("\x40\x04\xC0\xA8\x01\x01", 6));
    EXPECT_STREQ(mib::lanAddress, "1.3.6.1.4.1.171.11.30.4.1.1.2.1");
}
