// The connection log's lines and the link check / reconnect rules.
#include "monitor/core/ConnectionMonitor.h"

#include <gtest/gtest.h>

using namespace connmon;

namespace {

// Runs the checks (value text; "fail" for a failed read) and the reconnect ticks ("tick") in order,
// the way the window's handlers apply the actions, and returns what the log and the timer saw.
struct Played {
    bool linkUp = true;
    bool timerOn = false;
    bool logChanged = false;
    std::vector<std::string> log;
    int statusErrors = 0;
};

Played play(std::initializer_list<const char*> events, bool autoReconnect) {
    Played r;
    for (const std::string e : events) {
        if (e == "tick") {
            if (!r.timerOn) continue;
            r.timerOn = false;
            if (reconnectAttempt(r.linkUp).attempt) {
                r.log.push_back("attempt");
                r.timerOn = true;
            }
            continue;
        }
        const CheckActions a = linkCheck(r.linkUp, e != "fail", QString::fromStdString(e), autoReconnect);
        r.statusErrors += a.statusError;
        if (a.line == LogLine::Disconnected)
            r.log.push_back("down(" + a.elapsedReference.toStdString() + ")");
        if (a.line == LogLine::Reconnected) r.log.push_back("up(" + a.elapsedReference.toStdString() + ")");
        r.linkUp = a.linkUp;
        r.logChanged |= a.logChanged;
        if (a.reconnectTimer != TimerChange::Keep) r.timerOn = a.reconnectTimer == TimerChange::Start;
    }
    return r;
}

using Log = std::vector<std::string>;

} // namespace

TEST(ConnectionMonitor, LinkChecksAndReconnectAttempts) {
    // Down at start: logged at once; up at start: nothing.
    EXPECT_EQ(play({"2"}, false).log, Log{"down(2)"});
    EXPECT_TRUE(play({"2"}, false).logChanged);
    EXPECT_EQ(play({"1", "1"}, true).log, Log{});
    // Testing between down and up: no line for it.
    EXPECT_EQ(play({"1", "2", "3", "2", "3", "1"}, false).log, (Log{"down(2)", "up(1)"}));
    // Auto-reconnect off: no attempts, the reconnection still logged.
    EXPECT_EQ(play({"2", "tick", "tick", "1"}, false).log, (Log{"down(2)", "up(1)"}));
    // On: an attempt per tick until a check sees the link up; the timer is then off.
    const Played retrying = play({"2", "tick", "2", "tick", "1", "tick"}, true);
    EXPECT_EQ(retrying.log, (Log{"down(2)", "attempt", "attempt", "up(1)"}));
    EXPECT_FALSE(retrying.timerOn);
    // A failed read changes nothing and reports on the status line.
    const Played failing = play({"fail", "2", "fail", "fail"}, true);
    EXPECT_EQ(failing.statusErrors, 3);
    EXPECT_EQ(failing.log, Log{"down(2)"});
    EXPECT_TRUE(failing.timerOn);
    // A tick that finds the link up (a check ran during the probe) only stops the timer.
    EXPECT_FALSE(reconnectAttempt(true).attempt);
}

TEST(ConnectionMonitor, LineFormsAndTheObjectRead) {
    EXPECT_EQ(operStatusOid("3"), "1.3.6.1.2.1.2.2.1.8.3");
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QDateTime evening(QDate(2026, 3, 17), QTime(21, 5, 9));
    const QDateTime midnight(QDate(2026, 3, 17), QTime(0, 0, 0));
    EXPECT_EQ(disconnectedLine(evening, "03:01:40:34", en),
              "Disconnected: 3/17/26 9:05:09 PM  (03:01:40:34)");
    EXPECT_EQ(reconnectedLine(midnight, "", en), "Reconnected: 3/17/26  ()"); // failed uptime read
    EXPECT_EQ(attemptLine(evening, QLocale(QLocale::German, QLocale::Germany)),
              "Reconnect attempted: 17.03.26 21:05:09");
    EXPECT_EQ(attemptLine(midnight.addSecs(1), en), "Reconnect attempted: 3/17/26 12:00:01 AM");
}
