// The telnet client against the stand-in's command line, bare loopback sockets and busybox telnetd.
#include "net/TelnetClient.h"
#include "sim/TelnetService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "kestrune_net_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return instance ? *instance : *QCoreApplication::instance();
}

bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    return done();
}

// A listening loopback socket; port() is where it listens.
struct Listener {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    explicit Listener(int backlog = 4) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, backlog);
    }
    ~Listener() { ::close(fd); }
    std::uint16_t port() const {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        return ntohs(a.sin_port);
    }
};

// Records every notification with the thread it ran on.
struct Recorder {
    TIdTelnet client;
    std::vector<std::string> statuses, chunks;
    int disconnects = 0;
    bool offThread = false;
    explicit Recorder(std::uint16_t port) {
        app();
        client.setHost("127.0.0.1");
        client.setPort(port);
        auto check = [this] { offThread |= QThread::currentThread() != app().thread(); };
        client.onStatus = [this, check](TelnetStatus, const std::string& t) {
            check(), statuses.push_back(t);
        };
        client.onDataAvailable = [this, check](const std::string& t) { check(), chunks.push_back(t); };
        client.onDisconnected = [this, check] { check(), ++disconnects; };
    }
    std::string all() const {
        std::string s;
        for (auto& c : chunks)
            s += c;
        return s;
    }
};

} // namespace

TEST(TelnetClient, RefusedAndTimedOutConnectsFailWithTheirTexts) {
    std::uint16_t closedPort;
    {
        Listener gone;
        closedPort = gone.port();
    }
    Recorder r(closedPort);
    try {
        r.client.connect(1000);
        FAIL() << "connected";
    } catch (const TelnetError& e) {
        EXPECT_STREQ(e.what(), "Socket Error # 111\r\nConnection refused.");
    }
    EXPECT_EQ(r.statuses,
              (std::vector<std::string>{"Resolving hostname 127.0.0.1.", "Connecting to 127.0.0.1."}));
    EXPECT_EQ(r.disconnects, 0);

    // A full accept queue drops further connection requests: the connect hangs until its time-out.
    Listener full(0);
    std::vector<int> fillers;
    for (int i = 0; i < 3; ++i) {
        fillers.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(full.port());
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fillers.back(), reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    QThread::msleep(50);
    Recorder slow(full.port());
    int slices = 0;
    slow.client.setIdleHook([&] { ++slices; });
    try {
        slow.client.connect(400);
        FAIL() << "connected";
    } catch (const TelnetError& e) {
        EXPECT_STREQ(e.what(), "Connect timed out.");
    }
    EXPECT_GE(slices, 3); // 400 ms in slices of at most 125 ms: the window ran in between
    EXPECT_FALSE(slow.client.connected());
    for (int fd : fillers)
        ::close(fd);
}

TEST(TelnetClient, SessionWithTheStandInDeliversChunksOnTheGuiThreadUntilThePeerCloses) {
    sim::Router router;
    sim::TelnetService service(router);
    ASSERT_TRUE(service.start());
    Recorder r(service.port());
    r.client.connect(2000);
    try {
        r.client.connect(2000);
    } catch (const TelnetError& e) {
        EXPECT_STREQ(e.what(), "Already connected.");
    }
    r.client.write("quorbex\r");
    r.client.write("home\r");
    r.client.write("config save\r");
    ASSERT_TRUE(pumpUntil([&] { return r.all().find("Configuration saved.") != std::string::npos; }));
    EXPECT_GT(r.chunks.size(), 2u); // the router's output came in pieces
    EXPECT_NE(r.all().find(std::string("\x7f\x7b\x01")), std::string::npos) << "negotiation passes as data";
    Recorder second(service.port()); // the router serves one session at a time
    second.client.connect(2000);
    EXPECT_TRUE(pumpUntil([&] { return second.disconnects == 1; }));
    EXPECT_NE(second.all().find("Only one session"), std::string::npos);
    r.client.write("@close\r");
    ASSERT_TRUE(pumpUntil([&] { return r.disconnects == 1; }));
    EXPECT_FALSE(r.client.connected());
    EXPECT_EQ(r.statuses.back(), "Disconnected.");
    EXPECT_EQ(std::count(r.statuses.begin(), r.statuses.end(), "Disconnected."), 1);
    EXPECT_EQ(r.client.readerError(), "Connection Closed Gracefully.");
    EXPECT_FALSE(r.offThread);
    EXPECT_EQ(service.receivedLines(),
              (std::vector<std::string>{"quorbex", "home", "config save", "@close"}));
}

TEST(TelnetClient, ReadTimeoutEndsTheReaderButTheLineStaysUntilDisconnect) {
    sim::Router router;
    sim::TelnetService service(router);
    service.setSilent(true);
    ASSERT_TRUE(service.start());
    Recorder r(service.port());
    r.client.setReadTimeoutMs(150);
    r.client.connect(2000);
    ASSERT_TRUE(pumpUntil([&] { return r.client.readerError() == "Read Timeout"; }));
    EXPECT_TRUE(r.client.connected());
    r.statuses.clear();
    r.client.disconnect();
    EXPECT_EQ(r.statuses, (std::vector<std::string>{"Disconnecting.", "Disconnected."}));
    EXPECT_EQ(r.disconnects, 1);
    EXPECT_FALSE(r.client.connected());
}

TEST(TelnetClient, WritesBytesUnchangedAndDestroyingMidDeliveryJoinsTheReader) {
    Listener peer;
    auto r = std::make_unique<Recorder>(peer.port());
    r->client.connect(2000);
    const int conn = ::accept(peer.fd, nullptr, nullptr);
    r->client.write("home\r");
    char got[16] = {};
    ASSERT_EQ(::recv(conn, got, sizeof got, 0), 5);
    EXPECT_EQ(std::string(got, 5), std::string("home\r"));
    // The reader hands a chunk over and waits for the GUI thread, which is busy destroying the client.
    ::send(conn, "logged on\r\n", 11, 0);
    QThread::msleep(50);
    r.reset();
    QCoreApplication::processEvents(); // the queued hand-over finds nobody and does nothing
    ::close(conn);
}

TEST(TelnetClient, BusyboxTelnetdNegotiationPassesFilteredAndOutputArrivesInChunks) {
    if (std::system("busybox telnetd --help >/dev/null 2>&1") != 0) GTEST_SKIP() << "busybox telnetd absent";
    char dir[] = "/tmp/kestrune-telnetd.XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string script = std::string(dir) + "/login.sh";
    std::ofstream(script) << "#!/bin/sh\necho first part\nsleep 0.3\necho second part\nsleep 5\n";
    ::chmod(script.c_str(), 0755);
    std::uint16_t port;
    {
        Listener probe;
        port = probe.port();
    }
    const std::string portText = std::to_string(port), bind = "127.0.0.1";
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::execlp("busybox", "busybox", "telnetd", "-F", "-p", portText.c_str(), "-b", bind.c_str(), "-l",
                 script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    Recorder r(port);
    bool up = false;
    for (int i = 0; i < 50 && !up; ++i) {
        try {
            r.client.connect(1000);
            up = true;
        } catch (const TelnetError&) {
            QThread::msleep(50);
        }
    }
    if (up) {
        EXPECT_TRUE(pumpUntil([&] { return r.all().find("second part") != std::string::npos; }));
        EXPECT_GE(r.chunks.size(), 2u);
        const std::string all = r.all();
        EXPECT_LT(all.find("first part"), all.find("second part"));
        // telnetd opens with IAC DO/WILL commands: bytes 255 253/251 arrive as 127 125/123.
        EXPECT_EQ(static_cast<unsigned char>(all.at(0)), 127);
        for (unsigned char c : all)
            EXPECT_LT(c, 128);
        r.client.disconnect();
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    std::system((std::string("rm -rf ") + dir).c_str());
    ASSERT_TRUE(up) << "busybox telnetd did not accept";
}
