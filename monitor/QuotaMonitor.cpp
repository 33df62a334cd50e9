// Data-quota monitor: the Quota page, the baseline ("Calculate"), the refresh, the monthly reset
// tick, the ISP's unit sizes ("Redefine") and the quota formatters.
#include "monitor/QuotaMonitor.h"

#include "app/core/SettingKey.h"
#include "app/core/SettingsFile.h"
#include "app/core/SettingsText.h"
#include "monitor/core/CounterTracker.h"
#include "monitor/core/QuotaMath.h"
#include "net/core/MibObjects.h"
#include "net/core/SnmpText.h"
#include "ui/Clock.h"
#include "ui/PageAction.h"
#include "ui/StatusTexts.h"
#include "ui/UiSeam.h"
#include "ui/WidgetFactory.h"
#include "windows/core/HelpKeywords.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace monitor {

namespace {

constexpr int kIfInOctets = mib::IfInOctets;
constexpr int kIfOutOctets = mib::IfOutOctets;

QString counterNotNumber() {
    return QStringLiteral(" Error: The WAN interface's byte counter is not a number");
}

// The fill colour: drawn through the style sheet, and kept in the palette's highlight colour too
// (set after the style sheet, which would otherwise replace it) for whoever reads it back.
void setBarColour(QProgressBar* bar, std::uint32_t rgb) {
    bar->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #808080; background: #ffffff; }"
                                      " QProgressBar::chunk { background-color: #%1; }")
                           .arg(rgb, 6, 16, QLatin1Char('0')));
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Highlight, QColor::fromRgb(rgb));
    bar->setPalette(palette);
}

QString notValidFloat(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

// The one key the quota monitor writes itself: the date of the last monthly reset, on disk at once.
void writeLastResetDate(QWidget* parent, const QString& date) {
    SettingsFile settings;
    settings.ini().writeString(settingkeys::Quota, settingkeys::LastResetDate, date);
    QString error;
    if (!settings.release(error)) UiSeam::error(parent, error);
}

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h = 21) {
    return widgets::caption(parent, text, {x, y, w, h});
}

QLabel* makeValue(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h = 21,
                  unsigned style = widgets::Plain) {
    return widgets::value(parent, name, text, {x, y, w, h}, style);
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& text, int y) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(QString::fromLatin1(name));
    r->setGeometry(12, y, 440, 22);
    return r;
}

void warnNotInteger(QWidget* parent) {
    UiSeam::warning(parent, QStringLiteral("Warning"), QStringLiteral("Value is not an integer error!"));
}

} // namespace

QuotaMonitor::QuotaMonitor(QWidget* page, RouterSession& session, PageFrame& frame,
                           std::function<bool()> shown, std::function<bool()> ticking)
    : m_session(session), m_frame(frame), m_shown(std::move(shown)), m_ticking(std::move(ticking)) {
    buildPage(page);
}

void QuotaMonitor::buildPage(QWidget* page) {
    // The bar with its scale; the scale labels sit at the height of their percentage.
    constexpr int barX = 20, barY = 16, barH = 300;
    QuotaPageWidgets& q = m_ui;
    auto* bar = q.In_ProgressBar = new QProgressBar(page);
    bar->setObjectName(QStringLiteral("In_ProgressBar"));
    bar->setOrientation(Qt::Vertical);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setGeometry(barX, barY, 28, barH);
    setBarColour(bar, quota::kGreen);
    for (int mark : {25, 50, 65, 75, 85, 95}) {
        auto* l = makeLabel(page, QStringLiteral("-- %1").arg(mark), barX + 30,
                            barY + barH * (100 - mark) / 100 - 8, 50, 16);
        l->setObjectName(QStringLiteral("Scale%1_Label").arg(mark));
    }

    q.PercentUsed_Label = makeValue(page, "PercentUsed_Label", QStringLiteral("------"), barX - 6,
                                    barY + barH + 8, 80, 21, widgets::Bold);
    makeLabel(page, QStringLiteral("Quota left: "), 14, barY + barH + 36, 80);
    q.QuotaRemaining_Label = makeValue(page, "QuotaRemaining_Label", QStringLiteral("----"), 90,
                                       barY + barH + 36, 220, 21, widgets::Bold);

    auto* group = new QGroupBox(QStringLiteral(" Data quota details "), page);
    group->setObjectName(QStringLiteral("QuotaDetails_GBox"));
    group->setGeometry(130, 8, 466, 340);

    makeLabel(group, QStringLiteral("Your full quota in gigabytes:"), 12, 26, 220);
    q.GBQuota_Edit = widgets::edit(group, "GBQuota_Edit", 236, 24, 110, QStringLiteral("0"));
    makeLabel(group, QStringLiteral("Gigabytes"), 354, 26, 100);

    makeLabel(group, QStringLiteral("Current used quota in megabytes:"), 12, 56, 220);
    q.MBUsed_Edit = widgets::edit(group, "MBUsed_Edit", 236, 54, 110, QStringLiteral("0"));
    makeLabel(group, QStringLiteral("Megabytes"), 354, 56, 100);

    auto* calc = widgets::button(group, "CalcQuota_But", QStringLiteral("Calculate"), 12, 88, 90);
    auto* note =
        makeLabel(group, QStringLiteral("Only calculate this ONCE unless you re-adjust your used quota!"),
                  110, 86, 346, 32);
    note->setWordWrap(true);

    makeLabel(group, QStringLiteral("ISP defines one gigabyte as"), 12, 134, 180);
    q.Gbytes_Edit = widgets::edit(group, "Gbytes_Edit", 196, 132, 110, QStringLiteral("1073741824"));
    makeLabel(group, QStringLiteral("bytes"), 312, 134, 44);
    auto* redefGb = widgets::button(group, "ReDefGB_But", QStringLiteral("Redefine"), 362, 130, 90);

    makeLabel(group, QStringLiteral("ISP defines one megabyte as"), 12, 166, 180);
    q.MBytes_Edit = widgets::edit(group, "MBytes_Edit", 196, 164, 110, QStringLiteral("1048576"));
    makeLabel(group, QStringLiteral("bytes"), 312, 166, 44);
    auto* redefMb = widgets::button(group, "ReDefMB_But", QStringLiteral("Redefine"), 362, 162, 90);

    q.Down_RBut = radio(group, "Down_RBut", QStringLiteral("Quota includes downloaded data ONLY"), 204);
    q.DownUp_RBut =
        radio(group, "DownUp_RBut", QStringLiteral("Quota includes downloaded AND uploaded data"), 230);
    auto* choice = new QButtonGroup(group);
    choice->setObjectName(QStringLiteral("QuotaData_Group"));
    choice->addButton(q.Down_RBut);
    choice->addButton(q.DownUp_RBut);
    q.Down_RBut->setChecked(true);

    makeLabel(group, QStringLiteral("Reset quota on day  "), 12, 270, 140);
    auto* day = q.ResetDay_Edit = new QSpinBox(group);
    day->setObjectName(QStringLiteral("ResetDay_Edit"));
    day->setRange(0, 31);
    day->setValue(0);
    day->setGeometry(156, 268, 60, 24);
    makeLabel(group, QStringLiteral("of each month"), 224, 270, 140);

    makeLabel(group, QStringLiteral("Last reset"), 12, 304, 80);
    q.LastResetDate_Label = makeValue(group, "LastResetDate_Label", QStringLiteral("------"), 100, 304, 200);

    QObject::connect(calc, &QPushButton::clicked, [this] { calculate(); });
    QObject::connect(redefGb, &QPushButton::clicked, [this] { redefineGigabyte(); });
    QObject::connect(redefMb, &QPushButton::clicked, [this] { redefineMegabyte(); });
}

// One byte counter of the WAN interface.
QuotaMonitor::ReadStatus QuotaMonitor::readWanCounter(int column, std::uint32_t& counter) {
    QString value;
    if (!m_session.get(snmptext::ifColumnOid(column, m_session.interfaces().WanIfIndex), value))
        return ReadStatus::Failed;
    const auto c = quota::parseCounter(value);
    if (!c) return ReadStatus::NotNumber;
    counter = *c;
    return ReadStatus::Ok;
}

// The router's sysUpTime with the counters, to tell a counter wrap from a router restart.
std::optional<std::uint32_t> QuotaMonitor::readUptime() {
    QString value;
    if (!m_session.get(QLatin1String(mib::sysUpTime), value)) return std::nullopt;
    const auto t = quota::parseInt64(value);
    if (!t || *t < 0 || *t > 0xFFFFFFFFLL) return std::nullopt;
    return static_cast<std::uint32_t>(*t);
}

// Counter readings into InOctets / OutOctets: running byte counts that go on across counter wraps
// and router restarts, so that the used figure never falls because of either. The first reading
// is the counter itself.
void QuotaMonitor::takeReadings(std::uint32_t in, std::optional<std::uint32_t> out) {
    const auto uptime = readUptime();
    const std::int64_t now = m_tracking.elapsedMs();
    const auto account = [&](quota::CounterTracker& tracker, std::uint32_t counter, double& octets) {
        const double before = tracker.total();
        if (tracker.feed(counter, uptime, now) == quota::CounterTracker::Event::First)
            octets = counter;
        else
            octets += tracker.total() - before;
    };
    account(m_tracking.in, in, m_figures.InOctets);
    if (out) account(m_tracking.out, *out, m_figures.OutOctets);
}

// Reads ifOutOctets and takes both readings; a failed or non-numeric out counter leaves
// OutOctets as it was. Returns how the out read went.
QuotaMonitor::ReadStatus QuotaMonitor::readOutAndTakeReadings(std::uint32_t in) {
    std::uint32_t outValue = 0;
    std::optional<std::uint32_t> out;
    const ReadStatus status = readWanCounter(kIfOutOctets, outValue);
    if (status == ReadStatus::Ok) out = outValue;
    takeReadings(in, out);
    return status;
}

void QuotaMonitor::calculate() {
    PageAction action(m_frame);
    m_tracking.countersBaselined = false;

    std::uint32_t in = 0;
    switch (readWanCounter(kIfInOctets, in)) {
    case ReadStatus::Failed:
        return action.fail();
    case ReadStatus::NotNumber:
        // No usable counter (the WAN interface is not known, or the router sent no number):
        // the baseline stays as it was.
        return action.fail(counterNotNumber());
    case ReadStatus::Ok:
        break;
    }
    // ifOutOctets: a failed read is ignored (OutOctets keeps its value); a value that is not a
    // counter stops here like one of ifInOctets, with the in counter taken and the baseline kept.
    if (readOutAndTakeReadings(in) == ReadStatus::NotNumber) return action.fail(counterNotNumber());

    m_figures.BaseInOctets = m_figures.InOctets;
    m_figures.BaseOutOctets = m_figures.OutOctets;
    m_tracking.countersBaselined = true;

    const QChar point = quota::localeDecimalPoint();
    const QString gbText = m_ui.GBQuota_Edit->text();
    const auto gb = quota::parseNumber(gbText, point);
    if (!gb) {
        action.end();
        UiSeam::error(m_frame.dialogParent(), notValidFloat(gbText));
        return;
    }
    m_figures.QuotaBytes = *gb * m_figures.BytesPerGigabyte;

    const QString mbText = m_ui.MBUsed_Edit->text();
    const auto mb = quota::parseNumber(mbText, point);
    if (!mb) {
        action.end();
        UiSeam::error(m_frame.dialogParent(), notValidFloat(mbText));
        return;
    }
    m_figures.UsedOffsetBytes = *mb * m_figures.BytesPerMegabyte;
    m_tracking.baselineTaken = true;
}

void QuotaMonitor::refresh(Trigger trigger) {
    const bool byTimer = trigger == Trigger::Tick;

    m_frame.setStatus(statustext::Busy);
    if (!byTimer) m_frame.setHelpKeyword(helpkw::text(helpkw::Quota), true);

    if (!m_shown() && !(byTimer && m_ticking())) {
        m_frame.setStatus(statustext::Ready);
        return;
    }
    if (!(m_figures.QuotaBytes > 0)) {
        m_frame.setStatus(statustext::Ready);
        return;
    }

    std::uint32_t in = 0;
    const ReadStatus inStatus = readWanCounter(kIfInOctets, in);
    if (inStatus == ReadStatus::Failed) {
        m_frame.setStatus(statustext::ReadError);
        return;
    }
    // ifOutOctets: a failed read is ignored, but a value that is not a counter is reported like
    // one of ifInOctets (the in counter read just before is taken all the same).
    if (inStatus == ReadStatus::NotNumber || readOutAndTakeReadings(in) == ReadStatus::NotNumber) {
        warnNotInteger(m_frame.dialogParent());
        m_frame.setStatus(statustext::Ready);
        return;
    }

    QProgressBar* bar = m_ui.In_ProgressBar;
    quota::ViewInput view;
    view.downloadAndUpload = m_ui.DownUp_RBut->isChecked();
    view.used = usedBytes();
    view.quotaBytes = m_figures.QuotaBytes;
    view.barPosition = bar->value();
    view.mayMoveBack = trigger == Trigger::Button;
    view.bytesPerGigabyte = m_figures.BytesPerGigabyte;
    view.bytesPerMegabyte = m_figures.BytesPerMegabyte;
    view.decimalPoint = quota::localeDecimalPoint();
    const quota::ViewResult r = quota::refreshView(view);

    if (r.barMoved) {
        bar->setValue(r.barPosition);
        m_ui.PercentUsed_Label->setText(r.percentText);
    }
    if (r.fault != quota::Fault::None) {
        UiSeam::warning(m_frame.dialogParent(), QStringLiteral("Warning"),
                        QStringLiteral("Division by zero error!"));
        m_frame.setStatus(statustext::Ready);
        return;
    }
    m_ui.QuotaRemaining_Label->setText(r.remainingText);
    setBarColour(bar, r.colour);
    m_frame.setStatus(statustext::Ready);
}

void QuotaMonitor::tick(Trigger trigger) {
    const int resetDay = m_ui.ResetDay_Edit->value();
    const QDate today = Clock::today();
    if (today.day() == resetDay && !m_figures.QuotaResetDone) resetMonth(today);
    if (today.day() != resetDay) m_figures.QuotaResetDone = false;
    refresh(trigger);
}

void QuotaMonitor::resetMonth(const QDate& today) {
    m_figures.QuotaResetDone = true;
    const QString date = settingstext::shortDate(today, QLocale());
    m_ui.LastResetDate_Label->setText(date);
    m_figures.UsedOffsetBytes = 0;
    m_ui.MBUsed_Edit->setText(QStringLiteral("0"));
    m_ui.PercentUsed_Label->setText(QStringLiteral("0%"));
    m_ui.In_ProgressBar->setValue(0);
    calculate();
    if (!m_tracking.countersBaselined) {
        // The router did not answer: the new month still starts from zero, from the last
        // counters read, rather than carrying the old month's traffic over.
        m_figures.BaseInOctets = m_figures.InOctets;
        m_figures.BaseOutOctets = m_figures.OutOctets;
    }
    writeLastResetDate(m_frame.dialogParent(), date);
}

void QuotaMonitor::restoreLastReset(const QString& date) {
    m_ui.LastResetDate_Label->setText(date);
    m_figures.QuotaResetDone = date == settingstext::shortDate(Clock::today(), QLocale());
}

// "Redefine": the edit's text becomes the ISP's unit size; a text that is not a positive number
// leaves the size as it was.
void QuotaMonitor::redefineSize(const QLineEdit* edit, double& size) {
    const QString text = edit->text();
    const auto v = quota::parseNumber(text, quota::localeDecimalPoint());
    if (!v) {
        UiSeam::error(m_frame.dialogParent(), notValidFloat(text));
        return;
    }
    if (!(*v > 0)) {
        UiSeam::error(m_frame.dialogParent(),
                      QStringLiteral("'%1' is not a valid number of bytes: it must be above 0").arg(text));
        return;
    }
    size = *v;
}

void QuotaMonitor::redefineGigabyte() {
    redefineSize(m_ui.Gbytes_Edit, m_figures.BytesPerGigabyte);
}

void QuotaMonitor::redefineMegabyte() {
    redefineSize(m_ui.MBytes_Edit, m_figures.BytesPerMegabyte);
}

QString QuotaMonitor::formatGbMb(const QString& bytes) const {
    const QChar point = quota::localeDecimalPoint();
    const auto v = quota::parseNumber(bytes, point);
    if (!v) return {};
    return quota::formatGbMb(*v, m_figures.BytesPerGigabyte, m_figures.BytesPerMegabyte, point).text;
}

QString QuotaMonitor::formatMbNumber(const QString& bytes) const {
    const QChar point = quota::localeDecimalPoint();
    const auto v = quota::parseNumber(bytes, point);
    if (!v) return {};
    return quota::formatMbNumber(*v, m_figures.BytesPerMegabyte, point).text;
}

double QuotaMonitor::usedBytes() const {
    quota::Counters c;
    c.inOctets = m_figures.InOctets;
    c.outOctets = m_figures.OutOctets;
    c.baseInOctets = m_figures.BaseInOctets;
    c.baseOutOctets = m_figures.BaseOutOctets;
    c.usedOffsetBytes = m_figures.UsedOffsetBytes;
    return quota::usedBytes(c, m_ui.DownUp_RBut->isChecked());
}

QString QuotaMonitor::mbUsedAtClose() {
    refresh(Trigger::Other);

    // Without a baseline in this run (the router never answered) the counters say nothing about
    // the quota: keep the figure the user has rather than replacing it by 0.
    const QString used = m_ui.MBUsed_Edit->text();
    const QString kept = !used.trimmed().isEmpty() ? used : QStringLiteral("0");
    if (!m_tracking.baselineTaken) return kept;

    const quota::TextResult r =
        quota::formatMbNumber(usedBytes(), m_figures.BytesPerMegabyte, quota::localeDecimalPoint());
    return r.fault == quota::Fault::None ? r.text : kept;
}

} // namespace monitor
