// The help window and its viewer: keyword pages with anchors, history buttons, Close, and the failure
// message.
#include "ui/UiSeam.h"
#include "windows/HTMLHelp_Unit.h"
#include "windows/ProgramHelp.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

const QString kSourceHelp = QStringLiteral(KESTRUNE_SOURCE_DIR "/help");

// The anchors of the document the browser shows, as Qt parsed them.
QStringList documentAnchors(const QTextBrowser& browser) {
    QStringList names;
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            names << it.fragment().charFormat().anchorNames();
    return names;
}

QString shownFile(const TFormHTMLHelpViewer& window) {
    return window.browser()->source().fileName();
}

void press(TFormHTMLHelpViewer& window, const char* name) {
    window.findChild<QPushButton*>(name)->click();
}

// The program's help, looking for pages under the source tree's help/ as if the program lived there.
class HelpViewerTest : public ::testing::Test {
protected:
    HelpViewerTest() : help(QStringLiteral("kestrune.html")) {
        UiSeam::resetTestRecord();
        help.viewer().setLocationsSource([](const QString& helpFileName) {
            helpcore::HelpLocations where = THTMLHelpViewer::programLocations(helpFileName);
            where.executableDir = QStringLiteral(KESTRUNE_SOURCE_DIR "/");
            where.dataDirs.clear();
            return where;
        });
    }
    TFormHTMLHelpViewer& window() { return help.viewer().window(); }
    ProgramHelp help;
};

} // namespace

TEST_F(HelpViewerTest, KeywordOpensThePageAtItsAnchorAndMenuItemsOpenContentsAndIndex) {
    TFormHTMLHelpViewer& w = help.createWindow();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Kestrune Utility Help");

    ASSERT_TRUE(help::show(nullptr, QStringLiteral("150.html#iproutetable")));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(shownFile(w), "150.html");
    EXPECT_EQ(w.browser()->source().fragment(), "iproutetable");
    EXPECT_TRUE(documentAnchors(*w.browser()).contains("iproutetable"));
    EXPECT_EQ(help.viewer().KeywordPages({}), QStringList{kSourceHelp + "/150.html#iproutetable"});

    EXPECT_TRUE(help::showTopicIndex(nullptr));
    EXPECT_EQ(shownFile(w), "index.html");
    EXPECT_TRUE(help::showContents(nullptr));
    EXPECT_EQ(shownFile(w), "kestrune.html");
    EXPECT_TRUE(UiSeam::messages().empty());
}

TEST_F(HelpViewerTest, BackForwardHomeContentsAndCloseKeepTheHistory) {
    help::show(nullptr, QStringLiteral("110.html"));
    help::show(nullptr, QStringLiteral("120.html"));
    help::show(nullptr, QStringLiteral("130.html#adslconnectionlog"));
    TFormHTMLHelpViewer& w = window();
    press(w, "Back_But");
    EXPECT_EQ(shownFile(w), "120.html");
    press(w, "Back_But");
    EXPECT_EQ(shownFile(w), "110.html");
    press(w, "Forward_But");
    EXPECT_EQ(shownFile(w), "120.html");
    press(w, "Contents_But");
    EXPECT_EQ(shownFile(w), "kestrune.html");
    press(w, "Home_But");
    EXPECT_EQ(shownFile(w), "110.html");

    press(w, "Close_But");
    EXPECT_FALSE(w.isVisible());
    help::show(nullptr, QStringLiteral("140.html"));
    EXPECT_TRUE(w.isVisible());
    press(w, "Back_But");
    EXPECT_EQ(shownFile(w), "110.html");
}

TEST_F(HelpViewerTest, KeywordWithoutAPageIsReportedAndLeavesTheWindowAlone) {
    for (const char* keyword : {"999.html", "", "150.htm"}) {
        UiSeam::resetTestRecord();
        EXPECT_FALSE(help::show(nullptr, QString::fromLatin1(keyword)));
        ASSERT_EQ(UiSeam::messages().size(), 1u) << keyword;
        EXPECT_EQ(UiSeam::messages()[0].text, QStringLiteral("No help found for \"%1\"").arg(keyword));
    }
    EXPECT_FALSE(help.viewer().hasWindow());
}

TEST_F(HelpViewerTest, DotSlashHelpFileLooksUnderPwd) {
    QTemporaryDir pwd;
    ASSERT_TRUE(QDir().mkpath(pwd.path() + "/help"));
    ASSERT_TRUE(QFile::copy(kSourceHelp + "/160.html", pwd.path() + "/help/160.html"));
    const QByteArray oldPwd = qgetenv("PWD");
    qputenv("PWD", pwd.path().toUtf8());
    help.manager().setHelpFileName(QStringLiteral("./kestrune.html"));
    EXPECT_TRUE(help::showKeyword(nullptr, QStringLiteral("160.html"), QString()));
    EXPECT_EQ(window().browser()->source().toLocalFile(), pwd.path() + "/help/160.html");
    qputenv("PWD", oldPwd);
}

// The program as built (help/ beside it) or, from the install check, as installed
// (<prefix>/share/kestrune/help/).
TEST_F(HelpViewerTest, TheProgramsOwnLayoutFindsEveryPage) {
    const QString installedBin = qEnvironmentVariable("KESTRUNE_INSTALLED_BIN_DIR");
    const QString binDir = installedBin.isEmpty() ? QStringLiteral(KESTRUNE_PROGRAM_DIR) : installedBin;
    ASSERT_FALSE(binDir.isEmpty());
    const QString expectedDir = installedBin.isEmpty()
                                    ? binDir + "/help/"
                                    : QDir::cleanPath(binDir + "/../share/kestrune/help") + "/";
    help.viewer().setLocationsSource(
        [binDir](const QString& helpFile) { return THTMLHelpViewer::locationsFor(helpFile, binDir + "/"); });
    for (const char* keyword : {"kestrune.html", "index.html", "150.html#iproutetable", "210.html"}) {
        ASSERT_TRUE(help::show(nullptr, QString::fromLatin1(keyword))) << keyword;
        EXPECT_EQ(window().browser()->source().toLocalFile(),
                  expectedDir + helpcore::splitKeyword(keyword).page);
    }
    EXPECT_TRUE(help.viewer().HasContentsPage());
}
