// The main menu with its option items, the seven timers, the page dispatch, and the pause and
// resume of the periodic monitors.
#include "app/Main_Unit.h"

#include "app/OptionItems.h"
#include "app/UiSeam.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <memory>

namespace {

QAction* addItem(QMenu* menu, QObject* owner, const char* name, const QString& caption, bool checkable) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    menu->addAction(a);
    return a;
}

QMenu* addSubmenu(QMenu* parent, QWidget* owner, const char* name, const QString& caption, int helpContext) {
    auto* m = new QMenu(caption, owner);
    m->setObjectName(QString::fromLatin1(name));
    m->setProperty("helpContext", helpContext);
    parent->addMenu(m);
    return m;
}

// A radio group whose checked item may be clicked off (the handlers decide what stays checked).
QActionGroup* radioGroup(QObject* owner, const char* name) {
    auto* g = new QActionGroup(owner);
    g->setObjectName(QString::fromLatin1(name));
    g->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    return g;
}

} // namespace

void TMainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    auto* file = new QMenu(QStringLiteral("File"), this);
    file->setObjectName(QStringLiteral("File1"));
    file->setProperty("helpContext", 10);
    bar->addMenu(file);
    file->addSeparator();
    connect(addItem(file, this, "Exit1", QStringLiteral("&Exit"), false), &QAction::triggered, this,
            [this] { Exit1Click(this); });

    auto* opts = new QMenu(QStringLiteral("Options"), this);
    opts->setObjectName(QStringLiteral("Options1"));
    opts->setProperty("helpContext", 20);
    bar->addMenu(opts);

    // An interval submenu: its items in one radio group, each handled by `handler`.
    auto intervals = [this](QMenu* menu, const char* group, const IntervalChoice* choices, int count,
                            const char* checkedItem, void (TMainForm::*handler)(QObject*)) {
        QActionGroup* g = radioGroup(this, group);
        for (int i = 0; i < count; ++i) {
            QAction* a = addItem(menu, this, choices[i].item, QString::fromLatin1(choices[i].caption), true);
            g->addAction(a);
            a->setChecked(qstrcmp(choices[i].item, checkedItem) == 0);
            connectMenuItem(a, handler);
        }
    };

    QMenu* m = addSubmenu(opts, this, "Connectionlog1", QStringLiteral("Connection log"), 21);
    QAction* autoRe = addItem(m, this, "Autoreconnect", QStringLiteral("Auto-reconnect"), true);
    autoRe->setEnabled(false);
    connectMenuItem(autoRe, &TMainForm::AutoreconnectClick);
    connectMenuItem(addItem(m, this, "Recordlog", QStringLiteral("Monitor connection"), true),
                    &TMainForm::RecordlogClick);
    m->addSeparator();
    intervals(m, "LinkCheck_Group", options::kLinkCheck, options::count(options::kLinkCheck),
              "N15secondinterval1", &TMainForm::LogIntervalClick);

    m = addSubmenu(opts, this, "Dataquota1", QStringLiteral("Data quota"), 22);
    connectMenuItem(addItem(m, this, "MonitorQuota", QStringLiteral("Display in real time"), true),
                    &TMainForm::MonitorQuotaClick);
    m->addSeparator();
    intervals(m, "QuotaUpdate_Group", options::kQuota, options::count(options::kQuota), "N15minuteupdate1",
              &TMainForm::QuotaUpdateIntervalClick);

    m = addSubmenu(opts, this, "Eventlog1", QStringLiteral("Event log"), 23);
    connectMenuItem(addItem(m, this, "EventLogTransfer", QStringLiteral("Auto-transfer"), true),
                    &TMainForm::EventLogTransferClick);
    m->addSeparator();
    intervals(m, "TransferInterval_Group", options::kEventLog, options::count(options::kEventLog),
              "Every24hours", &TMainForm::EventLogIntervalClick);

    m = addSubmenu(opts, this, "Interfaces1", QStringLiteral("Interfaces"), 24);
    connectMenuItem(addItem(m, this, "DisplayInRealTime", QStringLiteral("Display in real time"), true),
                    &TMainForm::DisplayInRealTimeClick);
    m->addSeparator();
    intervals(m, "InterfacesUpdate_Group", options::kInterfaces, options::count(options::kInterfaces),
              "N15SecondUpdate", &TMainForm::N5SecondUpdateClick);

    m = addSubmenu(opts, this, "Passwordvisibility1", QStringLiteral("Password visibility"), 26);
    {
        QActionGroup* g = radioGroup(this, "Password_Group");
        g->setProperty("oneAlwaysChecked", true);
        QAction* hide = addItem(m, this, "HidePwd", QStringLiteral("Hide"), true);
        QAction* show = addItem(m, this, "ShowPwd", QStringLiteral("Show"), true);
        g->addAction(hide);
        g->addAction(show);
        show->setChecked(true);
        connectMenuItem(hide, &TMainForm::ShowPwdClick);
        connectMenuItem(show, &TMainForm::ShowPwdClick);
    }

    m = addSubmenu(opts, this, "Routeruptime1", QStringLiteral("Router uptime"), 27);
    connectMenuItem(addItem(m, this, "Realtimeupdating", QStringLiteral("Display in real time"), true),
                    &TMainForm::RealtimeupdatingClick);
    m->addSeparator();
    intervals(m, "UptimeUpdate_Group", options::kUptime, options::count(options::kUptime), "N1secondupdate1",
              &TMainForm::SecondupdateClick);

    m = addSubmenu(opts, this, "Telnetonstartup1", QStringLiteral("Telnet on startup"), 29);
    {
        QActionGroup* g = radioGroup(this, "Telnet_Group");
        QAction* on = addItem(m, this, "TelnetEnabled", QStringLiteral("Enabled"), true);
        QAction* off = addItem(m, this, "TelnetDisabled", QStringLiteral("Disabled"), true);
        g->addAction(on);
        g->addAction(off);
        on->setChecked(true);
        connectMenuItem(on, &TMainForm::TelnetEnabledClick);
        connectMenuItem(off, &TMainForm::TelnetDisabledClick);
    }

    // The help items; the help viewer, the update check and the about window attach to them.
    auto* help = new QMenu(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("Help1"));
    help->setProperty("helpContext", 30);
    bar->addMenu(help);
    addItem(help, this, "Contents1", QStringLiteral("&Contents"), false);
    addItem(help, this, "SearchforHelpOn1", QStringLiteral("&Search for Help On..."), false);
    addItem(help, this, "HowtoUseHelp1", QStringLiteral("&How to Use Help"), false);
    help->addSeparator();
    addItem(help, this, "Checkwebforupdate1", QStringLiteral("Check web for &update..."), false);
    help->addSeparator();
    addItem(help, this, "About1", QStringLiteral("&About..."), false);
}

void TMainForm::buildTimers() {
    struct Spec {
        const char* name;
        int interval;
        void (TMainForm::*tick)(QObject*);
    };
    // Connect_Timer, AutoReconnect_Timer, EventLog_Timer and Telnet_Timer get their ticks from the
    // connection monitor, the event-log transfer and the telnet jobs.
    const Spec specs[] = {
        {"Uptime_Timer", 1000, &TMainForm::Uptime_TimerTimer},
        {"Connect_Timer", 15000, nullptr},
        {"AutoReconnect_Timer", 30000, nullptr},
        {"Quota_Timer", 60000, &TMainForm::Quota_TimerTimer},
        {"EventLog_Timer", 86400000, nullptr},
        {"Interfaces_Timer", 5000, &TMainForm::Interfaces_TimerTimer},
        {"Telnet_Timer", 1000, nullptr},
    };
    for (const Spec& s : specs) {
        auto* t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(s.name));
        t->setInterval(s.interval);
        if (s.tick) connectTick(t, s.tick);
    }
}

void TMainForm::connectMenuItem(QAction* item, void (TMainForm::*handler)(QObject*)) {
    connect(item, &QAction::triggered, this, [this, item, handler] {
        undoAutoToggle(item);
        (this->*handler)(item);
    });
}

void TMainForm::undoAutoToggle(QAction* item) {
    if (!item->isCheckable()) return;
    // Qt has just inverted the item (every group here lets its checked item be clicked off).
    const bool nowChecked = item->isChecked();
    item->setChecked(!nowChecked);
    QActionGroup* g = item->actionGroup();
    if (nowChecked && g && g->property("oneAlwaysChecked").toBool()) {
        // Checking it had cleared the group's other item, the one that was checked before.
        for (QAction* other : g->actions())
            if (other != item) other->setChecked(true);
    }
}

void TMainForm::connectTick(QTimer* timer, void (TMainForm::*handler)(QObject*)) {
    auto busy = std::make_shared<bool>(false);
    connect(timer, &QTimer::timeout, this, [this, timer, handler, busy] {
        if (*busy) return; // the previous tick still waits (message box, telnet job): drop this one
        *busy = true;
        (this->*handler)(timer);
        *busy = false;
    });
}

// ---- item handlers -------------------------------------------------------------------------------

namespace {
void invert(QObject* item) {
    if (auto* a = qobject_cast<QAction*>(item)) a->setChecked(!a->isChecked());
}
} // namespace

void TMainForm::AutoreconnectClick(QObject*) {
    if (QAction* a = w<QAction>("Autoreconnect")) a->setChecked(!a->isChecked());
}

void TMainForm::RecordlogClick(QObject*) {
    QAction* rec = w<QAction>("Recordlog");
    QAction* autoRe = w<QAction>("Autoreconnect");
    if (!rec || !autoRe) return;
    rec->setChecked(!rec->isChecked());
    if (rec->isChecked()) {
        w<QTimer>("Connect_Timer")->start();
        autoRe->setEnabled(true);
    } else {
        w<QTimer>("Connect_Timer")->stop();
        w<QTimer>("AutoReconnect_Timer")->stop();
        autoRe->setChecked(false);
        autoRe->setEnabled(false);
    }
}

bool TMainForm::intervalClick(QObject* Sender, const IntervalChoice* choices, int count, const char* timer) {
    for (int i = 0; i < count; ++i) {
        QAction* a = w<QAction>(choices[i].item);
        if (a && Sender == a) {
            w<QTimer>(timer)->setInterval(choices[i].ms);
            a->setChecked(true);
            return true;
        }
    }
    return false;
}

void TMainForm::LogIntervalClick(QObject* Sender) {
    intervalClick(Sender, options::kLinkCheck, options::count(options::kLinkCheck), "Connect_Timer");
}

void TMainForm::QuotaUpdateIntervalClick(QObject* Sender) {
    intervalClick(Sender, options::kQuota, options::count(options::kQuota), "Quota_Timer");
}

void TMainForm::EventLogIntervalClick(QObject* Sender) {
    intervalClick(Sender, options::kEventLog, options::count(options::kEventLog), "EventLog_Timer");
}

void TMainForm::N5SecondUpdateClick(QObject* Sender) {
    intervalClick(Sender, options::kInterfaces, options::count(options::kInterfaces), "Interfaces_Timer");
}

void options::toggleWithTimer(QAction* item, QTimer* timer) {
    if (!item || !timer) return;
    item->setChecked(!item->isChecked());
    if (item->isChecked())
        timer->start();
    else
        timer->stop();
}

void TMainForm::MonitorQuotaClick(QObject*) {
    options::toggleWithTimer(w<QAction>("MonitorQuota"), w<QTimer>("Quota_Timer"));
}
void TMainForm::EventLogTransferClick(QObject*) {
    options::toggleWithTimer(w<QAction>("EventLogTransfer"), w<QTimer>("EventLog_Timer"));
}
void TMainForm::DisplayInRealTimeClick(QObject*) {
    options::toggleWithTimer(w<QAction>("DisplayInRealTime"), w<QTimer>("Interfaces_Timer"));
}

void TMainForm::ShowPwdClick(QObject*) {
    QAction* show = w<QAction>("ShowPwd");
    QAction* hide = w<QAction>("HidePwd");
    if (!show || !hide) return;
    if (show->isChecked()) {
        show->setChecked(false);
        hide->setChecked(true);
    } else {
        show->setChecked(true);
        hide->setChecked(false);
    }
    if (auto* pwd = w<QLabel>("Pwd_Label")) pwd->setVisible(show->isChecked());
}

void TMainForm::TelnetEnabledClick(QObject*) {
    invert(w<QAction>("TelnetEnabled"));
}
void TMainForm::TelnetDisabledClick(QObject*) {
    invert(w<QAction>("TelnetDisabled"));
}

// ---- pause and resume ----------------------------------------------------------------------------

namespace {
struct Monitor {
    const char* timer;
    const char* item;
};
constexpr Monitor kPausedMonitors[] = {
    {"Uptime_Timer", "Realtimeupdating"},      {"Connect_Timer", "Recordlog"},
    {"Quota_Timer", "MonitorQuota"},           {"EventLog_Timer", "EventLogTransfer"},
    {"Interfaces_Timer", "DisplayInRealTime"},
};
} // namespace

void TMainForm::Community_editEnter(QObject*) {
    for (const Monitor& m : kPausedMonitors) {
        QAction* a = w<QAction>(m.item);
        if (a && a->isChecked()) w<QTimer>(m.timer)->stop();
    }
}

void TMainForm::Community_editExit(QObject*) {
    for (const Monitor& m : kPausedMonitors) {
        QAction* a = w<QAction>(m.item);
        QTimer* t = w<QTimer>(m.timer);
        // A timer that already runs (switched on during the pause) keeps its current interval.
        if (a && a->isChecked() && !t->isActive()) t->start();
    }
}

// ---- page dispatch -------------------------------------------------------------------------------

void TMainForm::onPageChanged(int) {
    bool allow = true;
    PageControlChanging(pageControl(), allow);
    QWidget* page = currentPage();
    const QString name = currentPageName();
    if (name == QLatin1String("Debug"))
        DebugEnter(page);
    else if (name == QLatin1String("Misc"))
        MiscEnter(page);
    GetValuesBut(pageControl());
}

void TMainForm::PageControlChanging(QObject*, bool& AllowChange) {
    if (auto* update = w<QPushButton>("GetValues_But")) update->setEnabled(true);
    AllowChange = true;
}

void TMainForm::MiscEnter(QObject*) {
    if (auto* update = w<QPushButton>("GetValues_But")) update->setEnabled(false);
    setHelpKeyword(QStringLiteral("200.html"), false);
}

void TMainForm::GetValuesBut(QObject* Sender) {
    const QString page = currentPageName();
    if (page == QLatin1String("GenSysInfo")) {
        GenSysInfoClick();
    } else if (page == QLatin1String("Misc")) {
        // The Misc page has no SNMP reads yet; showing it only disables "&Update".
    } else if (page == QLatin1String("Interfaces")) {
        InterfacesClick();
    } else if (page == QLatin1String("Quota_Tab")) {
        QuotaClick(Sender);
    } else if (page == QLatin1String("Debug")) {
        // nothing to refresh
    } else if (page == QLatin1String("SNMP")) {
        SNMPClick(Sender);
    } else if (page == QLatin1String("UDP")) {
        UDPClick(Sender);
    } else if (page == QLatin1String("TCP")) {
        TCPClick(Sender);
    } else if (page == QLatin1String("ICMP")) {
        ICMPClick(Sender);
    } else if (page == QLatin1String("IP")) {
        IPClick(Sender);
    } else if (page == QLatin1String("ADSL")) {
        ADSLClick(Sender);
    } else {
        UiSeam::information(this, QStringLiteral("Kestrune Utility"),
                            QStringLiteral("Not implemented ... yet!"));
    }
}

void TMainForm::Interfaces_TimerTimer(QObject*) {
    QTimer* t = w<QTimer>("Interfaces_Timer");
    if (currentPageName() == QLatin1String("Interfaces") && t && t->isActive()) InterfacesClick();
}
