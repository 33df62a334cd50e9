// The settings file at start-up and at every close request, through the real main window.
#include "support/MainFormHarness.h"

#include "monitor/ConnectionMonitor.h"
#include "monitor/QuotaMonitor.h"

#include "ui/Clock.h"
#include "ui/PaneText.h"
#include "app/core/SettingsFile.h"
#include "ui/UiSeam.h"
#include "app/core/SettingsText.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;
using testsupport::SettingEntry;

namespace {

bool checked(MainFormHarness& h, const char* item) {
    auto* a = h.find<QAction>(item);
    EXPECT_NE(a, nullptr) << item;
    return a && a->isChecked();
}

QTimer* timer(MainFormHarness& h, const char* name) {
    auto* t = h.find<QTimer>(name);
    EXPECT_NE(t, nullptr) << name;
    return t;
}

QString text(MainFormHarness& h, const char* edit) {
    return h.find<QLineEdit>(edit)->text();
}

// Restores the default locale when a test changes it.
struct LocaleScope {
    explicit LocaleScope(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(QLocale::system()); }
};

std::vector<QString> errors() {
    std::vector<QString> out;
    for (const auto& m : UiSeam::messages())
        if (m.kind == UiSeam::BoxKind::Error) out.push_back(m.text);
    return out;
}

// Every key of a complete settings file, none of them at its default.
std::vector<SettingEntry> fullSettings() {
    return {
        {"Program", "Name", "someone else's name"},
        {"Options", "Link logging", "1"},
        {"Options", "Link check", "3"},
        {"Options", "Autoreconnect", "Yes"},
        {"Options", "Eventlog auto-transfer", "1"},
        {"Options", "Transfer interval", "6"},
        {"Options", "Password", "0"},
        {"Options", "Router uptime", "1"},
        {"Options", "Uptime update", "30"},
        {"Options", "Quota monitor", "1"},
        {"Options", "Quota update", "5"},
        {"Options", "Interfaces autoupdate", "1"},
        {"Options", "Interfaces update", "20"},
        {"Options", "Telnet on startup", "Disabled"},
        {"EventLog", "Directory", "/var/tmp/eventlogs/"},
        {"Quota", "Data", "DownloadUpload"},
        {"Quota", "ISP bytes in Gigabyte", "1000000000"},
        {"Quota", "ISP bytes in Megabyte", "1000000"},
        {"Quota", "GBQuota", "25"},
        {"Quota", "Reset day", "14"},
        {"Quota", "MBUsed", "1234.5000"},
        {"Quota", "Last reset date", "a date"},
        {"Mine", "Unknown key", "kept"},
    };
}

} // namespace

// Without any settings file the program talks to 192.168.0.1: only inside a private network
// namespace (tests/scripts/settings_defaults_isolated.sh runs this test there).
TEST(AppSettings, FirstStartWithoutSettingsFileUsesEveryDefaultAndLeavesAnEmptyFile) {
    if (!testsupport::networkIsolated())
        GTEST_SKIP() << "needs a private network namespace (no packet may leave)";
    MainFormHarness::Options o;
    o.writeSettings = false;
    o.startRouter = false;
    MainFormHarness h(o);

    EXPECT_EQ(text(h, "IpAddress_Edit"), "192.168.0.1");
    EXPECT_EQ(text(h, "Community_Edit"), "quorbex");
    for (const char* t : {"Uptime_Timer", "Connect_Timer", "AutoReconnect_Timer", "Quota_Timer",
                          "EventLog_Timer", "Interfaces_Timer", "Telnet_Timer"})
        EXPECT_FALSE(timer(h, t)->isActive()) << t;
    for (const char* item : {"Recordlog", "Autoreconnect", "MonitorQuota", "EventLogTransfer",
                             "DisplayInRealTime", "Realtimeupdating", "HidePwd"})
        EXPECT_FALSE(checked(h, item)) << item;
    EXPECT_EQ(timer(h, "Connect_Timer")->interval(), 15000);
    EXPECT_TRUE(checked(h, "N15secondinterval1"));
    EXPECT_EQ(timer(h, "Uptime_Timer")->interval(), 1000);
    EXPECT_TRUE(checked(h, "N1secondupdate1"));
    EXPECT_EQ(timer(h, "Quota_Timer")->interval(), 60000);
    EXPECT_TRUE(checked(h, "N15minuteupdate1"));
    EXPECT_EQ(timer(h, "Interfaces_Timer")->interval(), 5000);
    EXPECT_TRUE(checked(h, "N15SecondUpdate"));
    EXPECT_EQ(timer(h, "EventLog_Timer")->interval(), 86400000);
    EXPECT_TRUE(checked(h, "Every24hours"));
    EXPECT_TRUE(checked(h, "ShowPwd"));
    // Telnet on start-up is on by default; with no router the start-up job fails and turns it off.
    EXPECT_TRUE(checked(h, "TelnetDisabled") && !checked(h, "TelnetEnabled"));
    EXPECT_FALSE(h.find<QAction>("Autoreconnect")->isEnabled());
    EXPECT_EQ(h.find<QLineEdit>("Gbytes_Edit")->text(), "1073741824");
    EXPECT_EQ(h.find<QLineEdit>("MBytes_Edit")->text(), "1048576");
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerGigabyte, 1073741824.0);
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerMegabyte, 1048576.0);
    EXPECT_EQ(h.find<QLineEdit>("GBQuota_Edit")->text(), "0");
    EXPECT_EQ(h.find<QLineEdit>("MBUsed_Edit")->text(), "0");
    EXPECT_EQ(h.find<QSpinBox>("ResetDay_Edit")->value(), 0);
    EXPECT_EQ(h.find<QLabel>("LastResetDate_Label")->text(), "------");
    EXPECT_TRUE(h.find<QRadioButton>("Down_RBut")->isChecked());
    EXPECT_EQ(h.find<QLineEdit>("Dir_Edit")->text(), "");
    // The router did not answer: no interfaces, no baseline, the error on the status line.
    EXPECT_EQ(h.form().session().interfaces().IfNumber, 0);
    EXPECT_EQ(h.form().statusText(), " Error: Check IP address and/or SNMP community name");
    EXPECT_TRUE(errors().empty());

    ASSERT_TRUE(h.settingsExist());
    EXPECT_TRUE(h.settingsBytes().isEmpty());
}

TEST(AppSettings, AFullFileRestoresEveryKeyAndTheNextCloseWritesTheSameBack) {
    MainFormHarness::Options o;
    o.settings = fullSettings();
    o.createForm = false;
    MainFormHarness h(o);
    const QByteArray written = h.settingsBytes();
    TMainForm& f = h.createForm();
    // The start-up's release writes the file back unchanged.
    EXPECT_EQ(h.settingsBytes(), written);

    EXPECT_EQ(text(h, "IpAddress_Edit"), "127.0.0.1");
    EXPECT_TRUE(checked(h, "Recordlog"));
    EXPECT_TRUE(timer(h, "Connect_Timer")->isActive());
    EXPECT_EQ(timer(h, "Connect_Timer")->interval(), 3000);
    EXPECT_TRUE(checked(h, "N3secondinterval1"));
    EXPECT_FALSE(checked(h, "N15secondinterval1"));
    EXPECT_TRUE(checked(h, "Autoreconnect"));
    EXPECT_TRUE(h.find<QAction>("Autoreconnect")->isEnabled());
    EXPECT_FALSE(timer(h, "AutoReconnect_Timer")->isActive());
    EXPECT_TRUE(checked(h, "EventLogTransfer"));
    EXPECT_TRUE(timer(h, "EventLog_Timer")->isActive());
    EXPECT_EQ(timer(h, "EventLog_Timer")->interval(), 21600000);
    EXPECT_TRUE(checked(h, "Every6hours"));
    EXPECT_TRUE(checked(h, "HidePwd"));
    EXPECT_FALSE(checked(h, "ShowPwd"));
    EXPECT_TRUE(h.find<QLabel>("Pwd_Label")->isHidden());
    EXPECT_TRUE(checked(h, "Realtimeupdating"));
    EXPECT_TRUE(timer(h, "Uptime_Timer")->isActive());
    EXPECT_EQ(timer(h, "Uptime_Timer")->interval(), 30000);
    EXPECT_TRUE(checked(h, "N30secondupdate1"));
    EXPECT_TRUE(checked(h, "MonitorQuota"));
    EXPECT_TRUE(timer(h, "Quota_Timer")->isActive());
    EXPECT_EQ(timer(h, "Quota_Timer")->interval(), 300000);
    EXPECT_TRUE(checked(h, "N5minuteupdate1"));
    EXPECT_TRUE(checked(h, "DisplayInRealTime"));
    EXPECT_TRUE(timer(h, "Interfaces_Timer")->isActive());
    EXPECT_EQ(timer(h, "Interfaces_Timer")->interval(), 20000);
    EXPECT_TRUE(checked(h, "N20SecondUpdate"));
    EXPECT_TRUE(checked(h, "TelnetDisabled"));
    EXPECT_FALSE(checked(h, "TelnetEnabled"));
    EXPECT_EQ(text(h, "Dir_Edit"), "/var/tmp/eventlogs/");
    EXPECT_TRUE(h.find<QRadioButton>("DownUp_RBut")->isChecked());
    EXPECT_EQ(text(h, "Gbytes_Edit"), "1000000000");
    EXPECT_EQ(f.quotaMonitor().figures().BytesPerGigabyte, 1e9);
    EXPECT_EQ(f.quotaMonitor().figures().BytesPerMegabyte, 1e6);
    EXPECT_EQ(text(h, "GBQuota_Edit"), "25");
    EXPECT_EQ(text(h, "MBUsed_Edit"), "1234.5000");
    EXPECT_EQ(h.find<QSpinBox>("ResetDay_Edit")->value(), 14);
    EXPECT_EQ(h.find<QLabel>("LastResetDate_Label")->text(), "a date");
    EXPECT_FALSE(f.quotaMonitor().figures().QuotaResetDone);
    EXPECT_EQ(f.session().interfaces().IfNumber, 5);
    EXPECT_TRUE(errors().empty());

    UiSeam::setNextAnswer(QMessageBox::No);
    EXPECT_FALSE(h.closeForm());
    const IniFile ini = h.settings();
    for (const SettingEntry& e : fullSettings()) {
        if (e.section == "Program" || e.key == "MBUsed") continue;
        EXPECT_EQ(ini.readString(e.section, e.key, "<missing>"), e.value) << e.key.toStdString();
    }
    EXPECT_EQ(ini.readString("Program", "Name", ""), "Varo's D-Link Kestrune Utility");
    EXPECT_EQ(ini.readString("Program", "Version", ""), "1.2.0.1");
    EXPECT_FALSE(ini.readString("Program", "Copyright", "").isEmpty());
    EXPECT_EQ(ini.readString("System Info Settings", "Community", ""), "quorbex");
    // Keys the program does not use stay, in their place.
    EXPECT_EQ(ini.sections(), (std::vector<QString>{"System Info Settings", "Options", "Program", "EventLog",
                                                    "Quota", "Mine"}));
}

TEST(AppSettings, AFreshFileGetsEveryKeyInTheDocumentedOrder) {
    MainFormHarness::Options o;
    o.rawSettings = QByteArray("[System Info Settings]\nIP=127.0.0.1\n");
    MainFormHarness h(o);
    QFile::remove(h.settingsPath());
    Clock::setNow(QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9)));
    UiSeam::setNextAnswer(QMessageBox::No);
    h.closeForm();

    const IniFile ini = h.settings();
    EXPECT_EQ(ini.sections(),
              (std::vector<QString>{"Program", "System Info Settings", "Options", "EventLog", "Quota"}));
    EXPECT_EQ(ini.keys("Program"), (std::vector<QString>{"Name", "Copyright", "Version", "Last used"}));
    EXPECT_EQ(ini.keys("System Info Settings"), (std::vector<QString>{"IP", "Community"}));
    EXPECT_EQ(ini.keys("Options"),
              (std::vector<QString>{"Link logging", "Link check", "Autoreconnect", "Eventlog auto-transfer",
                                    "Transfer interval", "Password", "Router uptime", "Uptime update",
                                    "Quota monitor", "Quota update", "Interfaces autoupdate",
                                    "Interfaces update", "Telnet on startup"}));
    EXPECT_EQ(ini.keys("EventLog"), (std::vector<QString>{"Directory"}));
    EXPECT_EQ(ini.keys("Quota"),
              (std::vector<QString>{"Data", "ISP bytes in Gigabyte", "ISP bytes in Megabyte", "GBQuota",
                                    "Reset day", "MBUsed"}));
    EXPECT_EQ(ini.readString("Options", "Link logging", ""), "0");
    EXPECT_EQ(ini.readString("Options", "Link check", ""), "15");
    EXPECT_EQ(ini.readString("Options", "Autoreconnect", ""), "No");
    EXPECT_EQ(ini.readString("Options", "Transfer interval", ""), "24");
    EXPECT_EQ(ini.readString("Options", "Password", ""), "1");
    EXPECT_EQ(ini.readString("Options", "Uptime update", ""), "1");
    EXPECT_EQ(ini.readString("Options", "Quota update", ""), "15");
    EXPECT_EQ(ini.readString("Options", "Interfaces update", ""), "15");
    EXPECT_EQ(ini.readString("Options", "Telnet on startup", ""), "Enabled");
    EXPECT_EQ(ini.readString("Quota", "Data", ""), "DownloadOnly");
    EXPECT_EQ(ini.readString("Quota", "ISP bytes in Gigabyte", ""), "1073741824");
    EXPECT_EQ(ini.readString("Quota", "ISP bytes in Megabyte", ""), "1048576");
    EXPECT_EQ(ini.readString("Quota", "GBQuota", ""), "0");
    EXPECT_EQ(ini.readString("Quota", "Reset day", ""), "0");
    EXPECT_FALSE(ini.valueExists("Quota", "Last reset date"));
    EXPECT_EQ(ini.readString("Program", "Last used", ""),
              settingstext::dateTimeText(QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9)), QLocale()));
}

TEST(AppSettings, UnknownChoiceTextsKeepTheDesignerItemsAndLettersMustMatchExactly) {
    MainFormHarness::Options o;
    o.settings = {{"Options", "Link check", "3 "},          {"Options", "Transfer interval", "06"},
                  {"Options", "Uptime update", "ten"},      {"Options", "Quota update", "1.0"},
                  {"Options", "Interfaces update", "0x14"}, {"Options", "Telnet on startup", "enabled"},
                  {"Options", "Autoreconnect", "yes"},      {"Options", "Link logging", "1"},
                  {"Quota", "Data", "downloadupload"}};
    MainFormHarness h(o);
    EXPECT_TRUE(checked(h, "N15secondinterval1"));
    EXPECT_EQ(timer(h, "Connect_Timer")->interval(), 15000);
    EXPECT_TRUE(checked(h, "Every24hours"));
    EXPECT_TRUE(checked(h, "N1secondupdate1"));
    EXPECT_TRUE(checked(h, "N15minuteupdate1"));
    EXPECT_EQ(timer(h, "Quota_Timer")->interval(), 60000);
    EXPECT_TRUE(checked(h, "N15SecondUpdate"));
    EXPECT_EQ(timer(h, "Interfaces_Timer")->interval(), 5000);
    EXPECT_TRUE(checked(h, "TelnetDisabled"));
    EXPECT_FALSE(checked(h, "Autoreconnect"));
    EXPECT_TRUE(h.find<QRadioButton>("Down_RBut")->isChecked());
}

TEST(AppSettings, AutoreconnectNeedsLinkLoggingAndIsThenWrittenAsNo) {
    {
        MainFormHarness::Options o;
        o.settings = {{"Options", "Autoreconnect", "Yes"}, {"Options", "Link logging", "0"}};
        MainFormHarness h(o);
        EXPECT_FALSE(checked(h, "Autoreconnect"));
        EXPECT_FALSE(h.find<QAction>("Autoreconnect")->isEnabled());
        EXPECT_FALSE(timer(h, "Connect_Timer")->isActive());
        UiSeam::setNextAnswer(QMessageBox::No);
        h.closeForm();
        EXPECT_EQ(h.settings().readString("Options", "Autoreconnect", ""), "No");
        EXPECT_EQ(h.settings().readString("Options", "Link logging", ""), "0");
    }
    {
        MainFormHarness::Options o;
        o.settings = {{"Options", "Autoreconnect", "Yes"}, {"Options", "Link logging", "0x1"}};
        MainFormHarness h(o);
        EXPECT_TRUE(checked(h, "Autoreconnect"));
        EXPECT_TRUE(h.find<QAction>("Autoreconnect")->isEnabled());
        EXPECT_TRUE(timer(h, "Connect_Timer")->isActive());
    }
}

TEST(AppSettings, ANonNumericIspByteCountStopsTheStartUpButTheFileIsReleasedAndNothingIsLost) {
    MainFormHarness::Options o;
    o.settings = {{"Quota", "ISP bytes in Gigabyte", "lots"},
                  {"Quota", "ISP bytes in Megabyte", "1000000"},
                  {"Quota", "GBQuota", "40"},
                  {"Quota", "MBUsed", "777"},
                  {"Quota", "Reset day", "9"},
                  {"EventLog", "Directory", "/srv/logs/"}};
    o.createForm = false;
    MainFormHarness h(o);
    const QByteArray before = h.settingsBytes();
    h.createForm();

    const auto errs = errors();
    ASSERT_EQ(errs.size(), 1u);
    EXPECT_TRUE(errs[0].contains("'lots'")) << errs[0].toStdString();
    EXPECT_TRUE(errs[0].contains("ISP bytes in Gigabyte")) << errs[0].toStdString();
    // The start-up stopped there: no System page refresh, no quota baseline.
    EXPECT_TRUE(h.router().requestLog().empty());
    EXPECT_EQ(h.form().session().interfaces().IfNumber, 0);
    EXPECT_EQ(h.find<QLabel>("firmware_ver_label")->text(), "-----");
    EXPECT_EQ(text(h, "Gbytes_Edit"), "lots");
    EXPECT_EQ(text(h, "MBytes_Edit"), "1000000"); // filled with the other edit, never converted
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerMegabyte, 1048576.0);
    EXPECT_EQ(text(h, "Dir_Edit"), "");
    // The file was released (written back as it was) and the window is usable.
    EXPECT_EQ(h.settingsBytes(), before);
    EXPECT_EQ(h.form().statusText(), " Ready");

    // A close writes what the user set, and keeps what the start-up never read.
    h.find<QLineEdit>("GBQuota_Edit")->setText("50");
    UiSeam::setNextAnswer(QMessageBox::No);
    h.closeForm();
    const IniFile ini = h.settings();
    EXPECT_EQ(ini.readString("Quota", "GBQuota", ""), "50");
    EXPECT_EQ(ini.readString("Quota", "ISP bytes in Megabyte", ""), "1000000");
    EXPECT_EQ(ini.readString("Quota", "MBUsed", ""), "777");
    EXPECT_EQ(ini.readString("Quota", "Reset day", ""), "9");
    EXPECT_EQ(ini.readString("EventLog", "Directory", ""), "/srv/logs/");
    EXPECT_EQ(ini.readString("Quota", "ISP bytes in Gigabyte", ""), "1073741824");
}

TEST(AppSettings, ANonIntegerResetDayStopsTheStartUpBeforeTheRouterIsAsked) {
    MainFormHarness::Options o;
    o.settings = {
        {"Quota", "Reset day", "3rd"}, {"Quota", "MBUsed", "12.5"}, {"EventLog", "Directory", "/x/"}};
    MainFormHarness h(o);
    const auto errs = errors();
    ASSERT_EQ(errs.size(), 1u);
    EXPECT_TRUE(errs[0].contains("'3rd'") && errs[0].contains("Reset day")) << errs[0].toStdString();
    EXPECT_TRUE(h.router().requestLog().empty());
    EXPECT_EQ(text(h, "MBUsed_Edit"), "12.5"); // read before the failing key
    EXPECT_EQ(text(h, "Dir_Edit"), "");
}

TEST(AppSettings, AQuotaThatIsNoNumberIsReportedLikeEveryOtherKey) {
    MainFormHarness::Options o;
    o.settings = {{"Quota", "GBQuota", "ten"}, {"EventLog", "Directory", "/x/"}};
    MainFormHarness h(o);
    const auto errs = errors();
    ASSERT_EQ(errs.size(), 1u);
    EXPECT_EQ(errs[0],
              QStringLiteral("'ten' is not a valid number: key \"GBQuota\" in section [Quota] of the "
                             "settings file \"%1\". The rest of the start-up was skipped.")
                  .arg(SettingsFile::fileName()));
    EXPECT_EQ(text(h, "GBQuota_Edit"), "ten");
    EXPECT_TRUE(h.router().requestLog().empty());
}

TEST(AppSettings, ResetDayTakesHexAndStaysWithinTheMonth) {
    MainFormHarness::Options o;
    o.settings = {{"Quota", "Reset day", "0x1F"}};
    MainFormHarness h(o);
    EXPECT_EQ(h.find<QSpinBox>("ResetDay_Edit")->value(), 31);
    MainFormHarness::Options big;
    big.settings = {{"Quota", "Reset day", "45"}};
    MainFormHarness h2(big);
    EXPECT_EQ(h2.find<QSpinBox>("ResetDay_Edit")->value(), 31);
    EXPECT_TRUE(errors().empty());
}

TEST(AppSettings, NumbersFollowTheLocaleAndAreReadBackWithTheSameLocale) {
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    MainFormHarness::Options o;
    o.settings = {{"Quota", "ISP bytes in Gigabyte", "1000000000,5"},
                  {"Quota", "ISP bytes in Megabyte", "1000000"}};
    MainFormHarness h(o);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerGigabyte, 1000000000.5);
    UiSeam::setNextAnswer(QMessageBox::No);
    h.closeForm();
    EXPECT_EQ(h.settings().readString("Quota", "ISP bytes in Gigabyte", ""), "1000000000,5");

    // The same text is no number where the point is the decimal separator.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    MainFormHarness h2(o);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_TRUE(errors()[0].contains("'1000000000,5'"));
}

TEST(AppSettings, LastResetDateOfTodayMeansTheResetIsDone) {
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    const QDate today(2024, 5, 14);
    MainFormHarness::Options o;
    o.settings = {{"Quota", "Last reset date", settingstext::shortDate(today, QLocale())}};
    o.createForm = false;
    MainFormHarness h(o);
    Clock::setNow(QDateTime(today, QTime(9, 0)));
    h.createForm();
    EXPECT_TRUE(h.form().quotaMonitor().figures().QuotaResetDone);
    h.destroyForm();
    Clock::setNow(QDateTime(today.addDays(1), QTime(9, 0)));
    h.createForm();
    EXPECT_FALSE(h.form().quotaMonitor().figures().QuotaResetDone);
}

TEST(AppSettings, CloseAnsweredNoKeepsTheWindowAndYesClosesItTheFileWrittenEitherWay) {
    MainFormHarness h;
    h.find<QLineEdit>("Community_Edit")->setText("changed once");
    UiSeam::resetTestRecord();
    UiSeam::setNextAnswer(QMessageBox::No);
    EXPECT_FALSE(h.closeForm());
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages()[0].text, "Close Kestrune Utility?");
    EXPECT_EQ(UiSeam::messages()[0].kind, UiSeam::BoxKind::Question);
    EXPECT_EQ(h.settings().readString("System Info Settings", "Community", ""), "changed once");

    h.find<QLineEdit>("Community_Edit")->setText("changed twice");
    UiSeam::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(h.closeForm());
    EXPECT_EQ(h.settings().readString("System Info Settings", "Community", ""), "changed twice");
    // Nothing was logged, so nothing is offered.
    EXPECT_EQ(UiSeam::messages().size(), 2u);
    EXPECT_TRUE(UiSeam::saveRequests().empty());
}

TEST(AppSettings, ExitAsksLikeTheWindowsCloseButton) {
    MainFormHarness h;
    h.form().show();
    UiSeam::resetTestRecord();
    UiSeam::setNextAnswer(QMessageBox::No);
    h.find<QAction>("Exit1")->trigger();
    EXPECT_TRUE(h.form().isVisible());
    UiSeam::setNextAnswer(QMessageBox::Yes);
    h.find<QAction>("Exit1")->trigger();
    EXPECT_FALSE(h.form().isVisible());
    EXPECT_EQ(UiSeam::messages().size(), 2u);
}

TEST(AppSettings, TheConnectionLogIsOfferedOnlyWhenItHasUnsavedLines) {
    MainFormHarness h;
    auto* log = h.find<QPlainTextEdit>("LinkLog_Memo");
    ASSERT_NE(log, nullptr);
    const QString target = QDir(h.dir()).filePath("saved.log");

    // Lines but not changed since the last save: only the confirmation.
    log->setPlainText("line one\nline two");
    h.form().connectionMonitor().link().LinkLogChanged = false;
    UiSeam::resetTestRecord();
    EXPECT_TRUE(h.closeForm());
    EXPECT_EQ(UiSeam::messages().size(), 1u);

    // Changed but empty: nothing offered.
    log->clear();
    h.form().connectionMonitor().link().LinkLogChanged = true;
    UiSeam::resetTestRecord();
    EXPECT_TRUE(h.closeForm());
    EXPECT_EQ(UiSeam::messages().size(), 1u);

    // Lines and changed: offered; a cancelled dialog closes without a file.
    log->setPlainText("line one\nline two");
    UiSeam::resetTestRecord();
    UiSeam::setNextAnswer(QMessageBox::Yes);
    UiSeam::setNextAnswer(QMessageBox::Yes);
    UiSeam::setNextSaveFileName("");
    EXPECT_TRUE(h.closeForm());
    ASSERT_EQ(UiSeam::messages().size(), 2u);
    EXPECT_EQ(UiSeam::messages()[1].text, "Save connection log?");
    ASSERT_EQ(UiSeam::saveRequests().size(), 1u);
    const auto& req = UiSeam::saveRequests()[0];
    EXPECT_EQ(req.fileName, "kestrune_connection");
    EXPECT_EQ(req.defaultSuffix, "log");
    EXPECT_EQ(req.filters.size(), 3);
    EXPECT_TRUE(req.filters.value(0).startsWith("Log file"));
    EXPECT_FALSE(QFile::exists(target));

    // Saved: one line per pane line.
    UiSeam::resetTestRecord();
    UiSeam::setNextAnswer(QMessageBox::Yes);
    UiSeam::setNextAnswer(QMessageBox::Yes);
    UiSeam::setNextSaveFileName(target);
    EXPECT_TRUE(h.closeForm());
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("line one\nline two\n"));
    EXPECT_FALSE(h.form().connectionMonitor().link().LinkLogChanged);

    // Declined: no dialog.
    h.form().connectionMonitor().link().LinkLogChanged = true;
    UiSeam::resetTestRecord();
    UiSeam::setNextAnswer(QMessageBox::Yes);
    UiSeam::setNextAnswer(QMessageBox::No);
    EXPECT_TRUE(h.closeForm());
    EXPECT_TRUE(UiSeam::saveRequests().empty());
}

TEST(AppSettings, AReadOnlySettingsFileIsLeftAsItIsAndSaidOnceAtClose) {
    MainFormHarness::Options o;
    o.createForm = false;
    MainFormHarness h(o);
    const QByteArray before = h.settingsBytes();
    ASSERT_TRUE(
        QFile::setPermissions(h.settingsPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    h.createForm();
    EXPECT_TRUE(errors().empty());
    UiSeam::setNextAnswer(QMessageBox::Yes);
    EXPECT_TRUE(h.closeForm());
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_TRUE(errors()[0].contains("the file is read-only")) << errors()[0].toStdString();
    EXPECT_EQ(h.settingsBytes(), before);
}
