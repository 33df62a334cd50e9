// The connection log of the real window against the router stand-in: link changes, the read errors,
// and the reconnect attempts through the stand-in's web side.
#include "support/DroppingAgent.h"
#include "support/HttpTestServer.h"
#include "support/MainFormHarness.h"

#include "monitor/ConnectionMonitor.h"

#include "ui/UiSeam.h"
#include "net/HttpClient.h"
#include "net/SnmpClient.h"
#include "net/WebServers.h"
#include "net/core/MibObjects.h"
#include "net/core/SnmpBer.h"
#include "sim/HttpService.h"
#include "ui/UiSeam.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

// Monitoring on from the settings file; auto-reconnect as asked.
MainFormHarness::Options monitoring(bool autoReconnect) {
    MainFormHarness::Options o;
    o.settings = {{"Options", "Link logging", "1"},
                  {"Options", "Autoreconnect", autoReconnect ? "Yes" : "No"}};
    return o;
}

class ConnectionMonitor : public ::testing::Test {
protected:
    explicit ConnectionMonitor(bool autoReconnect = false) : h(monitoring(autoReconnect)) {}
    ~ConnectionMonitor() override { webconfig::setProbeServer(m_oldProbe); }

    QStringList lines() {
        return h.form().adsl().widgets().LinkLog_Memo->toPlainText().split('\n', Qt::SkipEmptyParts);
    }
    void check() { h.form().Connect_TimerTimer(h.form().ui.timers.Connect_Timer); }
    void attempt() { h.form().AutoReconnect_TimerTimer(h.form().ui.timers.AutoReconnect_Timer); }
    QTimer* reconnectTimer() { return h.form().ui.timers.AutoReconnect_Timer; }

    webconfig::Server m_oldProbe = webconfig::probeServer();
    MainFormHarness h;
};

class AutoReconnect : public ConnectionMonitor {
protected:
    AutoReconnect() : ConnectionMonitor(true) {}
};

const QRegularExpression kUptimeTail(QStringLiteral("  \\(\\d+:\\d\\d:\\d\\d:\\d\\d\\)$"));

} // namespace

TEST_F(ConnectionMonitor, LogsDownAndUpOnlyWithTestingBetweenAndNoAttemptsWhenAutoReconnectIsOff) {
    ASSERT_EQ(h.form().session().interfaces().PppIfIndex, QString::number(sim::PppIf));
    check(); // up at start: nothing
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_FALSE(h.form().connectionMonitor().link().LinkLogChanged);

    h.router().setPppLink(false); // down: logged at the first check
    check();
    check();
    ASSERT_EQ(lines().size(), 1);
    EXPECT_TRUE(lines()[0].startsWith("Disconnected: ")) << lines()[0].toStdString();
    EXPECT_TRUE(kUptimeTail.match(lines()[0]).hasMatch()) << lines()[0].toStdString();
    EXPECT_FALSE(h.form().connectionMonitor().link().LinkUp);
    EXPECT_TRUE(h.form().connectionMonitor().link().LinkLogChanged);
    EXPECT_FALSE(reconnectTimer()->isActive());

    h.router().setOperStatus(sim::PppIf, 3); // testing: no line
    check();
    EXPECT_EQ(lines().size(), 1);

    h.router().setPppLink(true);
    check();
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Reconnected: ")) << lines()[1].toStdString();
    EXPECT_TRUE(kUptimeTail.match(lines()[1]).hasMatch());
    EXPECT_TRUE(h.form().connectionMonitor().link().LinkUp);
    EXPECT_EQ(h.form().statusText(), " Ready"); // a successful check leaves the status line alone
}

TEST_F(ConnectionMonitor, FailingReadsShowTheErrorOrLeaveTheUptimeEmpty) {
    h.router().setPppLink(false);
    h.router().setSilent(true);
    check();
    EXPECT_EQ(h.form().statusText(), " Error: Check IP address and/or SNMP community name");
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_TRUE(h.form().connectionMonitor().link().LinkUp);

    h.router().setSilent(false);
    DroppingAgent drop(h.router()); // answers the link's status, not the uptime
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    drop.dropName(mib::sysUpTime, ber::GetRequest);
    check();
    ASSERT_EQ(lines().size(), 1);
    EXPECT_TRUE(lines()[0].startsWith("Disconnected: "));
    EXPECT_TRUE(lines()[0].endsWith("  ()")) << lines()[0].toStdString();
}

TEST_F(AutoReconnect, AttemptsEvery30SecondsUntilTheDialBringsTheLinkUp) {
    sim::HttpService internet(h.router());
    internet.setDialDelayMs(0);
    ASSERT_TRUE(internet.start());
    webconfig::setProbeServer({"127.0.0.1", internet.port()});

    h.router().setPppLink(false);
    check();
    ASSERT_TRUE(reconnectTimer()->isActive());
    EXPECT_EQ(reconnectTimer()->interval(), 30000);

    h.form().connectionMonitor().link().LinkLogChanged = false;
    attempt();
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Reconnect attempted: "));
    EXPECT_FALSE(lines()[1].contains('('));
    EXPECT_FALSE(h.form().connectionMonitor().link().LinkLogChanged); // an attempt alone is nothing to save
    EXPECT_EQ(internet.requestCount(), 1u);
    EXPECT_TRUE(reconnectTimer()->isActive());

    QElapsedTimer waited;
    waited.start();
    while (h.router().operStatus(sim::PppIf) != 1 && waited.elapsed() < 5000)
        QTest::qWait(20);
    check();
    ASSERT_EQ(lines().size(), 3);
    EXPECT_TRUE(lines()[2].startsWith("Reconnected: "));
    EXPECT_FALSE(reconnectTimer()->isActive());
    attempt(); // a tick left over finds the link up: nothing
    EXPECT_EQ(lines().size(), 3);
    EXPECT_EQ(internet.requestCount(), 1u);
}

TEST_F(AutoReconnect, SwitchingMonitoringOffDuringTheProbeEndsTheAttempts) {
    // A web server that never answers; the probe gives up after a short bound.
    ScriptedHttpServer silent([](const std::string&) { return ScriptedHttpServer::Answer{{}, true, 0}; });
    webconfig::setProbeServer({"127.0.0.1", silent.port()});
    h.form().httpSettings().requestTimeoutMs = 600;

    h.router().setPppLink(false);
    check();
    ASSERT_TRUE(reconnectTimer()->isActive());
    QAction* monitor = h.form().ui.menu.Recordlog;
    QTimer::singleShot(50, monitor, [monitor] { monitor->trigger(); }); // the user, while the probe waits
    attempt();

    EXPECT_FALSE(monitor->isChecked());
    EXPECT_FALSE(reconnectTimer()->isActive());
    EXPECT_FALSE(h.form().ui.timers.Connect_Timer->isActive());
    EXPECT_FALSE(h.form().ui.menu.Autoreconnect->isChecked());
    EXPECT_FALSE(h.form().ui.menu.Autoreconnect->isEnabled());
    EXPECT_FALSE(h.form().connectionMonitor().link().LinkUp);
}
