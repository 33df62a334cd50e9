// The exchange gate: while an SNMP exchange waits, the window paints, and a timer tick that comes
// meanwhile runs after the exchange, never inside it.
#include "net/SnmpClient.h"
#include "support/UdpPeer.h"
#include "ui/ExchangeGate.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::white);
    }
};

} // namespace

TEST(ExchangeGate, ATickDuringAWaitRunsAfterTheExchangeAndTheWindowPaintsMeanwhile) {
    UdpPeer silentRouter(0); // holds a port and never answers
    SnmpSettings snmp;
    snmp.timeoutMs = 400;
    snmp.port = silentRouter.localPort();

    CountingWidget window;
    window.resize(100, 100);
    window.show();
    QApplication::processEvents();

    std::vector<std::string> order;
    bool tickInsideWait = false;
    QTimer tick;
    tick.setSingleShot(true);
    tick.setInterval(50);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        tickInsideWait = exchangegate::waiting();
        order.push_back("tick");
    });
    tick.start();
    const int paintsBefore = window.paints;
    window.update();

    std::string value;
    EXPECT_FALSE(
        SnmpGetValue("1.3.6.1.2.1.1.3.0", "public", "127.0.0.1", value, exchangegate::idleHook(), snmp));
    order.push_back("exchange ended");
    EXPECT_GT(window.paints, paintsBefore) << "the window was not painted during the wait";
    EXPECT_EQ(exchangegate::heldTicks(), 1);

    QApplication::processEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"exchange ended", "tick"}));
    EXPECT_FALSE(tickInsideWait);
}
