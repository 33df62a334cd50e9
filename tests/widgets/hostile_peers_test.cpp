// The program against a router stand-in that misbehaves on purpose, one table per service: every
// case ends within the time-outs with a clear error (or a sound result), no busy cursor left, and
// the program still works once the stand-in behaves again.
#include "support/MainFormHarness.h"
#include "support/PageTestHelpers.h"
#include "support/UdpPeer.h"

#include "ui/UiSeam.h"
#include "eventlog/TftpDaemon.h"
#include "net/HttpClient.h"
#include "net/TftpServer.h"
#include "net/WebServers.h"
#include "sim/HttpService.h"
#include "sim/TelnetService.h"
#include "sim/TftpUploader.h"
#include "telnet/TelnetSession.h"
#include "update/VersionFetch.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;
using namespace std::chrono_literals;

namespace {

const QString kReady = " Ready";
const QString kReadError = " Error: Check IP address and/or SNMP community name";
const QString kNotANumber = " Error: The router's interface count (ifNumber) is not a number";

// Runs work on a thread of its own while the GUI thread keeps processing events; gives up after 60 s.
template <class F> auto whileProcessingEvents(F work) {
    auto result = std::async(std::launch::async, work);
    const auto until = std::chrono::steady_clock::now() + 60s;
    while (result.wait_for(2ms) != std::future_status::ready && std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents();
    return result.get();
}

struct SnmpCase {
    const char* name;
    QString systemStatus; // the System page's status after its refresh
};

} // namespace

TEST(HostilePeers, SnmpPagesEndWithTheReadErrorOrSoundValues) {
    const SnmpCase cases[] = {
        {"truncated", kReadError}, {"wronglength", kReadError},
        {"wrongid", kReadError},   {"wrongpdu", kReadError},
        {"highbit", kNotANumber},  {"huge", kNotANumber},
        {"repeat", kReady},        {"garbage", kReadError},
        {"stall", kReady}, // the refresh's two requests are answered; the pages after it are not
    };
    for (const SnmpCase& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormHarness h;
        TMainForm& f = h.form();
        h.router().setHostile(sim::Service::Snmp, c.name);
        UiSeam::resetTestRecord();
        f.GenSysInfoClick();
        EXPECT_EQ(f.statusText(), c.systemStatus);
        EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
        for (const char* page : {"IP", "Interfaces", "TCP"}) {
            pagetest::showPage(f, page);
            EXPECT_EQ(UiSeam::busyCursorDepth(), 0) << page;
            EXPECT_NE(f.statusText(), " Busy ... please wait") << page;
        }
        h.router().setHostile(sim::Service::Snmp, "");
        pagetest::showPage(f, "GenSysInfo");
        f.GenSysInfoClick();
        EXPECT_EQ(f.statusText(), kReady);
    }
}

namespace {

// The window as the telnet jobs see it.
struct JobHost : telnet::TelnetHost {
    QStringList adsl, status;
    telnet::Mode mode = telnet::Mode::GDmt;
    int enabled = telnet::AllJobButtons;
    QString routerAddress() const override { return QStringLiteral("127.0.0.1"); }
    QString community() const override { return QStringLiteral("quorbex"); }
    void setCommunity(const QString&) override {}
    QString currentPassword() const override { return QStringLiteral("quorbex"); }
    void setCurrentPassword(const QString&) override {}
    QString newPassword() const override { return {}; }
    void setNewPassword(const QString&) override {}
    void clearPane(telnet::Pane p) override { pane(p).clear(); }
    void appendLine(telnet::Pane p, const QString& line) override { pane(p) << line; }
    telnet::Mode checkedMode() const override { return mode; }
    void checkMode(telnet::Mode m) override { mode = m; }
    void setButtonsEnabled(int buttons, bool on) override {
        enabled = on ? enabled | buttons : enabled & ~buttons;
    }
    void pausePeriodicTimers() override {}
    void resumePeriodicTimers() override {}
    void telnetOnStartupFailed() override {}
    QStringList& pane(telnet::Pane p) { return p == telnet::Pane::AdslModeLog ? adsl : status; }
};

struct TelnetCase {
    const char* name;
    TelnetSession::Outcome outcome;
    const char* line;             // a line the ADSL mode pane shows
    bool writeMayFail = false;    // the line may be gone before the job's commands are written
    const char* orLine = nullptr; // or this one, where the machine's speed decides
};

} // namespace

TEST(HostilePeers, TelnetJobsFailWithinTheirLimitsAndFreeTheButtons) {
    using enum TelnetSession::Outcome;
    const TelnetCase cases[] = {
        {"stall", Finished, "Telnet mode timeout ..."},
        {"close", Finished, "Disconnected.", true},
        {"endless", Finished, "Telnet mode timeout ..."},
        {"huge", Finished, "Telnet mode timeout ...", false, "Configuration saved"},
        {"highbit", Finished, "Configuration saved"}, // taken as 7-bit text
        {"badiac", Finished, "Configuration saved"},  // the negotiation is cut at the next command
    };
    for (const TelnetCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Router router;
        sim::TelnetService service(router);
        ASSERT_TRUE(service.start());
        router.setHostile(sim::Service::Telnet, c.name);
        JobHost host;
        TelnetSession session(host);
        session.IdTelnetClient.setPort(service.port());
        session.setTickIntervalMs(20);
        session.setConnectTimeoutMs(1000);
        UiSeam::resetTestRecord();
        const TelnetSession::Outcome outcome = session.setAdslMode();
        if (!(c.writeMayFail && outcome == Failed)) {
            EXPECT_EQ(outcome, c.outcome);
        }
        EXPECT_TRUE(host.adsl.contains(QString::fromLatin1(c.line)) ||
                    (c.orLine && host.adsl.contains(QString::fromLatin1(c.orLine))))
            << host.adsl.join('|').toStdString();
        EXPECT_EQ(host.adsl.last(), "Disconnected.");
        EXPECT_EQ(host.enabled, telnet::AllJobButtons);
        EXPECT_FALSE(session.busy());
        EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
        router.setHostile(sim::Service::Telnet, "");
        EXPECT_EQ(session.setAdslMode(), Finished);
    }
}

namespace {

struct HttpCase {
    const char* name;
    bool ok;
    const char* error; // the start of the client's error text
};

} // namespace

TEST(HostilePeers, TheVersionFileFetchEndsWithinItsTimeOutWithAClearError) {
    const HttpCase cases[] = {
        {"truncated", false, "Connection closed before the reply was complete."},
        {"badstatus", false, "The server's reply is not valid HTTP."},
        {"badlength", false, "The server's reply is not valid HTTP."},
        {"endless", false, "The server's reply is larger than 16 MiB."},
        {"huge", false, "The server's reply is not valid HTTP."},
        {"stall", false, "Read timed out."},
        {"highbit", true, ""}, // the bytes are the file's; reading the version is the update check's
        {"redirectloop", false, "HTTP/1.1 302 Found"}, // the fetch follows no redirect
        {"silent", false, "Read timed out."},
    };
    sim::Router router;
    sim::HttpService http(router);
    ASSERT_TRUE(http.start());
    const webconfig::Server before = webconfig::updateServer();
    webconfig::setUpdateServer({"127.0.0.1", http.port()});
    HttpSettings bounded;
    bounded.requestTimeoutMs = 1500;
    for (const HttpCase& c : cases) {
        SCOPED_TRACE(c.name);
        router.setHostile(sim::Service::Http, c.name);
        int idles = 0;
        const VersionFetchResult r = FetchVersionFile(bounded, [&] { ++idles; });
        EXPECT_EQ(r.ok, c.ok) << r.error;
        EXPECT_EQ(r.error, c.error);
    }
    router.setHostile(sim::Service::Http, "");
    EXPECT_TRUE(FetchVersionFile(bounded).ok);
    webconfig::setUpdateServer(before);
}

namespace {

struct TftpCase {
    const char* name;
    const char* routerSays; // the stand-in's closing text ("": it stopped sending)
    bool fileKept;          // the upload left a file (under its own name)
};

} // namespace

TEST(HostilePeers, TheEventLogReceiverKeepsOnlyWholeFilesAndKeepsServing) {
    const TftpCase cases[] = {
        {"truncated", sim::UploadTimedOutText, false},
        {"badopcode", sim::UploadTimedOutText, false},
        {"wrongblock", "tftp: unable to open remote file: Unexcepted serial#", false},
        {"oversize", "tftp: unable to open remote file: Unexcepted serial#", false},
        {"stall", "", false},
        {"highbit", sim::UploadDoneText, true},
        {"endless", "", false},
    };
    QTemporaryDir dir;
    const std::uint16_t port = UdpPeer::freePort();
    QObject receiver;
    std::vector<std::string> lines;
    TTFTPDaemonThread daemon("127.0.0.1", TftpSettings{port, 300},
                             TTFTPDaemonThread::guiLogger(&receiver, [&](const QString& line) {
                                 lines.push_back(line.toStdString());
                             }));
    const std::string directory = dir.path().toStdString() + "/";
    const sim::TftpUploadOptions options{sim::GenerateEventLog(3000), sim::TftpUploadMode::Normal, 200, 5};
    int n = 0;
    std::size_t kept = 0;
    for (const TftpCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "hostile" + std::to_string(++n) + ".log";
        // The name the router is awaited under (the high-bit case sends one of its own).
        daemon.setJob(directory, "127.0.0.1",
                      c.name == std::string("highbit") ? "\xe9v\xe9nement\xff\xfe.log" : name);
        const std::string said = whileProcessingEvents(
            [&] { return sim::uploadEventLog("127.0.0.1", port, name, options, c.name); });
        EXPECT_EQ(said, c.routerSays);
        kept += c.fileKept;
        EXPECT_FALSE(std::filesystem::exists(dir.path().toStdString() + "/" + name));
        const std::string good = "good" + std::to_string(n) + ".log";
        daemon.setJob(directory, "127.0.0.1", good);
        EXPECT_EQ(
            whileProcessingEvents([&] { return sim::uploadEventLog("127.0.0.1", port, good, options); }),
            sim::UploadDoneText);
    }
    // The daemon puts the last file in place after its final acknowledgement.
    const auto written = [&] { return std::count(lines.begin(), lines.end(), "File succesfully written."); };
    const auto until = std::chrono::steady_clock::now() + 10s;
    // Broken uploads run beside the good ones and leave only once their peer has been silent too long.
    const auto temporaries = [&] {
        return std::count_if(std::filesystem::directory_iterator(dir.path().toStdString()), {},
                             [](const auto& e) { return e.path().filename().string().starts_with('.'); });
    };
    while ((written() < static_cast<long>(std::size(cases) + kept) || temporaries() > 0) &&
           std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Every file left is whole: the good uploads and the one under a name of high-bit bytes.
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path().toStdString())) {
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), options.content) << entry.path();
    }
    EXPECT_EQ(files, std::size(cases) + kept);
    EXPECT_TRUE(daemon.running());
    daemon.stop();
}
