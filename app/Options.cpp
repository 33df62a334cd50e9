// The main menu with its option items, the seven timers, the page dispatch, and the pause and
// resume of the periodic monitors.
#include "app/Main_Unit.h"

#include "ui/OptionItems.h"
#include "ui/UiSeam.h"
#include "windows/core/HelpKeywords.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <array>
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
    ui.menu.Exit1 = addItem(file, this, "Exit1", QStringLiteral("&Exit"), false);
    connect(ui.menu.Exit1, &QAction::triggered, this, [this] { Exit1Click(this); });

    auto* opts = new QMenu(QStringLiteral("Options"), this);
    opts->setObjectName(QStringLiteral("Options1"));
    opts->setProperty("helpContext", 20);
    bar->addMenu(opts);

    // An interval submenu: its items in one radio group, each handled by `handler`.
    auto intervals = [this](QMenu* menu, const char* group, IntervalMenu& im,
                            std::span<const IntervalChoice> choices, const char* checkedItem,
                            void (TMainForm::*handler)(QObject*)) {
        QActionGroup* g = radioGroup(this, group);
        im.choices = choices;
        for (const IntervalChoice& c : choices) {
            QAction* a = addItem(menu, this, c.item, QString::fromLatin1(c.caption), true);
            g->addAction(a);
            a->setChecked(qstrcmp(c.item, checkedItem) == 0);
            connectMenuItem(a, handler);
            im.items.push_back(a);
        }
    };
    MenuItems& mi = ui.menu;

    QMenu* m = addSubmenu(opts, this, "Connectionlog1", QStringLiteral("Connection log"), 21);
    mi.Autoreconnect = addItem(m, this, "Autoreconnect", QStringLiteral("Auto-reconnect"), true);
    mi.Autoreconnect->setEnabled(false);
    connectMenuItem(mi.Autoreconnect, &TMainForm::AutoreconnectClick);
    mi.Recordlog = addItem(m, this, "Recordlog", QStringLiteral("Monitor connection"), true);
    connectMenuItem(mi.Recordlog, &TMainForm::RecordlogClick);
    m->addSeparator();
    intervals(m, "LinkCheck_Group", mi.linkCheck, options::kLinkCheck, "N15secondinterval1",
              &TMainForm::LogIntervalClick);

    m = addSubmenu(opts, this, "Dataquota1", QStringLiteral("Data quota"), 22);
    mi.MonitorQuota = addItem(m, this, "MonitorQuota", QStringLiteral("Display in real time"), true);
    connectMenuItem(mi.MonitorQuota, &TMainForm::MonitorQuotaClick);
    m->addSeparator();
    intervals(m, "QuotaUpdate_Group", mi.quotaUpdate, options::kQuota, "N15minuteupdate1",
              &TMainForm::QuotaUpdateIntervalClick);

    m = addSubmenu(opts, this, "Eventlog1", QStringLiteral("Event log"), 23);
    mi.EventLogTransfer = addItem(m, this, "EventLogTransfer", QStringLiteral("Auto-transfer"), true);
    connectMenuItem(mi.EventLogTransfer, &TMainForm::EventLogTransferClick);
    m->addSeparator();
    intervals(m, "TransferInterval_Group", mi.transferInterval, options::kEventLog, "Every24hours",
              &TMainForm::EventLogIntervalClick);

    m = addSubmenu(opts, this, "Interfaces1", QStringLiteral("Interfaces"), 24);
    mi.DisplayInRealTime =
        addItem(m, this, "DisplayInRealTime", QStringLiteral("Display in real time"), true);
    connectMenuItem(mi.DisplayInRealTime, &TMainForm::DisplayInRealTimeClick);
    m->addSeparator();
    intervals(m, "InterfacesUpdate_Group", mi.interfacesUpdate, options::kInterfaces, "N15SecondUpdate",
              &TMainForm::N5SecondUpdateClick);

    m = addSubmenu(opts, this, "Passwordvisibility1", QStringLiteral("Password visibility"), 26);
    {
        QActionGroup* g = radioGroup(this, "Password_Group");
        g->setProperty("oneAlwaysChecked", true);
        mi.HidePwd = addItem(m, this, "HidePwd", QStringLiteral("Hide"), true);
        mi.ShowPwd = addItem(m, this, "ShowPwd", QStringLiteral("Show"), true);
        g->addAction(mi.HidePwd);
        g->addAction(mi.ShowPwd);
        mi.ShowPwd->setChecked(true);
        connectMenuItem(mi.HidePwd, &TMainForm::ShowPwdClick);
        connectMenuItem(mi.ShowPwd, &TMainForm::ShowPwdClick);
    }

    m = addSubmenu(opts, this, "Routeruptime1", QStringLiteral("Router uptime"), 27);
    mi.Realtimeupdating = addItem(m, this, "Realtimeupdating", QStringLiteral("Display in real time"), true);
    connectMenuItem(mi.Realtimeupdating, &TMainForm::RealtimeupdatingClick);
    m->addSeparator();
    intervals(m, "UptimeUpdate_Group", mi.uptimeUpdate, options::kUptime, "N1secondupdate1",
              &TMainForm::SecondupdateClick);

    m = addSubmenu(opts, this, "Telnetonstartup1", QStringLiteral("Telnet on startup"), 29);
    {
        QActionGroup* g = radioGroup(this, "Telnet_Group");
        mi.TelnetEnabled = addItem(m, this, "TelnetEnabled", QStringLiteral("Enabled"), true);
        mi.TelnetDisabled = addItem(m, this, "TelnetDisabled", QStringLiteral("Disabled"), true);
        g->addAction(mi.TelnetEnabled);
        g->addAction(mi.TelnetDisabled);
        mi.TelnetEnabled->setChecked(true);
        connectMenuItem(mi.TelnetEnabled, &TMainForm::TelnetEnabledClick);
        connectMenuItem(mi.TelnetDisabled, &TMainForm::TelnetDisabledClick);
    }
    buildLineHistoryMenu(opts);

    // The help items; the help viewer, the update check and the about window attach to them.
    auto* help = new QMenu(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("Help1"));
    help->setProperty("helpContext", 30);
    bar->addMenu(help);
    ui.menu.Contents1 = addItem(help, this, "Contents1", QStringLiteral("&Contents"), false);
    ui.menu.SearchforHelpOn1 =
        addItem(help, this, "SearchforHelpOn1", QStringLiteral("&Search for Help On..."), false);
    ui.menu.HowtoUseHelp1 = addItem(help, this, "HowtoUseHelp1", QStringLiteral("&How to Use Help"), false);
    connectMenuItem(ui.menu.Contents1, &TMainForm::Contents1Click);
    connectMenuItem(ui.menu.SearchforHelpOn1, &TMainForm::SearchforHelpOn1Click);
    connectMenuItem(ui.menu.HowtoUseHelp1, &TMainForm::HowtoUseHelp1Click);
    help->addSeparator();
    ui.menu.CheckforupdateVersion1 =
        addItem(help, this, "CheckforupdateVersion1", QStringLiteral("Check web for &update..."), false);
    connectMenuItem(ui.menu.CheckforupdateVersion1, &TMainForm::CheckforupdateVersion1Click);
    help->addSeparator();
    ui.menu.About1 = addItem(help, this, "About1", QStringLiteral("&About..."), false);
}

void TMainForm::buildTimers() {
    struct Spec {
        const char* name;
        QTimer* TimerWidgets::*member;
        int interval;
        void (TMainForm::*tick)(QObject*);
    };
    // Telnet_Timer is the command-line session's own.
    const Spec specs[] = {
        {"Uptime_Timer", &TimerWidgets::Uptime_Timer, 1000, &TMainForm::Uptime_TimerTimer},
        {"Connect_Timer", &TimerWidgets::Connect_Timer, 15000, &TMainForm::Connect_TimerTimer},
        {"AutoReconnect_Timer", &TimerWidgets::AutoReconnect_Timer, 30000,
         &TMainForm::AutoReconnect_TimerTimer},
        {"Quota_Timer", &TimerWidgets::Quota_Timer, 60000, &TMainForm::Quota_TimerTimer},
        {"EventLog_Timer", &TimerWidgets::EventLog_Timer, 86400000, &TMainForm::EventLog_TimerTimer},
        {"Interfaces_Timer", &TimerWidgets::Interfaces_Timer, 5000, &TMainForm::Interfaces_TimerTimer},
    };
    for (const Spec& s : specs) {
        auto* t = ui.timers.*s.member = new QTimer(this);
        t->setObjectName(QString::fromLatin1(s.name));
        t->setInterval(s.interval);
        if (s.tick) connectTick(t, s.tick);
    }
    MenuItems& mi = ui.menu;
    mi.linkCheck.timer = ui.timers.Connect_Timer;
    mi.quotaUpdate.timer = ui.timers.Quota_Timer;
    mi.transferInterval.timer = ui.timers.EventLog_Timer;
    mi.transferInterval.secondsPerHour = options::eventLogSecondsPerHour();
    mi.interfacesUpdate.timer = ui.timers.Interfaces_Timer;
    mi.uptimeUpdate.timer = ui.timers.Uptime_Timer;
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

int options::eventLogSecondsPerHour() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("KESTRUNE_EVENTLOG_HOUR_SECONDS", &ok);
    return ok && seconds >= 1 && seconds <= 3600 ? seconds : 3600;
}

// ---- item handlers -------------------------------------------------------------------------------

int IntervalMenu::indexOf(const QObject* sender) const {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (sender == items[i]) return static_cast<int>(i);
    return -1;
}

const IntervalChoice* IntervalMenu::checked() const {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->isChecked()) return &choices[i];
    return nullptr;
}

void IntervalMenu::choose(int index) const {
    const qint64 ms = choices[static_cast<std::size_t>(index)].ms;
    timer->setInterval(static_cast<int>(ms * secondsPerHour / 3600));
    items[static_cast<std::size_t>(index)]->setChecked(true);
}

namespace {
void invert(QAction* item) {
    item->setChecked(!item->isChecked());
}

// An interval item clicked: its interval for the timer, its check mark.
void intervalClick(const IntervalMenu& menu, QObject* Sender) {
    if (const int index = menu.indexOf(Sender); index >= 0) menu.choose(index);
}
} // namespace

void TMainForm::AutoreconnectClick(QObject*) {
    invert(ui.menu.Autoreconnect);
}

void TMainForm::RecordlogClick(QObject*) {
    QAction* autoRe = ui.menu.Autoreconnect;
    invert(ui.menu.Recordlog);
    if (ui.menu.Recordlog->isChecked()) {
        ui.timers.Connect_Timer->start();
        autoRe->setEnabled(true);
    } else {
        ui.timers.Connect_Timer->stop();
        ui.timers.AutoReconnect_Timer->stop();
        autoRe->setChecked(false);
        autoRe->setEnabled(false);
    }
}

void TMainForm::LogIntervalClick(QObject* Sender) {
    intervalClick(ui.menu.linkCheck, Sender);
}

void TMainForm::QuotaUpdateIntervalClick(QObject* Sender) {
    intervalClick(ui.menu.quotaUpdate, Sender);
}

void TMainForm::EventLogIntervalClick(QObject* Sender) {
    intervalClick(ui.menu.transferInterval, Sender);
}

void TMainForm::N5SecondUpdateClick(QObject* Sender) {
    intervalClick(ui.menu.interfacesUpdate, Sender);
}

void options::toggleWithTimer(QAction* item, QTimer* timer) {
    invert(item);
    if (item->isChecked())
        timer->start();
    else
        timer->stop();
}

void TMainForm::MonitorQuotaClick(QObject*) {
    options::toggleWithTimer(ui.menu.MonitorQuota, ui.timers.Quota_Timer);
}
void TMainForm::EventLogTransferClick(QObject*) {
    options::toggleWithTimer(ui.menu.EventLogTransfer, ui.timers.EventLog_Timer);
}
void TMainForm::DisplayInRealTimeClick(QObject*) {
    options::toggleWithTimer(ui.menu.DisplayInRealTime, ui.timers.Interfaces_Timer);
}

void TMainForm::ShowPwdClick(QObject*) {
    const bool show = !ui.menu.ShowPwd->isChecked();
    ui.menu.ShowPwd->setChecked(show);
    ui.menu.HidePwd->setChecked(!show);
    adsl().widgets().Pwd_Label->setVisible(show);
}

void TMainForm::TelnetEnabledClick(QObject*) {
    invert(ui.menu.TelnetEnabled);
}
void TMainForm::TelnetDisabledClick(QObject*) {
    invert(ui.menu.TelnetDisabled);
}

// ---- pause and resume ----------------------------------------------------------------------------

namespace {
struct Monitor {
    QTimer* timer;
    QAction* item;
};
std::array<Monitor, 6> pausedMonitors(const FormWidgets& ui) {
    return {{{ui.timers.Uptime_Timer, ui.menu.Realtimeupdating},
             {ui.timers.Connect_Timer, ui.menu.Recordlog},
             {ui.timers.History_Timer, ui.menu.RecordHistory},
             {ui.timers.Quota_Timer, ui.menu.MonitorQuota},
             {ui.timers.EventLog_Timer, ui.menu.EventLogTransfer},
             {ui.timers.Interfaces_Timer, ui.menu.DisplayInRealTime}}};
}
} // namespace

void TMainForm::Community_editEnter(QObject*) {
    for (const Monitor& m : pausedMonitors(ui))
        if (m.item->isChecked()) m.timer->stop();
}

void TMainForm::Community_editExit(QObject*) {
    // A timer that already runs (switched on during the pause) keeps its current interval.
    for (const Monitor& m : pausedMonitors(ui))
        if (m.item->isChecked() && !m.timer->isActive()) m.timer->start();
}

// ---- page dispatch -------------------------------------------------------------------------------

void TMainForm::onPageChanged(int) {
    ensurePageBuilt(currentPage());
    bool allow = true;
    PageControlChanging(pageControl(), allow);
    QWidget* page = currentPage();
    if (page == ui.pages.Debug)
        DebugEnter(page);
    else if (page == ui.pages.Misc)
        MiscEnter(page);
    GetValuesBut(pageControl());
}

void TMainForm::PageControlChanging(QObject*, bool& AllowChange) {
    ui.frame.GetValues_But->setEnabled(true);
    AllowChange = true;
}

void TMainForm::GetValuesBut(QObject* Sender) {
    const PageWidgets& p = ui.pages;
    QWidget* page = currentPage();
    if (page == p.GenSysInfo) {
        GenSysInfoClick();
    } else if (page == p.Misc) {
        MiscClick(Sender);
    } else if (page == p.Debug) {
        // nothing to refresh
    } else if (page == p.Interfaces) {
        InterfacesClick();
    } else if (page == p.Quota_Tab) {
        QuotaClick(Sender);
    } else if (page == p.SNMP) {
        SNMPClick(Sender);
    } else if (page == p.UDP) {
        UDPClick(Sender);
    } else if (page == p.TCP) {
        TCPClick(Sender);
    } else if (page == p.ICMP) {
        ICMPClick(Sender);
    } else if (page == p.IP) {
        IPClick(Sender);
    } else if (page == p.ADSL) {
        ADSLClick(Sender);
    } else {
        UiSeam::information(this, QStringLiteral("Kestrune Utility"),
                            QStringLiteral("Not implemented ... yet!"));
    }
}
