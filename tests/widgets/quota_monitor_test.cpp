// The Quota page of the real window against the router stand-in, in a locale with a decimal point
// and in one with a decimal comma.
#include "support/MainFormHarness.h"

#include "monitor/QuotaMonitor.h"

#include "ui/Clock.h"
#include "ui/UiSeam.h"
#include "net/core/SnmpBer.h"
#include "sim/RouterSim.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using testsupport::MainFormHarness;

namespace {

constexpr double GiB = 1073741824.0;
constexpr std::uint32_t kBaseIn = 1000;
constexpr std::uint32_t kBaseOut = 500;
const std::string kWanIn = "1.3.6.1.2.1.2.2.1.10.4";
const std::string kWanOut = "1.3.6.1.2.1.2.2.1.16.4";

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};

// A router whose WAN counters only move when the test says so.
MainFormHarness::Options quotaOptions(std::vector<testsupport::SettingEntry> extra = {},
                                      std::uint32_t baseIn = kBaseIn) {
    MainFormHarness::Options o;
    o.settings = {{"Quota", "GBQuota", "10"}};
    o.settings.insert(o.settings.end(), extra.begin(), extra.end());
    o.setupRouter = [baseIn](sim::Router& r) {
        r.setTraffic(sim::WanIf, 0, 0);
        r.setOctets(sim::WanIf, baseIn, kBaseOut);
        r.setUptime(500000);
    };
    return o;
}

class QuotaMonitor : public ::testing::TestWithParam<QLocale::Language> {
protected:
    LocaleScope m_locale{QLocale(GetParam())};

    // A text written with a point, in the current locale's decimal separator.
    static QString num(QString text) {
        text.replace(QLatin1Char('.'), QLocale().decimalPoint());
        return text;
    }
    // The counters as they read after this many bytes since the start-up baseline.
    static void transferred(MainFormHarness& h, double down, double up = 0) {
        const auto wrap = [](double v) { return std::uint32_t(std::uint64_t(v) % 4294967296ULL); };
        h.router().setOctets(sim::WanIf, wrap(kBaseIn + down), wrap(kBaseOut + up));
    }
    static void showQuota(MainFormHarness& h) {
        h.form().pageControl()->setCurrentWidget(h.find<QWidget>("Quota_Tab"));
    }
    static void showSystem(MainFormHarness& h) {
        h.form().pageControl()->setCurrentWidget(h.find<QWidget>("GenSysInfo"));
    }
    static void update(MainFormHarness& h) { h.find<QPushButton>("GetValues_But")->click(); }
    static void tick(MainFormHarness& h) { h.form().Quota_TimerTimer(h.find<QTimer>("Quota_Timer")); }
    static int bar(MainFormHarness& h) { return h.find<QProgressBar>("In_ProgressBar")->value(); }
    static QString percent(MainFormHarness& h) { return h.find<QLabel>("PercentUsed_Label")->text(); }
    static QString remaining(MainFormHarness& h) { return h.find<QLabel>("QuotaRemaining_Label")->text(); }
    static QRgb colour(MainFormHarness& h) {
        return h.find<QProgressBar>("In_ProgressBar")->palette().color(QPalette::Highlight).rgb() & 0xFFFFFF;
    }
    static bool asked(sim::Router& r, const std::string& oid) {
        const auto log = r.requestLog();
        return std::find(log.begin(), log.end(), oid) != log.end();
    }
};

TEST_P(QuotaMonitor, PageWidgetsAndStartUpBaseline) {
    MainFormHarness h(quotaOptions());
    auto* b = h.find<QProgressBar>("In_ProgressBar");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->orientation(), Qt::Vertical);
    EXPECT_EQ(b->minimum(), 0);
    EXPECT_EQ(b->maximum(), 100);
    EXPECT_EQ(percent(h), "------");
    EXPECT_EQ(remaining(h), "----");
    EXPECT_EQ(h.find<QLabel>("LastResetDate_Label")->text(), "------");
    EXPECT_TRUE(h.find<QRadioButton>("Down_RBut")->isChecked());
    EXPECT_EQ(h.find<QSpinBox>("ResetDay_Edit")->maximum(), 31);
    EXPECT_EQ(h.find<QPushButton>("CalcQuota_But")->text(), "Calculate");
    EXPECT_EQ(h.find<QLineEdit>("Gbytes_Edit")->text(), "1073741824");
    EXPECT_EQ(h.find<QLineEdit>("MBytes_Edit")->text(), "1048576");
    // The router answered at start-up: the baseline is taken.
    EXPECT_EQ(h.form().quotaMonitor().figures().BaseInOctets, kBaseIn);
    EXPECT_EQ(h.form().quotaMonitor().figures().BaseOutOctets, kBaseOut);
    EXPECT_EQ(h.form().quotaMonitor().figures().QuotaBytes, 10 * GiB);
    EXPECT_EQ(h.form().statusText(), " Ready");

    // The formatters as other parts of the window use them.
    EXPECT_EQ(h.form().FormatGbMb("2147483648"), num("2.0000 Gb"));
    EXPECT_EQ(h.form().FormatGbMb("1073741824"), num("1024.0000 Mb"));
    EXPECT_EQ(h.form().FormatGbMb("524288"), num(".5000 Mb"));
    EXPECT_EQ(h.form().FormatGbMb(num("-3221225472.0")), num("-3072.0000 Mb"));
    EXPECT_EQ(h.form().FormatMbNumber(num("1572864.0")), num("1.5000"));
    EXPECT_EQ(h.form().FormatMbNumber("0"), "0");
    EXPECT_EQ(h.form().FormatMbNumber("-7"), "0");
}

TEST_P(QuotaMonitor, PercentagesColoursAndTheRemainingQuota) {
    MainFormHarness h(quotaOptions());
    showQuota(h);
    EXPECT_EQ(h.find<QTabWidget>("PageControl")->property("helpKeyword").toString(), "120.html");

    struct Step {
        double used;
        int bar;
        const char* left;
        QRgb colour;
    };
    // Each step stays below 4 GiB of traffic, so the 32-bit counter wraps between reads are seen.
    const Step steps[] = {
        {2.5 * GiB, 25, "7.5000 Gb (75%)", 0x008000}, {5 * GiB, 50, "5.0000 Gb (50%)", 0x008000},
        {7 * GiB, 70, "3.0000 Gb (30%)", 0xFFFF00},   {8.5 * GiB, 85, "1.5000 Gb (15%)", 0xFF0000},
        {10 * GiB, 100, ".0000 Mb (0%)", 0xFF0000},   {13 * GiB, 100, "-3072.0000 Mb (0%)", 0xFF0000},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.bar);
        transferred(h, s.used);
        update(h);
        EXPECT_EQ(bar(h), s.bar);
        EXPECT_EQ(percent(h), QString::number(s.bar) + "%");
        EXPECT_EQ(remaining(h), num(s.left));
        EXPECT_EQ(colour(h), s.colour);
        // The colour the bar is drawn with, not only the one kept in its palette.
        EXPECT_TRUE(h.find<QProgressBar>("In_ProgressBar")
                        ->styleSheet()
                        .contains(QStringLiteral("#%1;").arg(s.colour, 6, 16, QLatin1Char('0'))));
        EXPECT_EQ(h.form().statusText(), " Ready");
    }
    EXPECT_EQ(h.form().QuotaUsedBytes(), 13 * GiB);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
}

TEST_P(QuotaMonitor, TicksOnlyMoveTheBarForwardTheUpdateButtonAlsoBack) {
    MainFormHarness h(quotaOptions());
    showQuota(h);
    transferred(h, 3.5 * GiB); // each read within 4 GiB of the last
    tick(h);
    transferred(h, 7 * GiB);
    tick(h);
    EXPECT_EQ(bar(h), 70);

    // The user re-adjusts the used quota to 3 GiB: the used figure falls to 30 %.
    h.find<QLineEdit>("MBUsed_Edit")->setText("3072");
    h.find<QPushButton>("CalcQuota_But")->click();
    EXPECT_EQ(h.form().QuotaUsedBytes(), 3 * GiB);

    tick(h);
    EXPECT_EQ(bar(h), 70);
    EXPECT_EQ(percent(h), "70%");
    EXPECT_EQ(remaining(h), num("7.0000 Gb (30%)"));
    showSystem(h);
    showQuota(h); // a page change does not move it back either
    EXPECT_EQ(bar(h), 70);
    EXPECT_EQ(percent(h), "70%");

    update(h);
    EXPECT_EQ(bar(h), 30);
    EXPECT_EQ(percent(h), "30%");
    EXPECT_EQ(remaining(h), num("7.0000 Gb (70%)"));
    EXPECT_EQ(colour(h), 0x008000u);
}

TEST_P(QuotaMonitor, DownloadAndUploadHasNoPercentageInTheRemainingText) {
    MainFormHarness h(quotaOptions());
    showQuota(h);
    h.find<QRadioButton>("DownUp_RBut")->setChecked(true);
    transferred(h, 2 * GiB, 1 * GiB);
    update(h);
    EXPECT_EQ(bar(h), 30);
    EXPECT_EQ(percent(h), "30%");
    EXPECT_EQ(remaining(h), num("7.0000 Gb"));
    // The choice is read at every refresh.
    h.find<QRadioButton>("Down_RBut")->setChecked(true);
    update(h);
    EXPECT_EQ(bar(h), 20);
    EXPECT_EQ(remaining(h), num("8.0000 Gb (80%)"));
}

TEST_P(QuotaMonitor, RedefineChangesTheUnitsAtOnceAndTheQuotaAtTheNextCalculate) {
    MainFormHarness h(quotaOptions());
    showQuota(h);
    transferred(h, 2.5 * GiB);
    update(h);
    EXPECT_EQ(remaining(h), num("7.5000 Gb (75%)"));

    h.find<QLineEdit>("Gbytes_Edit")->setText("2147483648");
    h.find<QPushButton>("ReDefGB_But")->click();
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerGigabyte, 2 * GiB);
    EXPECT_EQ(h.form().quotaMonitor().figures().QuotaBytes, 10 * GiB); // not yet
    update(h);
    EXPECT_EQ(bar(h), 25);
    EXPECT_EQ(remaining(h), num("3.7500 Gb (75%)"));

    // A gigabyte larger than what is left: the remaining text falls back to megabytes.
    h.find<QLineEdit>("Gbytes_Edit")->setText("9000000000");
    h.find<QPushButton>("ReDefGB_But")->click();
    update(h);
    EXPECT_EQ(remaining(h), num("7680.0000 Mb (75%)"));

    h.find<QLineEdit>("Gbytes_Edit")->setText("2147483648");
    h.find<QPushButton>("ReDefGB_But")->click();
    h.find<QPushButton>("CalcQuota_But")->click();
    EXPECT_EQ(h.form().quotaMonitor().figures().QuotaBytes, 20 * GiB);

    h.find<QLineEdit>("MBytes_Edit")->setText(num("1000000.5"));
    h.find<QPushButton>("ReDefMB_But")->click();
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerMegabyte, 1000000.5);

    // Texts that are no size leave the sizes as they are and say so.
    UiSeam::resetTestRecord();
    for (const char* bad : {"abc", "0", "-5", ""}) {
        h.find<QLineEdit>("Gbytes_Edit")->setText(bad);
        h.find<QPushButton>("ReDefGB_But")->click();
        h.find<QLineEdit>("MBytes_Edit")->setText(bad);
        h.find<QPushButton>("ReDefMB_But")->click();
    }
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerGigabyte, 2 * GiB);
    EXPECT_EQ(h.form().quotaMonitor().figures().BytesPerMegabyte, 1000000.5);
    ASSERT_EQ(UiSeam::messages().size(), 8u);
    EXPECT_EQ(UiSeam::messages()[0].kind, UiSeam::BoxKind::Error);
    EXPECT_TRUE(UiSeam::messages()[0].text.contains("abc"));
}

TEST_P(QuotaMonitor, MonthlyResetOnItsDayOnlyOnce) {
    MainFormHarness h(quotaOptions());
    showQuota(h);
    transferred(h, 2.5 * GiB);
    update(h);
    auto* mbUsed = h.find<QLineEdit>("MBUsed_Edit");
    auto* day = h.find<QSpinBox>("ResetDay_Edit");
    const QDate april30(2024, 4, 30);
    const QString april30Text = QLocale().toString(april30, QLocale::ShortFormat);

    // Day 31 never comes in April; day 0 never comes at all.
    mbUsed->setText("500");
    Clock::setNow(QDateTime(april30, QTime(10, 0)));
    for (int d : {31, 0}) {
        day->setValue(d);
        tick(h);
        EXPECT_EQ(mbUsed->text(), "500");
        EXPECT_FALSE(h.form().quotaMonitor().figures().QuotaResetDone);
    }
    EXPECT_EQ(h.find<QLabel>("LastResetDate_Label")->text(), "------");

    day->setValue(30);
    tick(h);
    EXPECT_TRUE(h.form().quotaMonitor().figures().QuotaResetDone);
    EXPECT_EQ(mbUsed->text(), "0");
    EXPECT_EQ(h.form().quotaMonitor().figures().UsedOffsetBytes, 0);
    EXPECT_EQ(h.find<QLabel>("LastResetDate_Label")->text(), april30Text);
    EXPECT_EQ(bar(h), 0);
    EXPECT_EQ(percent(h), "0%");
    EXPECT_EQ(remaining(h), num("10.0000 Gb (100%)"));
    EXPECT_EQ(h.form().QuotaUsedBytes(), 0);
    // Written to the settings file at once.
    EXPECT_EQ(h.settings().readString("Quota", "Last reset date", "?"), april30Text);

    // Not a second time on the same day.
    mbUsed->setText("77");
    tick(h);
    EXPECT_EQ(mbUsed->text(), "77");

    // The next day clears the flag; the next month's day resets again.
    Clock::setNow(QDateTime(QDate(2024, 5, 1), QTime(0, 5)));
    tick(h);
    EXPECT_FALSE(h.form().quotaMonitor().figures().QuotaResetDone);
    Clock::setNow(QDateTime(QDate(2024, 5, 30), QTime(0, 5)));
    tick(h);
    EXPECT_TRUE(h.form().quotaMonitor().figures().QuotaResetDone);
    EXPECT_EQ(mbUsed->text(), "0");
    EXPECT_EQ(h.settings().readString("Quota", "Last reset date", "?"),
              QLocale().toString(QDate(2024, 5, 30), QLocale::ShortFormat));
}

TEST_P(QuotaMonitor, ResetWhileTheRouterDoesNotAnswerStillStartsFromZero) {
    MainFormHarness h(quotaOptions());
    showQuota(h);
    transferred(h, 2.5 * GiB);
    update(h);
    ASSERT_EQ(bar(h), 25);

    h.find<QSpinBox>("ResetDay_Edit")->setValue(30);
    Clock::setNow(QDateTime(QDate(2024, 4, 30), QTime(10, 0)));
    h.router().setSilent(true);
    tick(h);
    EXPECT_TRUE(h.form().quotaMonitor().figures().QuotaResetDone);
    EXPECT_EQ(h.form().QuotaUsedBytes(), 0);
    EXPECT_EQ(h.form().MBUsedAtClose(), "0");

    h.router().setSilent(false);
    transferred(h, 3 * GiB);
    Clock::setNow(QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
    tick(h);
    EXPECT_EQ(h.form().QuotaUsedBytes(), 0.5 * GiB);
    EXPECT_EQ(bar(h), 5);
    EXPECT_EQ(percent(h), "5%");
}

TEST_P(QuotaMonitor, NoSecondResetAfterARestartOnTheResetDay) {
    const QDate april30(2024, 4, 30);
    auto o = quotaOptions({{"Quota", "Reset day", "30"},
                           {"Quota", "MBUsed", "500"},
                           {"Quota", "Last reset date", QLocale().toString(april30, QLocale::ShortFormat)}});
    o.createForm = false;
    MainFormHarness h(o);
    Clock::setNow(QDateTime(april30, QTime(18, 0)));
    h.createForm();
    EXPECT_TRUE(h.form().quotaMonitor().figures().QuotaResetDone);
    tick(h);
    EXPECT_EQ(h.find<QLineEdit>("MBUsed_Edit")->text(), "500");
    EXPECT_EQ(h.form().quotaMonitor().figures().UsedOffsetBytes, 500 * 1048576.0);
}

TEST_P(QuotaMonitor, CounterWrapAndRouterRestartDuringMonitoring) {
    MainFormHarness h(quotaOptions({}, 4294000000u));
    showQuota(h);
    double last = 0;
    const auto used = [&] {
        const double u = h.form().QuotaUsedBytes();
        EXPECT_GE(u, last);
        last = u;
        return u;
    };

    h.router().setOctets(sim::WanIf, 4294967000u, 0);
    tick(h);
    EXPECT_EQ(used(), 967000.0);
    h.router().setOctets(sim::WanIf, 2000000u, 0); // wrapped past 4294967295
    tick(h);
    EXPECT_EQ(used(), 967296.0 + 2000000.0);
    EXPECT_EQ(h.form().quotaMonitor().figures().InOctets - h.form().quotaMonitor().figures().BaseInOctets, 2967296.0);

    h.router().restart(); // uptime and counters back to 0
    h.router().setOctets(sim::WanIf, 5000u, 0);
    update(h);
    EXPECT_EQ(used(), 2967296.0 + 5000.0);
    h.router().setOctets(sim::WanIf, 9000u, 0);
    tick(h);
    EXPECT_EQ(used(), 2967296.0 + 9000.0);

    // The close figure follows the running count.
    EXPECT_EQ(h.form().MBUsedAtClose(), num("2.8384")); // 2976296 / 1048576 = 2.838417...
}

TEST_P(QuotaMonitor, UsedMegabytesWrittenAtClose) {
    MainFormHarness h(quotaOptions({{"Quota", "MBUsed", "100"}}));
    showQuota(h);
    transferred(h, 2.5 * GiB);
    UiSeam::setNextAnswer(QMessageBox::No);
    EXPECT_FALSE(h.closeForm());
    // The close refresh read the counters: 2560 MB since the baseline plus 100 before it.
    EXPECT_EQ(h.settings().readString("Quota", "MBUsed", "?"), num("2660.0000"));
}

TEST_P(QuotaMonitor, WithoutABaselineTheCloseKeepsTheUsersFigure) {
    auto o = quotaOptions({{"Quota", "MBUsed", num("1234.5")}});
    o.setupRouter = [](sim::Router& r) { r.setSilent(true); };
    UiSeam::setNextAnswer(QMessageBox::Ok);
    MainFormHarness h(o);
    EXPECT_EQ(h.form().session().interfaces().IfNumber, 0);
    EXPECT_EQ(h.form().MBUsedAtClose(), num("1234.5"));
    UiSeam::setNextAnswer(QMessageBox::No);
    h.closeForm();
    EXPECT_EQ(h.settings().readString("Quota", "MBUsed", "?"), num("1234.5"));

    // What the user typed since is kept too; an emptied edit gives 0.
    h.find<QLineEdit>("MBUsed_Edit")->setText("99");
    EXPECT_EQ(h.form().MBUsedAtClose(), "99");
    h.find<QLineEdit>("MBUsed_Edit")->setText("");
    EXPECT_EQ(h.form().MBUsedAtClose(), "0");

    // Once the router answers and "Calculate" runs, the counters count again.
    h.router().setSilent(false);
    h.form().GenSysInfoClick();
    h.find<QLineEdit>("MBUsed_Edit")->setText("10");
    h.find<QPushButton>("CalcQuota_But")->click();
    EXPECT_EQ(h.form().MBUsedAtClose(), num("10.0000"));
}

TEST_P(QuotaMonitor, FailuresLeaveTheDisplayAndTheBaselineAlone) {
    MainFormHarness h(quotaOptions());
    showQuota(h);
    transferred(h, 2.5 * GiB);
    update(h);
    const double base = h.form().quotaMonitor().figures().BaseInOctets;

    h.router().setSilent(true);
    const int beeps = UiSeam::beepCount();
    update(h);
    EXPECT_EQ(h.form().statusText(), " Error: Check IP address and/or SNMP community name");
    EXPECT_EQ(bar(h), 25);
    EXPECT_EQ(remaining(h), num("7.5000 Gb (75%)"));
    EXPECT_EQ(UiSeam::beepCount(), beeps); // the refresh does not beep

    h.find<QPushButton>("CalcQuota_But")->click();
    EXPECT_EQ(h.form().statusText(), " Error: Check IP address and/or SNMP community name");
    EXPECT_EQ(UiSeam::beepCount(), beeps + 1);
    EXPECT_EQ(h.form().quotaMonitor().figures().BaseInOctets, base);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    h.router().setSilent(false);

    // A counter that is not an integer.
    UiSeam::resetTestRecord();
    h.router().set(kWanIn, ber::OctetString, "lots");
    update(h);
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages()[0].kind, UiSeam::BoxKind::Warning);
    EXPECT_EQ(UiSeam::messages()[0].title, "Warning");
    EXPECT_EQ(UiSeam::messages()[0].text, "Value is not an integer error!");
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(bar(h), 25);
    // "Calculate" with it keeps the old baseline and says why.
    h.find<QPushButton>("CalcQuota_But")->click();
    EXPECT_EQ(h.form().quotaMonitor().figures().BaseInOctets, base);
    EXPECT_TRUE(h.form().statusText().startsWith(" Error: "));

    // "Calculate" with a good in counter but an out counter that is not one: the baseline stays.
    h.router().set(kWanIn, ber::Counter, std::to_string(kBaseIn + 3 * 1073741824ULL));
    h.router().set(kWanOut, ber::OctetString, "lots");
    h.find<QPushButton>("CalcQuota_But")->click();
    EXPECT_EQ(h.form().quotaMonitor().figures().BaseInOctets, base);
    EXPECT_EQ(h.form().statusText(), " Error: The WAN interface's byte counter is not a number");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);

    // The out counter is read too: one that is not an integer is reported the same way, even with
    // the download-only choice, and leaves the display alone.
    UiSeam::resetTestRecord();
    h.router().set(kWanIn, ber::Counter, std::to_string(kBaseIn + 3 * 1073741824ULL));
    h.router().set(kWanOut, ber::OctetString, "lots");
    update(h);
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages()[0].title, "Warning");
    EXPECT_EQ(UiSeam::messages()[0].text, "Value is not an integer error!");
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(bar(h), 25);
    EXPECT_EQ(remaining(h), num("7.5000 Gb (75%)"));
    h.router().set(kWanOut, ber::Counter, std::to_string(kBaseOut));
    UiSeam::resetTestRecord();
    update(h);
    EXPECT_TRUE(UiSeam::messages().empty());
    EXPECT_EQ(bar(h), 30);

    // A unit size of 0 (from a hand-edited settings file).
    UiSeam::resetTestRecord();
    h.router().set(kWanIn, ber::Counter, "5000");
    h.form().quotaMonitor().figures().BytesPerGigabyte = 0;
    update(h);
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages()[0].text, "Division by zero error!");
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
}

TEST_P(QuotaMonitor, CalculateWithAQuotaThatIsNotANumber) {
    MainFormHarness h(quotaOptions());
    transferred(h, 1 * GiB);
    UiSeam::resetTestRecord();
    h.find<QLineEdit>("GBQuota_Edit")->setText("ten");
    h.find<QPushButton>("CalcQuota_But")->click();
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_EQ(UiSeam::messages()[0].kind, UiSeam::BoxKind::Error);
    EXPECT_TRUE(UiSeam::messages()[0].text.contains("ten"));
    // The new counter baseline is in force, the quota is the old one.
    EXPECT_EQ(h.form().quotaMonitor().figures().BaseInOctets, kBaseIn + GiB);
    EXPECT_EQ(h.form().quotaMonitor().figures().QuotaBytes, 10 * GiB);
    EXPECT_NE(h.form().statusText(), " Busy ... please wait");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);

    h.find<QLineEdit>("GBQuota_Edit")->setText(num("2.5"));
    h.find<QPushButton>("CalcQuota_But")->click();
    EXPECT_EQ(h.form().quotaMonitor().figures().QuotaBytes, 2.5 * GiB);
}

TEST_P(QuotaMonitor, TicksWhileAnotherPageIsShownOnlyWithTheTimerOn) {
    MainFormHarness h(quotaOptions());
    showSystem(h);
    transferred(h, 2.5 * GiB);
    h.find<QTabWidget>("PageControl")->setProperty("helpKeyword", "110.html");

    h.router().clearRequestLog();
    tick(h);
    EXPECT_FALSE(asked(h.router(), kWanIn));
    EXPECT_EQ(bar(h), 0);

    h.find<QTimer>("Quota_Timer")->start();
    tick(h);
    h.find<QTimer>("Quota_Timer")->stop();
    EXPECT_TRUE(asked(h.router(), kWanIn));
    EXPECT_EQ(bar(h), 25);
    EXPECT_EQ(h.form().statusText(), " Ready");
    // A tick leaves the help keyword alone.
    EXPECT_EQ(h.find<QTabWidget>("PageControl")->property("helpKeyword").toString(), "110.html");

    // The close request as sender does nothing while another page is shown, but it is no timer:
    // the help keyword becomes the Quota page's on the tab control and both buttons.
    h.router().clearRequestLog();
    h.form().QuotaClick(&h.form());
    EXPECT_FALSE(asked(h.router(), kWanIn));
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(h.find<QTabWidget>("PageControl")->property("helpKeyword").toString(), "120.html");
    EXPECT_EQ(h.find<QPushButton>("GetValues_But")->property("helpKeyword").toString(), "120.html");
    EXPECT_EQ(h.find<QPushButton>("Help_But")->property("helpKeyword").toString(), "120.html");
}

INSTANTIATE_TEST_SUITE_P(Locales, QuotaMonitor, ::testing::Values(QLocale::English, QLocale::German),
                         [](const auto& info) {
                             return QLocale::languageToString(info.param).toStdString();
                         });

} // namespace
