// The splash countdown, the directory chooser's choice and fallback, and the about window's version.
#include "windows/About_Unit.h"
#include "windows/Dir_Unit.h"
#include "windows/Splash_Unit.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

TEST(SmallWindows, SplashCountsDownOncePerSecondAndStopsAtZero) {
    TSplashForm splash;
    EXPECT_EQ(splash.windowTitle(), "Kestrune Splash Screen");
    // The design's size, or wider where this machine's font would clip the captions.
    EXPECT_EQ(splash.size(), splash.sizeHint().expandedTo(QSize(227, 83)));
    EXPECT_GE(splash.width(), 227);
    EXPECT_TRUE(splash.splashTimer()->isActive());
    EXPECT_EQ(splash.splashTimer()->interval(), 1000);
    std::vector<int> seen{splash.seconds()};
    for (int i = 0; i < 3; ++i) {
        splash.Splash_TimerTimer();
        seen.push_back(splash.findChild<QLabel*>("Seconds_Label")->text().toInt());
    }
    EXPECT_EQ(seen, (std::vector<int>{15, 14, 13, 12}));
    for (int i = 0; i < 20; ++i)
        splash.Splash_TimerTimer();
    EXPECT_EQ(splash.seconds(), 0);
}

TEST(SmallWindows, DirectoryChooserFallsBackToHomeAndWritesTheChoice) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    QLineEdit target(QStringLiteral("/no/such/directory"));
    {
        TDirForm chooser(target);
        chooser.show();
        EXPECT_EQ(chooser.findChild<QLineEdit*>("Dir_Edit")->text(), home.path());
        chooser.findChild<QLineEdit*>("Dir_Edit")->setText(QStringLiteral("/typed/is/ignored"));
        QTest::mouseClick(chooser.findChild<QPushButton*>("Choose_But"), Qt::LeftButton);
        EXPECT_EQ(target.text(), home.path());
        EXPECT_EQ(chooser.result(), QDialog::Accepted);
    }
    QDir(home.path()).mkdir(QStringLiteral("sub"));
    target.setText(home.path() + "/sub");
    {
        TDirForm chooser(target);
        chooser.show();
        EXPECT_EQ(chooser.directory(), home.path() + "/sub");
        chooser.reject(); // the title-bar close leaves the edit alone
    }
    EXPECT_EQ(target.text(), home.path() + "/sub");
    qputenv("HOME", oldHome);
}

TEST(SmallWindows, DirectoryChooserScrollsToTheCurrentDirectoryOnceItIsRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int i = 0; i < 80; ++i)
        QDir(dir.path()).mkdir(QStringLiteral("d%1").arg(i, 2, 10, QLatin1Char('0')));
    QLineEdit target(dir.path() + "/d79");
    TDirForm chooser(target);
    chooser.show();
    auto* tree = chooser.findChild<QTreeView*>("DirectoryTreeView");
    // The other directories arrive in the background and push the row down; it stays in view.
    QTRY_COMPARE_WITH_TIMEOUT(tree->currentIndex().row(), 79, 10000);
    QTest::qWait(200);
    EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()).center()));
    EXPECT_EQ(chooser.directory(), dir.path() + "/d79");
}

TEST(SmallWindows, AboutBoxShowsTheProgramsVersionAndHoverColours) {
    const QString old = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.0.1"));
    TAboutBox about;
    EXPECT_EQ(about.findChild<QLabel*>("Version_Label")->text(), "x.x.x.x");
    about.show();
    EXPECT_EQ(about.findChild<QLabel*>("Version_Label")->text(), "1.2.0.1");
    EXPECT_EQ(about.windowTitle(), "About Kestrune Utility");
    EXPECT_EQ(about.size(), QSize(297, 261));
    auto* site = about.findChild<QLabel*>("WebSite_Label");
    about.WebSite_LabelMouseEnter();
    EXPECT_TRUE(site->styleSheet().contains("red"));
    EXPECT_EQ(site->cursor().shape(), Qt::PointingHandCursor);
    about.WebSite_LabelMouseLeave();
    EXPECT_TRUE(site->styleSheet().contains("blue"));
    auto* ok = about.findChild<QPushButton*>("OKButton");
    EXPECT_TRUE(ok->isDefault());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    QCoreApplication::setApplicationVersion(old);
}
