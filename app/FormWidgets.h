// Typed handles of the main window's widgets, timers and menu items: one struct per page, filled by
// the page's builder. Each member carries its widget's object name, so a handler reads
// ui.system.IpAddress_Edit where a test finds the widget by the name "IpAddress_Edit".
#pragma once

#include "ui/OptionItems.h"

#include <span>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QWidget;

// The frame around the pages: the page control, the two buttons over it and the status line.
struct FrameWidgets {
    QTabWidget* PageControl = nullptr;
    QPushButton* Help_But = nullptr;
    QPushButton* GetValues_But = nullptr;
    QLabel* StatusLine_Label = nullptr;
};

// The tab pages themselves, for telling which one is shown.
struct PageWidgets {
    QWidget *GenSysInfo = nullptr, *Quota_Tab = nullptr, *ADSL = nullptr, *Interfaces = nullptr,
            *IP = nullptr, *ICMP = nullptr, *TCP = nullptr, *UDP = nullptr, *SNMP = nullptr, *Misc = nullptr,
            *Debug = nullptr;
};

struct DebugPageWidgets {
    QPlainTextEdit* DebugLog_Memo = nullptr;
    QPushButton *SaveDebugLog_But = nullptr, *DebugLogCopy_But = nullptr, *DebugLogClear_But = nullptr;
};

struct TimerWidgets {
    QTimer *Uptime_Timer = nullptr, *Connect_Timer = nullptr, *AutoReconnect_Timer = nullptr,
           *Quota_Timer = nullptr, *EventLog_Timer = nullptr, *Interfaces_Timer = nullptr,
           *Telnet_Timer = nullptr;
    QTimer* History_Timer = nullptr; // line history samples
};

// An interval submenu: its choices, their items in the same order, and the timer they set.
struct IntervalMenu {
    std::span<const IntervalChoice> choices;
    std::vector<QAction*> items;
    QTimer* timer = nullptr;
    // Seconds one hour of the choices lasts: 3600, unless a soak run shortens it.
    int secondsPerHour = 3600;
    // The index of the item that is `sender`, or -1.
    int indexOf(const QObject* sender) const;
    // The first checked choice, or none.
    const IntervalChoice* checked() const;
    // Checks the item of `choice` and gives the timer its interval.
    void choose(int index) const;
};

struct MenuItems {
    QAction* Exit1 = nullptr;
    QAction *Autoreconnect = nullptr, *Recordlog = nullptr, *MonitorQuota = nullptr,
            *EventLogTransfer = nullptr, *DisplayInRealTime = nullptr, *HidePwd = nullptr, *ShowPwd = nullptr,
            *Realtimeupdating = nullptr, *TelnetEnabled = nullptr, *TelnetDisabled = nullptr;
    QAction *Contents1 = nullptr, *SearchforHelpOn1 = nullptr, *HowtoUseHelp1 = nullptr,
            *CheckforupdateVersion1 = nullptr, *About1 = nullptr;
    IntervalMenu linkCheck, quotaUpdate, transferInterval, interfacesUpdate, uptimeUpdate;
    QAction *RecordHistory = nullptr, *LineHistory1 = nullptr; // the line history
    IntervalMenu historyInterval;
};

struct FormWidgets {
    FrameWidgets frame;
    PageWidgets pages;
    DebugPageWidgets debug;
    TimerWidgets timers;
    MenuItems menu;
};
