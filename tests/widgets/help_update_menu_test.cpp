// The Help menu and the "&Help" button of the real window: the page of every tab and sub-page, the
// help items, and the web update check against the stand-in's web side and a scripted server.
#include "support/HttpTestServer.h"
#include "support/MainFormHarness.h"

#include "history/HistoryStore.h"
#include "net/WebServers.h"
#include "sim/HttpService.h"
#include "ui/UiSeam.h"
#include "windows/HTMLHelp_Unit.h"
#include "windows/LineHistory_Unit.h"
#include "windows/ProgramHelp.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

// The window with the program's help looking for its pages in the source tree's help/.
class HelpMenu : public ::testing::Test {
protected:
    HelpMenu() : help(QStringLiteral("kestrune.html")) {
        help.viewer().setLocationsSource([](const QString& helpFileName) {
            helpcore::HelpLocations where = THTMLHelpViewer::programLocations(helpFileName);
            where.executableDir = QStringLiteral(KESTRUNE_SOURCE_DIR "/");
            where.dataDirs.clear();
            return where;
        });
        help.createWindow();
    }
    QString shown() {
        const QUrl url = help.viewer().window().browser()->source();
        return url.fileName() + (url.hasFragment() ? "#" + url.fragment() : QString());
    }
    ProgramHelp help;
    MainFormHarness h;
};

struct PageHelp {
    const char* page;
    const char* subPages; // inner page control, or nullptr
    int subPage;
    const char* shown;
};

} // namespace

TEST_F(HelpMenu, HelpButtonOpensThePageOfEveryTabAndSubPage) {
    const PageHelp table[] = {
        {"GenSysInfo", nullptr, 0, "110.html"},
        {"Quota_Tab", nullptr, 0, "120.html"},
        {"ADSL", "ADSL_PageControl", 0, "130.html"},
        {"ADSL", "ADSL_PageControl", 1, "130.html#adslconnectionlog"},
        {"ADSL", "ADSL_PageControl", 2, "130.html#defaultconnectionmodelog"},
        {"Interfaces", nullptr, 0, "140.html"},
        {"IP", "IP_PageControl", 0, "150.html"},
        {"IP", "IP_PageControl", 1, "150.html#ipaddresstable"},
        {"IP", "IP_PageControl", 2, "150.html#iproutetable"},
        {"IP", "IP_PageControl", 3, "150.html#ipnettomediatable"},
        {"ICMP", nullptr, 0, "160.html"},
        {"TCP", "TCP_PageControl", 0, "170.html"},
        {"TCP", "TCP_PageControl", 1, "170.html#tcpconnectiontable"},
        {"UDP", nullptr, 0, "180.html"},
        {"SNMP", nullptr, 0, "190.html"},
        {"Misc", nullptr, 0, "200.html"},
        {"Debug", nullptr, 0, "210.html"},
    };
    for (const PageHelp& row : table) {
        SCOPED_TRACE(std::string(row.page) + " " + std::to_string(row.subPage));
        h.form().pageControl()->setCurrentWidget(h.find<QWidget>(row.page));
        if (row.subPages) h.find<QTabWidget>(row.subPages)->setCurrentIndex(row.subPage);
        h.find<QPushButton>("Help_But")->click();
        EXPECT_EQ(shown(), row.shown);
    }
    EXPECT_TRUE(help.viewer().window().isVisible());
    for (const UiSeam::ShownMessage& m : UiSeam::messages())
        ADD_FAILURE() << m.text.toStdString();
}

TEST_F(HelpMenu, TheLineHistoryWindowsHelpButtonOpensItsPage) {
    QTemporaryDir dir;
    history::HistoryStore store;
    ASSERT_TRUE(store.open(dir.filePath(QStringLiteral("h.sqlite"))));
    TLineHistoryForm window(store);
    window.findChild<QPushButton*>(QStringLiteral("Help_But"))->click();
    EXPECT_EQ(shown(), "220.html");
    EXPECT_TRUE(UiSeam::messages().empty());
}

TEST_F(HelpMenu, HelpItemsOpenContentsAndIndexAndAnUnknownKeywordIsReported) {
    h.find<QAction>("SearchforHelpOn1")->trigger();
    EXPECT_EQ(shown(), "index.html");
    h.find<QAction>("Contents1")->trigger();
    EXPECT_EQ(shown(), "kestrune.html");
    h.find<QAction>("SearchforHelpOn1")->trigger();
    h.find<QAction>("HowtoUseHelp1")->trigger();
    EXPECT_EQ(shown(), "kestrune.html");
    EXPECT_TRUE(UiSeam::messages().empty());

    h.find<QPushButton>("Help_But")->setProperty("helpKeyword", QStringLiteral("999.html"));
    h.find<QPushButton>("Help_But")->click();
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages()[0].text, "No help found for \"999.html\"");
}

namespace {

class UpdateCheck : public ::testing::Test {
protected:
    ~UpdateCheck() override { webconfig::setUpdateServer(m_old); }
    // Runs the menu item against a server on this port; the one message it showed.
    UiSeam::ShownMessage checkAgainst(std::uint16_t port) {
        webconfig::setUpdateServer({"127.0.0.1", port});
        UiSeam::resetTestRecord();
        h.find<QAction>("CheckforupdateVersion1")->trigger();
        EXPECT_EQ(UiSeam::messages().size(), 1u);
        return UiSeam::messages().empty() ? UiSeam::ShownMessage{} : UiSeam::messages().back();
    }
    webconfig::Server m_old = webconfig::updateServer();
    MainFormHarness h;
};

struct VersionCase {
    const char* file;
    const char* message; // the whole message, or its start when `prefixOnly`
    bool prefixOnly;
};

} // namespace

TEST_F(UpdateCheck, ShowsTheMessageForTheServedVersionFile) {
    sim::HttpService web(h.router());
    ASSERT_TRUE(web.start());
    const VersionCase table[] = {
        {"1.2.0.1\r\n17/03/2004\r\n",
         "You are already using the latest version (1.2.0.1)\rwhich was released on 17/03/2004.", false},
        {"1.2.0.1\n17/03/2004\nin June",
         "You are already using the latest version (1.2.0.1)\rwhich was released on 17/03/2004.\r\r"
         "A new version is expected in June",
         false},
        {"1.2.0.10\n\n\n1/1/2005\n",
         "You are using version 1.2.0.1\r\rA new version (1.2.0.10) is available!\rIt was released on "
         "1/1/2005.\r\r",
         true},
        {"1.10.0.0\n1/1/2009\n", "You are using version 1.2.0.1\r\rA new version (1.10.0.0) is available!",
         true},
        {"",
         "You are already using a later version (1.2.0.1)\rthan the version () which is publicly\ravailable!",
         false},
    };
    for (const VersionCase& c : table) {
        SCOPED_TRACE(c.file);
        web.setVersionFile(c.file);
        const UiSeam::ShownMessage m = checkAgainst(web.port());
        EXPECT_EQ(m.kind, UiSeam::BoxKind::Information);
        EXPECT_EQ(m.title, "Kestrune Utility");
        if (c.prefixOnly)
            EXPECT_TRUE(m.text.startsWith(QString::fromLatin1(c.message))) << m.text.toStdString();
        else
            EXPECT_EQ(m.text, QString::fromLatin1(c.message));
    }
}

TEST_F(UpdateCheck, AFailedFetchGoesToTheErrorReport) {
    ScriptedHttpServer missing([](const std::string&) {
        return ScriptedHttpServer::Answer{"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"};
    });
    UiSeam::ShownMessage m = checkAgainst(missing.port());
    EXPECT_EQ(m.kind, UiSeam::BoxKind::Error);
    EXPECT_EQ(m.text, "HTTP/1.1 404 Not Found");

    m = checkAgainst(1); // nobody listens
    EXPECT_EQ(m.kind, UiSeam::BoxKind::Error);
    EXPECT_TRUE(m.text.startsWith("Socket Error # ")) << m.text.toStdString();
}

TEST_F(UpdateCheck, OneCheckAtATimeWithItsItemDisabledAndTheBusyCursorUntilItEnds) {
    const std::string file = "1.2.0.1\r\n17/03/2004\r\n";
    ScriptedHttpServer slow([&](const std::string&) {
        return ScriptedHttpServer::Answer{
            "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(file.size()) + "\r\n\r\n" + file, false,
            4};
    });
    ScriptedHttpServer large([](const std::string&) {
        return ScriptedHttpServer::Answer{"HTTP/1.1 200 OK\r\nContent-Length: 70000\r\n\r\n"};
    });
    QAction* item = h.find<QAction>("CheckforupdateVersion1");
    bool enabledDuring = true;
    int cursorDuring = 0;
    QTimer::singleShot(50, [&] {
        enabledDuring = item->isEnabled();
        cursorDuring = UiSeam::busyCursorDepth();
        h.form().CheckforupdateVersion1Click(item); // refused while the first runs
    });
    EXPECT_EQ(checkAgainst(slow.port()).kind, UiSeam::BoxKind::Information);
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(cursorDuring, 1);
    EXPECT_EQ(slow.requests().size(), 1u);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);

    const UiSeam::ShownMessage m = checkAgainst(large.port());
    EXPECT_EQ(m.kind, UiSeam::BoxKind::Error);
    EXPECT_EQ(m.text, "The server's reply is larger than 64 KiB.");
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
}
