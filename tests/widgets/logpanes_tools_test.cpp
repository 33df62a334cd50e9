// The log pane tools (save, copy, clear) and the Debug page, on the real window.
#include "ui/UiSeam.h"
#include "support/MainFormHarness.h"

#include "monitor/ConnectionMonitor.h"
#include "support/PageTestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QPushButton* button(MainFormHarness& h, const char* name) {
    auto* b = h.find<QPushButton>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
}

QPlainTextEdit* pane(MainFormHarness& h, const char* name) {
    auto* p = h.find<QPlainTextEdit>(name);
    EXPECT_NE(p, nullptr) << name;
    return p;
}

struct PaneRow {
    const char* save;
    const char* pane;
    const char* defaultName;
};
const PaneRow kRows[] = {
    {"SaveLog_But", "LinkLog_Memo", "kestrune_connlog"},
    {"SaveDebugLog_But", "DebugLog_Memo", "kestrune_debuglog"},
    {"AddrTableSave_But", "AddrTable_Memo", "kestrune_addrtable"},
    {"RouteTableSave_But", "RouteTable_Memo", "kestrune_routetable"},
    {"MediaTableSave_But", "MediaTable_Memo", "kestrune_mediatable"},
    {"TCPSave_But", "TCPTable_Memo", "kestrune_tcptable"},
    {"UDPTableSave_But", "UDPTable_Memo", "kestrune_udptable"},
};

} // namespace

TEST(LogPanesSave, EverySaveButtonOffersItsNameAndWritesItsPaneLineByLine) {
    MainFormHarness h;
    TMainForm& f = h.form();
    int n = 0;
    for (const PaneRow& row : kRows) {
        SCOPED_TRACE(row.save);
        QPlainTextEdit* p = pane(h, row.pane);
        ASSERT_NE(p, nullptr);
        const bool isLog = QByteArray(row.pane).endsWith("Log_Memo");
        EXPECT_EQ(button(h, row.save)->text(), isLog ? "Save log" : "Save table");
        p->setPlainText(QStringLiteral("first line of %1\n  second\tline\n ").arg(row.pane));
        const QString path = QDir(h.dir()).filePath(QStringLiteral("out%1.txt").arg(++n));
        UiSeam::resetTestRecord();
        UiSeam::setNextSaveFileName(path);
        button(h, row.save)->click();

        ASSERT_EQ(UiSeam::saveRequests().size(), 1u);
        const UiSeam::SaveRequest& req = UiSeam::saveRequests().front();
        EXPECT_EQ(req.title, "Save");
        EXPECT_EQ(req.defaultSuffix, "log");
        EXPECT_EQ(req.filters, (QStringList{"Log file (*.log)", "Text file (*.txt)", "Any file (*)"}));
        EXPECT_EQ(req.fileName, row.defaultName);

        QByteArray expected = QStringLiteral("first line of %1\n  second\tline\n \n").arg(row.pane).toUtf8();
        if (QLatin1String(row.pane) == QLatin1String("DebugLog_Memo"))
            expected += " \nFirmware: " + pagetest::text(f, "GenSysInfo", "firmware_ver_label").toUtf8() +
                        "\nDescription:  " + pagetest::text(f, "GenSysInfo", "RouterDesc_Label").toUtf8() +
                        "\n";
        EXPECT_EQ(readFile(path), expected);
        EXPECT_TRUE(UiSeam::messages().empty());
    }
}

TEST(LogPanesSave, ReplacesAnExistingFileAndSavesAnEmptyPaneAsAnEmptyFile) {
    MainFormHarness h;
    const QString path = QDir(h.dir()).filePath("table.log");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older and much longer content that must go away\n");
    }
    pane(h, "UDPTable_Memo")->clear();
    UiSeam::setNextSaveFileName(path);
    button(h, "UDPTableSave_But")->click();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(readFile(path), QByteArray());
}

TEST(LogPanesSave, CancelledDialogChangesNothing) {
    MainFormHarness h;
    TMainForm& f = h.form();
    pane(h, "DebugLog_Memo")->setPlainText("one\ntwo");
    pane(h, "LinkLog_Memo")->setPlainText("link went down");
    f.connectionMonitor().link().LinkLogChanged = true;
    const QStringList before = QDir(h.dir()).entryList(QDir::Files);

    UiSeam::setNextSaveFileName(QString()); // cancel
    button(h, "SaveDebugLog_But")->click();
    UiSeam::setNextSaveFileName(QString());
    button(h, "SaveLog_But")->click();

    EXPECT_EQ(UiSeam::saveRequests().size(), 2u);
    EXPECT_EQ(pagetest::lines(f, "DebugLog_Memo"), (QStringList{"one", "two"}));
    EXPECT_TRUE(f.connectionMonitor().link().LinkLogChanged);
    EXPECT_EQ(QDir(h.dir()).entryList(QDir::Files), before);
}

TEST(LogPanesSave, DebugLogSavedTwiceHoldsBothSetsOfFirmwareLines) {
    MainFormHarness h;
    TMainForm& f = h.form();
    const QString fw = pagetest::text(f, "GenSysInfo", "firmware_ver_label");
    const QString desc = pagetest::text(f, "GenSysInfo", "RouterDesc_Label");
    ASSERT_NE(fw, "-----"); // the start-up read the System page
    pane(h, "DebugLog_Memo")->clear();

    const QString first = QDir(h.dir()).filePath("debug1.log");
    const QString second = QDir(h.dir()).filePath("debug2.log");
    UiSeam::setNextSaveFileName(first);
    button(h, "SaveDebugLog_But")->click();
    UiSeam::setNextSaveFileName(second);
    button(h, "SaveDebugLog_But")->click();

    const QByteArray set = " \nFirmware: " + fw.toUtf8() + "\nDescription:  " + desc.toUtf8() + "\n";
    EXPECT_EQ(readFile(first), set);
    EXPECT_EQ(readFile(second), set + set);
    EXPECT_EQ(pagetest::lines(f, "DebugLog_Memo").size(), 6);
}

TEST(LogPanesSave, UnsavedSystemPageGivesTheInitialCaptions) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.setSilent(true); };
    MainFormHarness h(o);
    UiSeam::resetTestRecord();
    const QString path = QDir(h.dir()).filePath("d.log");
    UiSeam::setNextSaveFileName(path);
    button(h, "SaveDebugLog_But")->click();
    EXPECT_EQ(readFile(path), QByteArray(" \nFirmware: -----\nDescription:  -----\n"));
}

TEST(LogPanesSave, ConnectionLogFlagClearedBySaveOnly) {
    MainFormHarness h;
    TMainForm& f = h.form();
    pane(h, "LinkLog_Memo")->setPlainText("08/12/2024 10:00:00 Disconnected");
    f.connectionMonitor().link().LinkLogChanged = true;
    const QString path = QDir(h.dir()).filePath("conn.log");
    UiSeam::setNextSaveFileName(path);
    button(h, "SaveLog_But")->click();
    EXPECT_FALSE(f.connectionMonitor().link().LinkLogChanged);
    EXPECT_EQ(readFile(path), QByteArray("08/12/2024 10:00:00 Disconnected\n"));
    // The pane keeps its lines; nothing is appended to the connection log.
    EXPECT_EQ(pagetest::lines(f, "LinkLog_Memo").size(), 1);
}

TEST(LogPanesSave, UnwritableFileIsReportedAndLeavesTheFlagAndTheOldFile) {
    MainFormHarness h;
    TMainForm& f = h.form();
    pane(h, "LinkLog_Memo")->setPlainText("line");
    f.connectionMonitor().link().LinkLogChanged = true;

    // A directory that does not exist.
    const QString missing = QDir(h.dir()).filePath("no/such/dir/conn.log");
    UiSeam::setNextSaveFileName(missing);
    button(h, "SaveLog_But")->click();
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages().front().kind, UiSeam::BoxKind::Error);
    EXPECT_TRUE(UiSeam::messages().front().text.contains(missing));
    EXPECT_GT(UiSeam::messages().front().text.size(), missing.size() + 20); // the reason is given too
    EXPECT_TRUE(f.connectionMonitor().link().LinkLogChanged);
    EXPECT_FALSE(QFileInfo::exists(missing));

    // A name taken by a directory: nothing is replaced, nothing is left behind.
    const QString taken = QDir(h.dir()).filePath("taken.log");
    ASSERT_TRUE(QDir(h.dir()).mkdir("taken.log"));
    const QStringList before =
        QDir(h.dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    UiSeam::resetTestRecord();
    UiSeam::setNextSaveFileName(taken);
    button(h, "SaveLog_But")->click();
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_TRUE(UiSeam::messages().front().text.contains(taken));
    EXPECT_TRUE(QFileInfo(taken).isDir());
    EXPECT_TRUE(f.connectionMonitor().link().LinkLogChanged);
    EXPECT_EQ(QDir(h.dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);

    // The debug log keeps the lines it got before the write failed.
    pane(h, "DebugLog_Memo")->clear();
    UiSeam::resetTestRecord();
    UiSeam::setNextSaveFileName(missing);
    button(h, "SaveDebugLog_But")->click();
    EXPECT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(pagetest::lines(f, "DebugLog_Memo").size(), 3);
}

TEST(LogPanesCopy, TablePanesAndDebugLogAndSystemPage) {
    MainFormHarness h;
    TMainForm& f = h.form();
    const char* copies[][2] = {
        {"DebugLogCopy_But", "DebugLog_Memo"},     {"AddrTableCopy_But", "AddrTable_Memo"},
        {"RouteTableCopy_But", "RouteTable_Memo"}, {"MediaTableCopy_But", "MediaTable_Memo"},
        {"TCPTableCopy_But", "TCPTable_Memo"},     {"UDPTableCopy_But", "UDPTable_Memo"}};
    for (const auto& c : copies) {
        SCOPED_TRACE(c[0]);
        QPlainTextEdit* p = pane(h, c[1]);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(button(h, c[0])->text(),
                  QByteArray(c[0]) == "DebugLogCopy_But" ? "Copy log" : "Copy table");
        p->setPlainText(QStringLiteral(" Address\tPort\n %1\n ").arg(c[1]));
        UiSeam::setClipboardText("old");
        button(h, c[0])->click();
        EXPECT_EQ(UiSeam::clipboardText(), QStringLiteral(" Address\tPort\n %1\n ").arg(c[1]));
        EXPECT_EQ(p->textCursor().selectedText().size(), p->toPlainText().size()); // all selected
    }

    button(h, "CopyToClipboard_But")->click();
    EXPECT_EQ(UiSeam::clipboardText(), pagetest::text(f, "GenSysInfo", "firmware_ver_label") + "\n" +
                                           pagetest::text(f, "GenSysInfo", "RouterDesc_Label"));

    // Any other sender does nothing.
    UiSeam::setClipboardText("unchanged");
    f.GenericCopy_ButClick(button(h, "SaveDebugLog_But"));
    f.GenericCopy_ButClick(nullptr);
    f.GenericCopy_ButClick(&f);
    f.GenericSave_ButClick(button(h, "DebugLogCopy_But"));
    f.GenericClear_ButClick(button(h, "AddrTableCopy_But"));
    EXPECT_EQ(UiSeam::clipboardText(), "unchanged");
    EXPECT_TRUE(UiSeam::saveRequests().empty());
    EXPECT_FALSE(pagetest::lines(f, "AddrTable_Memo").isEmpty());
}

TEST(LogPanesClear, DebugLogAndConnectionLog) {
    MainFormHarness h;
    TMainForm& f = h.form();
    pane(h, "DebugLog_Memo")->setPlainText("a\nb");
    pane(h, "LinkLog_Memo")->setPlainText("c");
    f.connectionMonitor().link().LinkLogChanged = true;

    button(h, "DebugLogClear_But")->click();
    EXPECT_TRUE(pagetest::lines(f, "DebugLog_Memo").isEmpty());
    EXPECT_EQ(pagetest::lines(f, "LinkLog_Memo"), QStringList{"c"});
    EXPECT_TRUE(f.connectionMonitor().link().LinkLogChanged);

    button(h, "ClearLog_But")->click();
    EXPECT_TRUE(pagetest::lines(f, "LinkLog_Memo").isEmpty());
    EXPECT_FALSE(f.connectionMonitor().link().LinkLogChanged);
}

TEST(DebugPage, WidgetsAndShowingThePage) {
    MainFormHarness h;
    TMainForm& f = h.form();
    QPlainTextEdit* log = pane(h, "DebugLog_Memo");
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isReadOnly());
    EXPECT_EQ(log->font().family(), "Courier");
    EXPECT_EQ(button(h, "InterfaceTable_But")->text(), "Interface table");
    EXPECT_EQ(button(h, "IPAddrTable_But")->text(), "IP table");
    EXPECT_EQ(button(h, "SaveDebugLog_But")->text(), "Save log");
    EXPECT_EQ(button(h, "DebugLogCopy_But")->text(), "Copy log");
    EXPECT_EQ(button(h, "DebugLogClear_But")->text(), "Clear log");

    const int requestsBefore = static_cast<int>(h.router().requestLog().size());
    pagetest::showPage(f, "Debug");
    EXPECT_FALSE(button(h, "GetValues_But")->isEnabled());
    EXPECT_EQ(pagetest::helpKeyword(f, "PageControl"), "210.html");
    EXPECT_EQ(pagetest::helpKeyword(f, "Help_But"), "210.html");
    EXPECT_EQ(pagetest::helpKeyword(f, "GetValues_But"), "210.html");
    EXPECT_EQ(static_cast<int>(h.router().requestLog().size()), requestsBefore); // nothing to read
    pagetest::showPage(f, "ICMP");
    EXPECT_TRUE(button(h, "GetValues_But")->isEnabled());
}
