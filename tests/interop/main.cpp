// Interop tests run against third-party peers (net-snmp's snmpd and tools) started by the tests on
// loopback; widget-level ones run the real main window under the offscreen platform, so this makes
// the QApplication and puts the UI seam in test mode (nothing modal is ever shown).
#include "ui/UiSeam.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UiSeam::enableTestMode();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
