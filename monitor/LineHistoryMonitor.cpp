// The line history's menu items, settings keys, sample tick and window.
#include "app/Main_Unit.h"

#include "ui/Clock.h"
#include "app/core/SettingKey.h"
#include "app/core/SettingsFile.h"
#include "ui/UiSeam.h"
#include "monitor/LineHistoryRun.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

namespace {
const QString kSection = QStringLiteral("Line history");

QAction* item(QMenu* menu, QObject* owner, const char* name, const QString& caption, bool checkable) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    menu->addAction(a);
    return a;
}
} // namespace

QString LineHistoryRun::databasePath(const QString& settingsPath) {
    const QFileInfo info(settingsPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-history.sqlite"));
}

bool LineHistoryRun::ensureOpen(QWidget* parent, const QString& path) {
    if (store.isOpen()) return true;
    if (store.open(path)) return true;
    UiSeam::error(parent,
                  QStringLiteral("The line history \"%1\" cannot be opened: %2").arg(path, store.error()));
    return false;
}

void TMainForm::buildLineHistoryMenu(QMenu* options) {
    lineHistory = std::make_shared<LineHistoryRun>();
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
}

std::vector<SettingKey> TMainForm::lineHistoryKeys() {
    LineHistoryRun* run = lineHistory.get();
    QAction* record = ui.menu.RecordHistory;
    const IntervalMenu* interval = &ui.menu.historyInterval;
    auto onlyWhenUsed = [run](std::optional<QString> v) { return run->used ? v : std::nullopt; };
    return {
        {kSection,
         QStringLiteral("Record"),
         QStringLiteral("0"),
         SettingKind::Flag,
         4,
         [this, run](const QString& v, QString&) {
             run->used = run->used || v == QLatin1String("1");
             // The first sample comes with the first tick, after the interfaces are known.
             if (v == QLatin1String("1") &&
                 run->ensureOpen(this, LineHistoryRun::databasePath(SettingsFile::fileName()))) {
                 ui.menu.RecordHistory->setChecked(true);
                 ui.timers.History_Timer->start();
             }
             return true;
         },
         [=] { return onlyWhenUsed(record->isChecked() ? QStringLiteral("1") : QStringLiteral("0")); },
         {}},
        {kSection,
         QStringLiteral("Interval"),
         QStringLiteral("5"),
         SettingKind::Choice,
         4,
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
    QAction* record = ui.menu.RecordHistory;
    if (record->isChecked()) {
        record->setChecked(false);
        ui.timers.History_Timer->stop();
        return;
    }
    if (!lineHistory->ensureOpen(this, LineHistoryRun::databasePath(SettingsFile::fileName()))) return;
    lineHistory->used = true;
    record->setChecked(true);
    ui.timers.History_Timer->start();
    History_TimerTimer(this); // the first sample at once
}

void TMainForm::HistoryIntervalClick(QObject* Sender) {
    const int index = ui.menu.historyInterval.indexOf(Sender);
    if (index < 0) return;
    const bool running = ui.timers.History_Timer->isActive();
    ui.menu.historyInterval.choose(index);
    if (running) ui.timers.History_Timer->start(); // a full new interval from now
}

void TMainForm::History_TimerTimer(QObject*) {
    LineHistoryRun& run = *lineHistory;
    if (!run.store.isOpen()) return;
    run.recorder.setInterfaces(m_session.interfaces().PppIfIndex, m_session.interfaces().WanIfIndex);
    const auto get = [this](const QString& oid, QString& value) { return snmpGet(oid, value); };
    run.recorder.record(get, Clock::now().toMSecsSinceEpoch(), run.clock.elapsedMs());
    if (run.window && run.window->isVisible()) run.window->reload();
}

void TMainForm::LineHistory1Click(QObject*) {
    LineHistoryRun& run = *lineHistory;
    if (!run.ensureOpen(this, LineHistoryRun::databasePath(SettingsFile::fileName()))) return;
    if (!run.window) run.window = new TLineHistoryForm(run.store, this);
    run.window->reload();
    run.window->show();
    run.window->raise();
    run.window->activateWindow();
}
