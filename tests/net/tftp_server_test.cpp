// The TFTP receiver against a raw peer on loopback: requests, uploads, wrong blocks, silence.
#include "net/TftpServer.h"
#include "net/core/TftpPacket.h"
#include "support/UdpPeer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct Outcome {
    bool accepted = false;
    bool received = false;
    std::uint16_t opcode = 0;
    std::string fileName;
};

class TftpServerTest : public ::testing::Test {
protected:
    TftpServerTest() : port(UdpPeer::freePort()), peer(port) {
        server.LocalInterface = "127.0.0.1";
        server.TargetPort = std::to_string(port);
        server.Timeout = 1000;
    }

    // Runs AwaitRequest (and ReceiveUpload when upload) on a thread, sending request until it arrived.
    Outcome serve(const std::string& request, bool upload) {
        std::atomic<bool> awaited{false};
        auto outcome = std::async(std::launch::async, [&] {
            Outcome o;
            o.accepted = server.AwaitRequest(o.opcode, o.fileName);
            awaited = true;
            if (upload && o.accepted) o.received = server.ReceiveUpload();
            return o;
        });
        while (!awaited) {
            peer.sendToServer(request);
            std::this_thread::sleep_for(20ms);
        }
        uploadSide();
        return outcome.get();
    }

    std::function<void()> uploadSide = [] {};
    std::uint16_t port;
    UdpPeer peer;
    TTFTPSend server;
};

std::uint16_t AckOf(const std::optional<std::string>& datagram) {
    return datagram ? tftp::ParseAck(*datagram).value_or(0xFFFF) : 0xFFFF;
}

} // namespace

TEST_F(TftpServerTest, ModeOctetInAnyCaseIsAcceptedOtherModesSilently) {
    const Outcome capitals = serve(tftp::EncodeRequest(tftp::WriteRequest, "event.log", "OCTET"), false);
    EXPECT_TRUE(capitals.accepted);
    EXPECT_EQ(capitals.opcode, tftp::WriteRequest);
    EXPECT_EQ(capitals.fileName, "event.log");
    EXPECT_EQ(server.RequestIP, "127.0.0.1");

    const Outcome netascii = serve(tftp::EncodeRequest(tftp::ReadRequest, "x", "netascii"), false);
    EXPECT_FALSE(netascii.accepted);
    EXPECT_EQ(netascii.opcode, tftp::ReadRequest);
    EXPECT_FALSE(peer.receive(200)) << "nothing is answered";
}

TEST_F(TftpServerTest, File1024ArrivesAs512And512And0WithAcks0To3) {
    const std::string file(1024, 'k');
    std::vector<std::uint16_t> acks;
    uploadSide = [&] {
        acks.push_back(AckOf(peer.receive(1000)));
        for (std::uint16_t block = 1; block <= 3; ++block) {
            const std::size_t offset = std::min<std::size_t>((block - 1) * 512u, file.size());
            peer.reply(tftp::EncodeData(block, std::string_view(file).substr(offset, 512)));
            acks.push_back(AckOf(peer.receive(1000)));
        }
    };
    EXPECT_TRUE(serve(tftp::EncodeRequest(tftp::WriteRequest, "f", "octet"), true).received);
    EXPECT_EQ(server.Data, file);
    EXPECT_EQ(acks, (std::vector<std::uint16_t>{0, 1, 2, 3}));
}

TEST_F(TftpServerTest, WrongBlockIsAnsweredUnexceptedSerial) {
    std::optional<tftp::ErrorPacket> error;
    uploadSide = [&] {
        peer.receive(1000);
        peer.reply(tftp::EncodeData(2, std::string(512, 'x')));
        if (const auto answer = peer.receive(1000)) error = tftp::ParseError(*answer);
    };
    EXPECT_FALSE(serve(tftp::EncodeRequest(tftp::WriteRequest, "f", "octet"), true).received);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 5);
    EXPECT_EQ(error->message, "Unexcepted serial#");
}

TEST_F(TftpServerTest, UploadFailsWhenTheSenderStopsErrsOrExceedsTheBound) {
    server.Timeout = 300;
    const std::string block(512, 'b');
    std::chrono::steady_clock::time_point lastAck;
    uploadSide = [&] {
        peer.receive(1000);
        peer.reply(tftp::EncodeData(1, block));
        peer.receive(1000);
        lastAck = std::chrono::steady_clock::now();
    };
    EXPECT_FALSE(serve(tftp::EncodeRequest(tftp::WriteRequest, "f", "octet"), true).received);
    EXPECT_GE(std::chrono::steady_clock::now() - lastAck, 250ms) << "failed only after the time-out";
    EXPECT_EQ(server.Data, block) << "the blocks so far are kept";

    uploadSide = [&] {
        peer.receive(1000);
        peer.reply(tftp::EncodeError(3, "Disk full"));
    };
    EXPECT_FALSE(serve(tftp::EncodeRequest(tftp::WriteRequest, "f", "octet"), true).received);
    EXPECT_EQ(server.ErrorCode, 3);
    EXPECT_EQ(server.ErrorString, "Disk full");

    server.MaxDataSize = 1000;
    std::optional<tftp::ErrorPacket> error;
    uploadSide = [&] {
        peer.receive(1000);
        for (std::uint16_t n = 1; n <= 2 && !error; ++n) {
            peer.reply(tftp::EncodeData(n, block));
            if (const auto answer = peer.receive(1000)) error = tftp::ParseError(*answer);
        }
    };
    EXPECT_FALSE(serve(tftp::EncodeRequest(tftp::WriteRequest, "f", "octet"), true).received);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, tftp::DiskFull);
}
