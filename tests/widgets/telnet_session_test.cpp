// The router command-line jobs against the stand-in's command line, with a fake window.
#include "ui/UiSeam.h"
#include "sim/TelnetService.h"
#include "telnet/TelnetSession.h"

#include <QCoreApplication>
#include <QTimer>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using telnet::Mode;
using telnet::Pane;

namespace {

struct FakeHost : telnet::TelnetHost {
    QString address = "127.0.0.1", communityText = "quorbex", current = "quorbex", next;
    QStringList adsl, status;
    Mode mode = Mode::None;
    int enabled = telnet::AllJobButtons;
    int pauses = 0, resumes = 0, startupFailures = 0;

    QString routerAddress() const override { return address; }
    QString community() const override { return communityText; }
    void setCommunity(const QString& t) override { communityText = t; }
    QString currentPassword() const override { return current; }
    void setCurrentPassword(const QString& t) override { current = t; }
    QString newPassword() const override { return next; }
    void setNewPassword(const QString& t) override { next = t; }
    void clearPane(Pane p) override { (p == Pane::AdslModeLog ? adsl : status).clear(); }
    void appendLine(Pane p, const QString& line) override {
        (p == Pane::AdslModeLog ? adsl : status) << line;
    }
    Mode checkedMode() const override { return mode; }
    void checkMode(Mode m) override { mode = m; }
    void setButtonsEnabled(int buttons, bool on) override {
        enabled = on ? enabled | buttons : enabled & ~buttons;
    }
    void pausePeriodicTimers() override { ++pauses; }
    void resumePeriodicTimers() override { ++resumes; }
    void telnetOnStartupFailed() override { ++startupFailures; }
};

class TelnetSessionTest : public testing::Test {
protected:
    sim::Router router;
    sim::TelnetService service{router};
    FakeHost host;
    TelnetSession session{host};

    void SetUp() override {
        ASSERT_TRUE(service.start());
        session.IdTelnetClient.setPort(service.port());
        session.setTickIntervalMs(20);
        UiSeam::resetTestRecord();
    }
    static bool has(const QStringList& pane, const char* line) {
        return pane.contains(QString::fromLatin1(line));
    }
};

} // namespace

TEST_F(TelnetSessionTest, AdslModeJobSetsTheCheckedModeAndSavesOrDefaultsToAuto) {
    host.mode = Mode::GDmt;
    EXPECT_EQ(session.setAdslMode(), TelnetSession::Outcome::Finished);
    EXPECT_EQ(host.adsl, (QStringList{"Changing ADSL mode", "Resolving hostname 127.0.0.1.",
                                      "Connecting to 127.0.0.1.", "Connected.", "Logon succeeded",
                                      "Setting default mode to G.DMT", "Saving configuration ...",
                                      "Configuration saved", "Disconnecting.", "Disconnected."}));
    EXPECT_EQ(service.defaultMode(), "dmt");
    EXPECT_EQ(host.enabled, telnet::AllJobButtons);
    EXPECT_EQ(session.TelnetTicks, 0);
    EXPECT_FALSE(session.Telnet_Timer->isActive());

    host.mode = Mode::None;
    session.setAdslMode();
    EXPECT_EQ(host.mode, Mode::Auto);
    EXPECT_EQ(service.receivedLines().at(7), "itex mode auto");
    EXPECT_EQ(service.defaultMode(), "auto");
}

TEST_F(TelnetSessionTest, AdslModeJobWrongPasswordSilenceAndConnectionError) {
    host.communityText = "wrong";
    session.setAdslMode();
    EXPECT_TRUE(has(host.adsl, "Incorrect password ... logon failed!"));
    EXPECT_FALSE(has(host.adsl, "Telnet mode timeout ..."));
    EXPECT_EQ(UiSeam::beepCount(), 1);

    host.communityText = "quorbex";
    service.setSilent(true);
    session.setAdslMode();
    EXPECT_EQ(host.adsl.mid(host.adsl.size() - 3),
              (QStringList{"Telnet mode timeout ...", "Disconnecting.", "Disconnected."}));
    EXPECT_EQ(service.receivedLines().back(), "@close");
    EXPECT_EQ(host.enabled, telnet::AllJobButtons);

    session.IdTelnetClient.setPort(1); // nothing listens there
    host.mode = Mode::Ansi;
    EXPECT_EQ(session.setAdslMode(), TelnetSession::Outcome::Failed);
    EXPECT_EQ(host.adsl.last(), "Socket Error # 111\r\nConnection refused.");
    EXPECT_EQ(host.mode, Mode::None);
    EXPECT_TRUE(host.enabled & telnet::AdslModeButton);
}

TEST_F(TelnetSessionTest, SecondJobMeetsTheBusyTextWhileTheFirstIsConnectedOrStillConnecting) {
    service.setSilent(true);
    TelnetSession::Outcome second{};
    QTimer::singleShot(100, [&] { second = session.setPassword(); });
    session.setAdslMode();
    EXPECT_EQ(second, TelnetSession::Outcome::Busy);
    EXPECT_EQ(host.status, (QStringList{QString::fromLatin1(telnet::BusyText)}));
    EXPECT_TRUE(has(host.adsl, "Telnet mode timeout ..."));

    // A full accept queue keeps the first job connecting.
    const int full = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(full, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(full, 0);
    socklen_t len = sizeof a;
    ::getsockname(full, reinterpret_cast<sockaddr*>(&a), &len);
    std::vector<int> fillers;
    for (int i = 0; i < 3; ++i) {
        fillers.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        ::connect(fillers.back(), reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    session.IdTelnetClient.setPort(ntohs(a.sin_port));
    session.setConnectTimeoutMs(600);
    second = {};
    host.status.clear();
    QTimer::singleShot(150, [&] { second = session.setAdslMode(); });
    EXPECT_EQ(session.setPassword(), TelnetSession::Outcome::Failed);
    EXPECT_EQ(second, TelnetSession::Outcome::Busy);
    EXPECT_EQ(host.adsl, (QStringList{QString::fromLatin1(telnet::BusyText)}));
    EXPECT_EQ(host.status.last(), "Connect timed out.");
    for (int fd : fillers)
        ::close(fd);
    ::close(full);
}

TEST_F(TelnetSessionTest, PasswordEditsFollowOnlyAConfirmedChange) {
    host.next = "B";
    session.setPassword();
    EXPECT_EQ(host.status,
              (QStringList{"Changing password", "Resolving hostname 127.0.0.1.", "Connecting to 127.0.0.1.",
                           "Connected.", "Logon succeeded", "Password changed", "Saving configuration ...",
                           "Configuration saved", "Disconnecting.", "Disconnected."}));
    EXPECT_EQ(host.communityText, "B");
    EXPECT_EQ(host.current, "B");
    EXPECT_EQ(host.next, "");
    EXPECT_EQ(router.writeCommunity(), "B");
    EXPECT_EQ(host.pauses, 1);
    EXPECT_EQ(host.resumes, 1);

    // Logon failure: nothing follows, the typed password stays and the pane says so.
    host.current = "A";
    host.next = "C";
    session.setPassword();
    EXPECT_TRUE(has(host.status, "Incorrect password ... logon failed!"));
    EXPECT_TRUE(has(host.status, TelnetSession::notChangedText().toLatin1()));
    EXPECT_EQ(host.communityText, "B");
    EXPECT_EQ(host.current, "A");
    EXPECT_EQ(host.next, "C");
    EXPECT_EQ(router.writeCommunity(), "B");

    // A silent router: the forced disconnect, and still nothing follows.
    host.current = "B";
    service.setSilent(true);
    session.setPassword();
    EXPECT_TRUE(has(host.status, "Forced telnet disconnect ..."));
    EXPECT_TRUE(has(host.status, TelnetSession::notChangedText().toLatin1()));
    EXPECT_EQ(host.communityText, "B");
    EXPECT_EQ(host.next, "C");
    EXPECT_EQ(host.enabled, telnet::AllJobButtons);
}

TEST_F(TelnetSessionTest, PhrasesCutBetweenSegmentsStillConfirmThePasswordChange) {
    service.setSplitPhrases(true);
    session.setTickIntervalMs(100); // the halves come 20 ms apart
    host.next = "B";
    session.setPassword();
    EXPECT_EQ(host.status.count("Configuration saved"), 1) << host.status.join("|").toStdString();
    EXPECT_FALSE(has(host.status, TelnetSession::notChangedText().toLatin1()));
    EXPECT_EQ(router.writeCommunity(), "B");
    EXPECT_EQ(host.communityText, "B");
}

TEST_F(TelnetSessionTest, StartupJobReadsTheModeOrFailsAtTheSplashsEnd) {
    service.setDefaultMode("dmt");
    EXPECT_EQ(session.getAdslModeAtStartup(), TelnetSession::Outcome::Finished);
    EXPECT_EQ(host.mode, Mode::GDmt);
    EXPECT_EQ(host.adsl.first(), "Retrieving ADSL mode ...");
    EXPECT_TRUE(has(host.adsl, "Default mode set to G.DMT"));
    EXPECT_EQ(host.startupFailures, 0);
    EXPECT_TRUE(UiSeam::messages().empty());

    service.setSilent(true);
    EXPECT_EQ(session.getAdslModeAtStartup(), TelnetSession::Outcome::Failed);
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages()[0].text, TelnetSession::startupFailureText());
    EXPECT_EQ(host.startupFailures, 1);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(service.receivedLines().back(), "@close");
    EXPECT_FALSE(session.IdTelnetClient.connected());
}

TEST_F(TelnetSessionTest, EventLogSessionReportsTheUploadOrTheMissingFile) {
    std::string asked;
    service.setEventLogPut([&](const std::string& address, const std::string& file) {
        asked = address + " " + file;
        return std::string("File transfer completed successfully");
    });
    EXPECT_EQ(session.eventLog("127.0.0.2", "ev.txt"), TelnetSession::Outcome::Finished);
    EXPECT_EQ(asked, "127.0.0.2 ev.txt");
    EXPECT_TRUE(has(host.status, "File transfer started ..."));
    EXPECT_TRUE(has(host.status, "File transfer completed"));

    service.setEventLogPut(nullptr);
    session.eventLog("127.0.0.2", "ev.txt");
    EXPECT_TRUE(has(host.status, "File not found ... transfer aborted!"));
    session.eventLog("127.0.0.2", "two words");
    EXPECT_TRUE(has(host.status, "Usage error ... transfer aborted!"));
}
