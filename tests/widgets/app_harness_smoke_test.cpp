// The harness itself: the form starts against the stand-in and the working directory is private.
#include "support/MainFormHarness.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

TEST(AppHarness, StartsTheWindowAgainstTheStandInAndRestoresTheDirectory) {
    const QString before = QDir::currentPath();
    {
        MainFormHarness h;
        EXPECT_EQ(QDir::currentPath(), QDir(h.dir()).canonicalPath());
        EXPECT_EQ(h.find<QLineEdit>("IpAddress_Edit")->text(), "127.0.0.1");
        EXPECT_EQ(h.form().statusText(), " Ready");
        EXPECT_EQ(h.form().session().interfaces().IfNumber, 5);
        EXPECT_NE(h.find<QLabel>("firmware_ver_label")->text(), "-----");
    }
    EXPECT_EQ(QDir::currentPath(), before);
}
