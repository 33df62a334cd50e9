// The stand-in's event-log upload against the program's receiver on loopback, and its control commands.
#include "net/LocalAddress.h"
#include "net/TftpServer.h"
#include "sim/TftpUploader.h"
#include "support/UdpPeer.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

// One upload received by TTFTPSend on a loopback port, the receiver starting `delayMs` after the sender.
struct Received {
    std::string answer;
    std::string data;
};
Received UploadOnce(const sim::TftpUploadOptions& options, int delayMs) {
    const std::uint16_t port = UdpPeer::freePort();
    auto sender = std::async(std::launch::async,
                             [&] { return sim::uploadEventLog("127.0.0.1", port, "event.log", options); });
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    TTFTPSend server;
    server.LocalInterface = "127.0.0.1";
    server.TargetPort = std::to_string(port);
    server.Timeout = 1000;
    std::uint16_t opcode = 0;
    std::string name;
    if (server.AwaitRequest(opcode, name)) server.ReceiveUpload();
    return {sender.get(), server.Data};
}

} // namespace

TEST(TftpUpload, RetransmitsUntilTheReceiverAnswersAndSendsTheWholeLog) {
    const std::string log = sim::GenerateEventLog(5 * 512);
    const Received r = UploadOnce({log, sim::TftpUploadMode::Normal, 100, 10}, 350);
    EXPECT_EQ(r.answer, "completed successfully");
    EXPECT_EQ(r.data, log) << "a multiple of 512 ends with an empty block";
    EXPECT_EQ(log.size(), 5u * 512);
    EXPECT_NE(log.find("\r\n"), std::string::npos);
}

TEST(TftpUpload, GivesUpWithUnableToOpenAndHasSilentModes) {
    const sim::TftpUploadOptions options{"x", sim::TftpUploadMode::Normal, 50, 3};
    EXPECT_NE(sim::uploadEventLog("127.0.0.1", UdpPeer::freePort(), "e.log", options).find("unable to open"),
              std::string::npos);
    EXPECT_EQ(UploadOnce({sim::GenerateEventLog(2000), sim::TftpUploadMode::OneBlock, 100, 3}, 0).data.size(),
              512u);
    EXPECT_EQ(UploadOnce({"x", sim::TftpUploadMode::Nothing, 100, 3}, 0).answer, "");
}

TEST(LocalAddress, RouteToALoopbackHostUsesLoopback) {
    EXPECT_EQ(localaddress::RouteTo("127.0.0.1"), "127.0.0.1");
    EXPECT_EQ(localaddress::ResolveIPv4("127.0.0.5"), "127.0.0.5");
    EXPECT_EQ(localaddress::RouteTo(""), "");
}
