// The monitors' handlers (data quota, connection, line history): each a call into its monitor; the
// line history's menu items and settings keys.
#include "app/Main_Unit.h"

#include "app/core/SettingKey.h"
#include "monitor/ConnectionMonitor.h"
#include "monitor/LineHistoryMonitor.h"
#include "monitor/QuotaMonitor.h"
#include "monitor/ReachabilityProbe.h"
#include "ui/PaneText.h"
#include "ui/Trigger.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>

// ---- data-quota monitor --------------------------------------------------------------------------

void TMainForm::buildQuotaPage(QWidget* page) {
    m_quota = std::make_unique<monitor::QuotaMonitor>(
        page, m_session, *this, [this] { return currentPage() == ui.pages.Quota_Tab; },
        [this] { return ui.timers.Quota_Timer->isActive(); });
}

monitor::QuotaMonitor& TMainForm::quotaMonitor() {
    return *m_quota;
}

void TMainForm::QuotaClick(QObject* Sender) {
    m_quota->refresh(triggerOf(Sender));
}
void TMainForm::CalcQuota_ButClick(QObject*) {
    m_quota->calculate();
}
void TMainForm::ReDefGB_ButClick(QObject*) {
    m_quota->redefineGigabyte();
}
void TMainForm::ReDefMB_ButClick(QObject*) {
    m_quota->redefineMegabyte();
}
void TMainForm::Quota_TimerTimer(QObject* Sender) {
    m_quota->tick(triggerOf(Sender));
}
QString TMainForm::FormatGbMb(const QString& bytes) const {
    return m_quota->formatGbMb(bytes);
}
QString TMainForm::FormatMbNumber(const QString& bytes) const {
    return m_quota->formatMbNumber(bytes);
}
double TMainForm::QuotaUsedBytes() const {
    return m_quota->usedBytes();
}
QString TMainForm::MBUsedAtClose() {
    return m_quota->mbUsedAtClose();
}

// ---- connection monitor --------------------------------------------------------------------------

void TMainForm::buildConnectionMonitor() {
    monitor::ConnectionMonitor::Hooks hooks;
    hooks.autoReconnect = [this] { return ui.menu.Autoreconnect->isChecked(); };
    hooks.monitoring = [this] { return ui.menu.Recordlog->isChecked(); };
    hooks.appendLog = [this](const QString& line) { appendToPane(*adsl().widgets().LinkLog_Memo, {line}); };
    hooks.elapsedSince = [this](const QString& reference) { return ElapsedSinceText(reference); };
    hooks.probe = [this] { ReachabilityProbe(m_http, idleHook()); };
    m_connection = std::make_unique<monitor::ConnectionMonitor>(
        m_session, *this, ui.timers.AutoReconnect_Timer, std::move(hooks));
}

monitor::ConnectionMonitor& TMainForm::connectionMonitor() {
    return *m_connection;
}

void TMainForm::Connect_TimerTimer(QObject*) {
    m_connection->check();
}
void TMainForm::AutoReconnect_TimerTimer(QObject*) {
    m_connection->attempt();
}

// ---- line history --------------------------------------------------------------------------------

namespace {
const QString kHistorySection = QStringLiteral("Line history");

QAction* item(QMenu* menu, QObject* owner, const char* name, const QString& caption, bool checkable) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    menu->addAction(a);
    return a;
}
} // namespace

void TMainForm::buildLineHistoryMenu(QMenu* options) {
    MenuItems& mi = ui.menu;
    auto* m = new QMenu(QStringLiteral("Line history"), this);
    m->setObjectName(QStringLiteral("Linehistory1"));
    options->addMenu(m);
    mi.RecordHistory = item(m, this, "RecordHistory", QStringLiteral("Record line history"), true);
    connectMenuItem(mi.RecordHistory, &TMainForm::RecordHistoryClick);
    m->addSeparator();
    auto* group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    mi.historyInterval.choices = options::kHistory;
    for (const IntervalChoice& c : options::kHistory) {
        QAction* a = item(m, this, c.item, QString::fromLatin1(c.caption), true);
        group->addAction(a);
        connectMenuItem(a, &TMainForm::HistoryIntervalClick);
        mi.historyInterval.items.push_back(a);
    }
    m->addSeparator();
    mi.LineHistory1 = item(m, this, "LineHistory1", QStringLiteral("Line history..."), false);
    connectMenuItem(mi.LineHistory1, &TMainForm::LineHistory1Click);

    auto* timer = ui.timers.History_Timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("History_Timer"));
    mi.historyInterval.timer = timer;
    mi.historyInterval.choose(1); // every 5 minutes
    connectTick(timer, &TMainForm::History_TimerTimer);
    m_lineHistory = std::make_unique<monitor::LineHistoryMonitor>(m_session, *this, mi.RecordHistory, timer);
}

monitor::LineHistoryMonitor& TMainForm::lineHistoryMonitor() {
    return *m_lineHistory;
}

std::vector<SettingKey> TMainForm::lineHistoryKeys() {
    monitor::LineHistoryMonitor* history = m_lineHistory.get();
    QAction* record = ui.menu.RecordHistory;
    const IntervalMenu* interval = &ui.menu.historyInterval;
    auto onlyWhenUsed = [history](std::optional<QString> v) { return history->used() ? v : std::nullopt; };
    return {
        {kHistorySection,
         QStringLiteral("Record"),
         QStringLiteral("0"),
         SettingKind::Flag,
         ReadGroup::Options,
         [history](const QString& v, QString&) {
             history->restoreRecording(v == QLatin1String("1"));
             return true;
         },
         [=] { return onlyWhenUsed(record->isChecked() ? QStringLiteral("1") : QStringLiteral("0")); },
         {}},
        {kHistorySection,
         QStringLiteral("Interval"),
         QStringLiteral("5"),
         SettingKind::Choice,
         ReadGroup::Options,
         [interval](const QString& v, QString&) {
             for (std::size_t i = 0; i < interval->choices.size(); ++i)
                 if (v == QLatin1String(interval->choices[i].value)) interval->choose(static_cast<int>(i));
             return true;
         },
         [=]() -> std::optional<QString> {
             const IntervalChoice* c = interval->checked();
             return c ? onlyWhenUsed(QString::fromLatin1(c->value)) : std::nullopt;
         },
         {}},
    };
}

void TMainForm::RecordHistoryClick(QObject*) {
    m_lineHistory->toggleRecording();
}

void TMainForm::HistoryIntervalClick(QObject* Sender) {
    const int index = ui.menu.historyInterval.indexOf(Sender);
    if (index < 0) return;
    const bool running = ui.timers.History_Timer->isActive();
    ui.menu.historyInterval.choose(index);
    if (running) ui.timers.History_Timer->start(); // a full new interval from now
}

void TMainForm::History_TimerTimer(QObject*) {
    m_lineHistory->sample();
}
void TMainForm::LineHistory1Click(QObject*) {
    m_lineHistory->showWindow();
}
