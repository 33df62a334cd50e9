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

struct AdslPageWidgets {
    QTabWidget* ADSL_PageControl = nullptr;
    QLabel *DownSpeed_Label = nullptr, *DnAtten_Label = nullptr, *DnOutPwr_Label = nullptr,
           *DnSnr_Label = nullptr;
    QLabel *UpSpeed_Label = nullptr, *UpAtten_Label = nullptr, *UpOutPwr_Label = nullptr,
           *UpSnr_Label = nullptr;
    QLabel *User_Label = nullptr, *Pwd_Label = nullptr, *TxPkts_Label = nullptr, *RxPkts_Label = nullptr;
    QLabel *Mode_Label = nullptr, *Status_Label = nullptr;
    QLineEdit *VPI_Edit = nullptr, *VCI_Edit = nullptr, *WanIpAddr_Edit = nullptr;
    QRadioButton *AutoMode_RB = nullptr, *GDMTMode_RB = nullptr, *ANSIMode_RB = nullptr;
    QPushButton* SetADSLMode_But = nullptr;
    QPlainTextEdit *LinkLog_Memo = nullptr, *ADSLModeLog_Memo = nullptr;
    QPushButton *SaveLog_But = nullptr, *ClearLog_But = nullptr;
};

// One interface column of the Interfaces page: its group box and its value labels, top to bottom
// (Status, Last, Mtu, BytesIn, BytesOut, InErrs, OutErrs, InU, OutQLen).
struct InterfaceColumn {
    QGroupBox* box = nullptr;
    std::vector<QLabel*> values;
};
struct InterfacesPageWidgets {
    InterfaceColumn lan, ppp, wan; // EthLAN_GBox, PPPLink_GBox, EthWAN_GBox
};

struct MiscPageWidgets {
    QLineEdit *CurrentIp_Edit = nullptr, *NewIP_edit = nullptr, *PCIP_Edit = nullptr;
    QLineEdit* Dir_Edit = nullptr;
    QLineEdit *CurPwd_Edit = nullptr, *NewPwd_Edit = nullptr;
    QPushButton *ChangeIP_But = nullptr, *Dir_SpdBut = nullptr, *TelnetEventLog_But = nullptr,
                *SetPwd_But = nullptr;
    QPlainTextEdit* Status_Memo = nullptr;
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
    AdslPageWidgets adsl;
    InterfacesPageWidgets interfaces;
    MiscPageWidgets misc;
    DebugPageWidgets debug;
    TimerWidgets timers;
    MenuItems menu;
};
