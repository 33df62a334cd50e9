// The SNMP client against peers that answer wrongly: stray replies, an endless subtree, over-long
// numbers and names.
#include "net/SnmpClient.h"
#include "snmp_scripted_responder.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

const std::string kName = "1.3.6.1.2.1.1.5.0";

class SnmpClientHostile : public ::testing::Test {
protected:
    void SetUp() override { snmp.timeoutMs = 300; }
    void Use(const ScriptedResponder& responder) { snmp.port = responder.port(); }

    SnmpSettings snmp;
};

// A UDP socket on 127.0.0.2: a host of the LAN that is not the router.
struct Stranger {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    Stranger() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(0x7F000002);
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~Stranger() {
        if (fd >= 0) ::close(fd);
    }
    void SendTo(std::uint16_t port, const std::string& datagram) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
};

} // namespace

TEST_F(SnmpClientHostile, OnlyTheAnswerToTheRequestIsTaken) {
    Stranger stranger;
    if (stranger.fd < 0) GTEST_SKIP() << "127.0.0.2 cannot be bound";
    enum Kind { Stale, OtherId, NotAResponse, OtherAddress };
    std::atomic<int> kind{Stale};
    ScriptedResponder* self = nullptr;
    ScriptedResponder responder([&](const TSNMPRec& request, const std::string&) {
        // Gets echo the name; the walk of the system group finds sysName and then leaves the group.
        const std::string& asked = request.MIBList[0].OID;
        const std::string name = request.PDUType == ber::GetRequest ? asked
                                 : asked == "1.3.6.1.2.1.1"         ? kName
                                                                    : "1.3.6.1.2.1.2.1.0";
        TSNMPRec wrong = request;
        wrong.PDUType = kind == NotAResponse ? ber::GetRequest : ber::GetResponse;
        wrong.ID = kind == Stale ? request.ID - 1 : kind == OtherId ? request.ID + 1000 : request.ID;
        wrong.MIBList = {{name, "wrong", ber::OctetString}};
        std::vector<std::string> out;
        if (kind == OtherAddress)
            stranger.SendTo(self->seen().back().sourcePort, wrong.EncodeBuf());
        else
            out.push_back(wrong.EncodeBuf());
        out.push_back(ScriptedResponder::Response(request, {{name, "right", ber::OctetString}}));
        return out;
    });
    self = &responder;
    Use(responder);
    for (int k : {Stale, OtherId, NotAResponse, OtherAddress}) {
        kind = k;
        std::string value;
        EXPECT_TRUE(SnmpGetValue(kName, "public", "127.0.0.1", value, {}, snmp)) << k;
        EXPECT_EQ(value, "right") << k;
        std::vector<std::string> lines;
        EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.1", "public", "127.0.0.1", lines, {}, snmp)) << k;
        EXPECT_EQ(lines, std::vector<std::string>{"\"right\""}) << k;
    }
    // Only wrong answers: the wait ends at the time-out, as with silence.
    ScriptedResponder onlyWrong([](const TSNMPRec& request, const std::string&) {
        TSNMPRec wrong = request;
        wrong.PDUType = ber::GetResponse;
        wrong.ID = request.ID + 1;
        return std::vector<std::string>(3, wrong.EncodeBuf());
    });
    Use(onlyWrong);
    std::string value = "x";
    EXPECT_FALSE(SnmpGetValue(kName, "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "");
}

TEST_F(SnmpClientHostile, EndlessSubtreeEndsAsAFailedRead) {
    // Every get-next answered with a larger name inside the subtree, for ever.
    ScriptedResponder endless([](const TSNMPRec& request, const std::string&) {
        return std::vector<std::string>{
            ScriptedResponder::Response(request, {{request.MIBList[0].OID + ".1", "v", ber::OctetString}})};
    });
    Use(endless);
    std::vector<std::string> lines;
    snmp.walkMaxObjects = 50;
    EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines.size(), 50u);
    EXPECT_EQ(endless.seen().size(), 51u);

    snmp.walkMaxObjects = 100000;
    snmp.walkTimeLimitMs = 200;
    EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_LT(lines.size(), 100000u);
}

TEST_F(SnmpClientHostile, OverLongArcsAndIntegersAreMalformed) {
    // ifNumber 2^64 + 4, and a name whose arc is 2^32 + 0 (aliasing .0 in 32 bits).
    const std::string overLongInteger =
        ber::EncodeItem(ber::Integer, std::string("\x01\x00\x00\x00\x00\x00\x00\x00\x04", 9));
    const std::string aliasedName = ber::EncodeItem(
        ber::ObjectId, ber::EncodeOidContent("1.3.6.1.2.1.2.1") + std::string("\x90\x80\x80\x80\x00", 5));
    for (const auto& [name, value] :
         {std::pair{ber::EncodeItem(ber::ObjectId, ber::EncodeOidContent("1.3.6.1.2.1.2.1.0")),
                    overLongInteger},
          std::pair{aliasedName, ber::EncodeItem(ber::Integer, "\x04")}}) {
        const std::string varBind = name + value;
        ScriptedResponder agent([&varBind](const TSNMPRec& request, const std::string&) {
            std::string pdu = ber::EncodeItem(ber::Integer, ber::EncodeIntegerContent(request.ID)) +
                              ber::EncodeItem(ber::Integer, std::string(1, '\0')) +
                              ber::EncodeItem(ber::Integer, std::string(1, '\0')) +
                              ber::EncodeItem(ber::Sequence, ber::EncodeItem(ber::Sequence, varBind));
            return std::vector<std::string>{
                ber::EncodeItem(ber::Sequence, ber::EncodeItem(ber::Integer, std::string(1, '\0')) +
                                                   ber::EncodeItem(ber::OctetString, "public") +
                                                   ber::EncodeItem(ber::GetResponse, pdu))};
        });
        Use(agent);
        std::string got = "x";
        EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.2.1.0", "public", "127.0.0.1", got, {}, snmp));
        EXPECT_EQ(got, "");
    }
}
