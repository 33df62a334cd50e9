// The event-log receiver thread on loopback: real TFTP clients, the stand-in's upload, the lines it
// shows on the GUI thread, and every upload it refuses.
#include "eventlog/TftpDaemon.h"
#include "net/TftpServer.h"
#include "net/core/TftpPacket.h"
#include "sim/TftpUploader.h"
#include "support/UdpPeer.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <netinet/in.h>
#include <random>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string RandomBytes(std::size_t size) {
    std::mt19937 random(static_cast<unsigned>(size));
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

class TftpDaemonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        start();
    }

    void start() {
        daemon = std::make_unique<TTFTPDaemonThread>(
            "127.0.0.1", TftpSettings{port, timeoutMs},
            TTFTPDaemonThread::guiLogger(
                &receiver, [this](const QString& line) { lines.push_back(line.toStdString()); }));
        daemon->setJobDoneFlag(&jobDone);
        daemon->setBindRetryMs(50);
        daemon->setRefusalWindowMs(0); // every refusal shown, unless a test sums them up
        // Its first line comes before it binds the port: a request sent in between would be lost.
        pump([&] { return !lines.empty() && UdpPeer::portInUse(port); });
    }

    std::string directory() const { return dir.path().toStdString() + "/"; }
    // A transfer starts that waits for name.
    void await(const std::string& name) {
        daemon->setJob(saveTo.empty() ? directory() : saveTo, router, name);
    }

    // Keeps the GUI thread's events going (the daemon's lines are shown there) until done or 10 s.
    void pump(const std::function<bool()>& done) {
        const auto until = std::chrono::steady_clock::now() + 10s;
        while (!done() && std::chrono::steady_clock::now() < until) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(2ms);
        }
    }
    template <class F> auto whileServing(F work) {
        auto result = std::async(std::launch::async, work);
        pump([&] { return result.wait_for(0s) == std::future_status::ready; });
        return result.get();
    }
    int shell(const std::string& command) {
        return whileServing([command] { return std::system((command + " >/dev/null 2>&1").c_str()); });
    }
    // The stand-in's upload; returns once the daemon has shown the lines it adds (three by default).
    std::string uploadFromStandIn(const std::string& name,
                                  sim::TftpUploadMode mode = sim::TftpUploadMode::Normal,
                                  std::size_t addedLines = 3) {
        const sim::TftpUploadOptions options{sim::GenerateEventLog(3000), mode, 200, 5};
        const std::size_t before = lines.size();
        await(name);
        const std::string answer =
            whileServing([&] { return sim::uploadEventLog("127.0.0.1", port, name, options); });
        pump([&] { return lines.size() >= before + addedLines; });
        return answer;
    }
    // The lines after the first (the daemon's start line).
    std::vector<std::string> servingLines() const { return {lines.begin() + 1, lines.end()}; }
    std::vector<std::string> filesInDirectory() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path().toStdString()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    QTemporaryDir dir;
    std::string saveTo;               // the transfer's directory ("": dir)
    std::string router = "127.0.0.1"; // the transfer's router
    std::uint16_t port = UdpPeer::freePort();
    int timeoutMs = 500; // the daemon's wait for any one packet
    QObject receiver;
    std::vector<std::string> lines;
    std::atomic<bool> jobDone{false};
    std::unique_ptr<TTFTPDaemonThread> daemon;
};

bool Installed(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

TEST_F(TftpDaemonTest, RealClientsUploadsArriveByteForByte) {
    if (!Installed("tftp") || !Installed("curl")) GTEST_SKIP() << "tftp-hpa's tftp or curl is missing";
    QTemporaryDir sources;
    const std::string p = std::to_string(port);
    for (const std::size_t size : {0u, 511u, 512u, 1024u, 1u << 20}) {
        const std::string source = sources.path().toStdString() + "/" + std::to_string(size);
        std::ofstream(source, std::ios::binary) << RandomBytes(size);
        const std::string byTftp = "tftp-" + std::to_string(size), byCurl = "curl-" + std::to_string(size);
        // Each upload adds three lines; the last comes once the file is in place.
        for (const std::string& command :
             {"tftp -m binary 127.0.0.1 " + p + " -c put " + source + " " + byTftp,
              "curl -sS -T " + source + " tftp://127.0.0.1:" + p + "/" + byCurl}) {
            const std::size_t before = lines.size();
            await(command.starts_with("tftp") ? byTftp : byCurl);
            EXPECT_EQ(shell(command), 0) << command;
            pump([&] { return lines.size() >= before + 3; });
        }
        for (const std::string& name : {byTftp, byCurl})
            EXPECT_TRUE(ReadFile(directory() + name) == ReadFile(source)) << name << "\n"
                                                                          << ::testing::PrintToString(lines);
    }
    EXPECT_EQ(filesInDirectory().size(), 10u) << "no temporary file is left behind";
}

TEST_F(TftpDaemonTest, StandInUploadIsStoredAndASecondOneRefused) {
    EXPECT_EQ(lines.at(0), "TFTP daemon thread created on port " + std::to_string(port));
    EXPECT_EQ(uploadFromStandIn("event050314_0930.log"), "completed successfully");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[1].starts_with("TFTP write request from 127.0.0.1:")) << lines[1];
    EXPECT_EQ(lines[2], "File: event050314_0930.log");
    EXPECT_EQ(lines[3], "File succesfully written.");
    EXPECT_EQ(ReadFile(directory() + "event050314_0930.log"), sim::GenerateEventLog(3000));
    EXPECT_FALSE(jobDone);

    std::ofstream(directory() + "event050314_0930.log", std::ios::app) << "mine";
    EXPECT_EQ(uploadFromStandIn("event050314_0930.log"),
              "tftp: unable to open remote file: File already exists.");
    EXPECT_EQ(lines.back(), "File already exists!");
    EXPECT_TRUE(jobDone);
    EXPECT_EQ(ReadFile(directory() + "event050314_0930.log"), sim::GenerateEventLog(3000) + "mine");
}

TEST_F(TftpDaemonTest, UnsafeNamesForeignSendersAndMissingDirectoriesAreRefused) {
    const std::string unsafe[] = {"../escape.log", "sub/x.log", "", std::string("bad\x01name")};
    for (const std::string& name : unsafe) {
        EXPECT_EQ(uploadFromStandIn(name), "tftp: unable to open remote file: Access violation.") << name;
        EXPECT_EQ(lines.back(), "Upload refused: the file name is not a plain name");
    }
    router = "127.0.0.2";
    EXPECT_NE(uploadFromStandIn("event.log").find("unable to open"), std::string::npos);
    EXPECT_EQ(lines.back(), "Upload refused: 127.0.0.1 is not the router");

    router = "127.0.0.1";
    saveTo = directory() + "missing";
    EXPECT_NE(uploadFromStandIn("event.log").find("unable to open"), std::string::npos);
    EXPECT_NE(lines.back().find("No such file or directory"), std::string::npos) << lines.back();
    EXPECT_TRUE(filesInDirectory().empty());

    saveTo.clear(); // still serving after the failed write
    EXPECT_EQ(uploadFromStandIn("event.log"), "completed successfully");
}

TEST_F(TftpDaemonTest, ReadRequestsAndBrokenUploadsLeaveNothing) {
    UdpPeer peer(port);
    whileServing([&] {
        peer.sendToServer(tftp::EncodeRequest(tftp::ReadRequest, "secret", "octet"));
        return 0;
    });
    pump([&] { return lines.size() >= 4; });
    EXPECT_EQ(servingLines(), (std::vector<std::string>{
                                  "TFTP read request from 127.0.0.1:" + std::to_string(peer.localPort()),
                                  "File: secret", "Ignoring unauthorised read request"}));
    EXPECT_FALSE(peer.receive(300)) << "a read request gets no answer";

    EXPECT_EQ(uploadFromStandIn("one-block.log", sim::TftpUploadMode::OneBlock, 2), "");
    EXPECT_EQ(uploadFromStandIn("none.log", sim::TftpUploadMode::Nothing, 0), "");
    // The next upload is served while the broken one still waits.
    EXPECT_EQ(uploadFromStandIn("after.log"), "completed successfully");
    // The broken upload's temporary file goes once its peer has been silent too long.
    pump([&] { return filesInDirectory().size() == 1; });
    EXPECT_EQ(filesInDirectory(), std::vector<std::string>{"after.log"});
}

TEST_F(TftpDaemonTest, BindFailureIsReportedOnceAndRetriedUntilThePortIsFree) {
    daemon.reset();
    lines.clear();
    {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int held = ::socket(AF_INET, SOCK_DGRAM, 0);
        ASSERT_EQ(::bind(held, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
        start();
        pump([&] { return lines.size() >= 2; });
        const auto until = std::chrono::steady_clock::now() + 400ms;
        pump([&] { return std::chrono::steady_clock::now() > until; });
        ::close(held);
    }
    ASSERT_EQ(lines.size(), 2u) << "one line for the failure, however many retries";
    EXPECT_NE(lines[1].find("Address already in use"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("cap_net_bind_service"), std::string::npos);
    EXPECT_EQ(uploadFromStandIn("late.log", sim::TftpUploadMode::Normal, 4), "completed successfully");
    EXPECT_EQ(lines.at(2), "TFTP daemon listening on port " + std::to_string(port));
    daemon->stop();
    EXPECT_FALSE(daemon->running());
}

TEST_F(TftpDaemonTest, OnlyTheAwaitedNameIsTakenWhileATransferWaits) {
    await("event050314_0930.log");
    const std::string refusedText = "tftp: unable to open remote file: Access violation.";
    const sim::TftpUploadOptions options{sim::GenerateEventLog(600), sim::TftpUploadMode::Normal, 200, 5};
    const auto upload = [&](const std::string& name) {
        return whileServing([&] { return sim::uploadEventLog("127.0.0.1", port, name, options); });
    };
    for (const char* name : {"kestrune.ini", ".hidden", "-rf", "$(reboot)"})
        EXPECT_EQ(upload(name), refusedText) << name;
    daemon->endJob();
    EXPECT_EQ(upload("event050314_0930.log"), refusedText) << "the wait is over";
    pump([&] { return lines.size() >= 16; });
    EXPECT_EQ(lines.back(), "Upload refused: no event-log transfer is waiting for an upload");
    EXPECT_TRUE(filesInDirectory().empty());
}

TEST_F(TftpDaemonTest, RefusalFloodIsAnsweredEachAndSummedUpPerSender) {
    daemon->setRefusalWindowMs(300);
    await("event.log");
    UdpPeer flood(port);
    constexpr int Requests = 50;
    for (int i = 0; i < Requests; ++i)
        flood.sendToServer(tftp::EncodeRequest(tftp::WriteRequest, "x" + std::to_string(i), "octet"));
    int refusals = 0;
    whileServing([&] {
        while (const auto answer = flood.receive(1000))
            refusals += tftp::ParseError(*answer).value_or(tftp::ErrorPacket{}).code == tftp::AccessViolation;
        return 0;
    });
    EXPECT_EQ(refusals, Requests);
    const std::string summary = "Refused 49 requests more from 127.0.0.1 in the last minute";
    pump([&] { return lines.back() == summary; });
    EXPECT_EQ(servingLines().size(), 4u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines.back(), summary);
}

TEST_F(TftpDaemonTest, ARepeatedBlockIsAcknowledgedAgainAndAStallBlocksNoOne) {
    timeoutMs = 5000; // the stalled upload is still waiting while the next one runs
    daemon.reset();
    start();
    await("event.log");
    UdpPeer stalled(port);
    const auto ackOf = [](const std::optional<std::string>& d) {
        return d ? tftp::ParseAck(*d).value_or(0xFFFF) : 0xFFFF;
    };
    std::vector<std::uint16_t> acks;
    whileServing([&] {
        stalled.sendToServer(tftp::EncodeRequest(tftp::WriteRequest, "event.log", "octet"));
        acks.push_back(ackOf(stalled.receive(1000)));
        for (int i = 0; i < 2; ++i) {
            stalled.reply(tftp::EncodeData(1, std::string(512, 'a')));
            acks.push_back(ackOf(stalled.receive(1000)));
        }
        return 0;
    });
    EXPECT_EQ(acks, (std::vector<std::uint16_t>{0, 1, 1}));
    EXPECT_EQ(uploadFromStandIn("event.log", sim::TftpUploadMode::Normal, 3), "completed successfully");
    EXPECT_EQ(ReadFile(directory() + "event.log"), sim::GenerateEventLog(3000));
}

TEST_F(TftpDaemonTest, AFailedWriteIsReportedToTheRouterAndLeavesNothing) {
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 1000; // the disk is full after 1000 bytes
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string said = uploadFromStandIn("event.log", sim::TftpUploadMode::Normal, 3);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(said, "tftp: unable to open remote file: Disk full or allocation exceeded.");
    EXPECT_NE(lines.back().find("Cannot write"), std::string::npos) << lines.back();
    EXPECT_TRUE(filesInDirectory().empty());
}
