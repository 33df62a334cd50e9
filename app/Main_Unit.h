// The main window. Its handlers are spread over files by subsystem:
//   app/Main_Unit.cpp        life cycle (create, show, close query), page construction
//   app/SettingsKeys.cpp     the settings file's keys: restored at start-up, written at close
//   app/RouterAccess.cpp     router endpoint, SNMP through it, status line, help keywords
//   app/Options.cpp          option menus, timers, page dispatch, pause and resume
//   app/LogPanes.cpp         log panes: save, copy, clear; the Debug page
//   views/SystemPage.cpp     System page, interface discovery, set actions
//   app/UptimeHandlers.cpp   router uptime display (views/Uptime.cpp)
//   app/MiscPageHandlers.cpp Misc page (views/MiscPage.cpp)
//   app/InterfacesPageHandlers.cpp Interfaces page and the raw interface dump (views/InterfacesPage.cpp)
//   app/AdslPageHandlers.cpp ADSL page (views/AdslPage.cpp)
//   views/IpPage.cpp         IP page and its tables
//   views/TcpUdpPages.cpp    TCP and UDP pages
//   views/IcmpSnmpPages.cpp  ICMP and SNMP pages
//   app/MonitorHandlers.cpp  data-quota monitor, connection monitor, line history
//   app/HelpHandlers.cpp     help button and Help menu
//   app/CounterPageHandlers.cpp the handlers of those five pages: each a call into its page
//   app/IdleHook.cpp         the anti-freeze's hook for waiting transports
//   app/JobHandlers.cpp      command-line jobs, event-log transfer, update check, about window
#pragma once

#include "app/FormWidgets.h"
#include "app/NetworkSettings.h"
#include "net/RouterEndpoint.h"
#include "net/RouterSession.h"
#include "ui/PageFrame.h"
#include "views/AdslPage.h"
#include "views/InterfacesPage.h"
#include "views/MiscPage.h"

#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCloseEvent;
class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class PageAction;
struct SettingKey;
class QMenu;
namespace monitor {
class QuotaMonitor;
class ConnectionMonitor;
class LineHistoryMonitor;
} // namespace monitor
struct TelnetParts;
class SystemPage;
class IpPage;
class TcpPage;
class UdpPage;
class IcmpPage;
class SnmpPage;
class UptimeDisplay;

class TMainForm : public QMainWindow, public PageFrame {
    Q_OBJECT
public:
    // The transports' settings are the program's unless `settings` says otherwise: the session takes
    // the SNMP part, the command-line jobs the telnet part, the event-log receiver the TFTP part.
    explicit TMainForm(const NetworkSettings& settings = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    FormWidgets ui; // every widget, timer and menu item the handlers use

    // ---- life cycle ---------------------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormCloseQuery(QObject* Sender, bool& CanClose);
    void Exit1Click(QObject* Sender);

    // ---- status line, help keywords, router endpoint --------------------------------------------
    void setStatus(const QString& text) override; // every text begins with a blank
    QString statusText() const override;
    void setHelpKeyword(const QString& keyword, bool alsoUpdateButton) override;
    QWidget* dialogParent() const override { return const_cast<TMainForm*>(this); }
    // The router the program talks to, and SNMP through it.
    RouterEndpoint& endpoint() { return m_endpoint; }
    RouterSession& session() { return m_session; }
    // The HTTP client's settings, read at each request (the reconnect probe, the update check).
    HttpSettings& httpSettings() { return m_http; }
    QString routerHost() const; // the endpoint's address (IpAddress_Edit shows it)
    QString community() const;  // the endpoint's community (Community_Edit shows it)
    // SNMP through the current router endpoint, with texts converted for display.
    bool snmpGet(const QString& oid, QString& value);
    bool snmpSet(const QString& oid, const QString& value, int valueType);
    bool snmpWalk(const QString& baseOid, QStringList& lines);
    // A set action: writes `value` to `oid` and shows in `edit` what the router then holds, passed
    // through `shown`. An unanswered set shows "Set failed", `refused` on the status line and beeps;
    // a set answered but not read back keeps the typed text and says so on the status line. The
    // read-back goes to `readBackHost` when given (a changed router address). True when read back.
    bool setAndReadBack(QLineEdit* edit, const char* oid, const QString& value, int valueType,
                        QString (*shown)(const QString&), const QString& refused,
                        const QString& readBackHost = QString());
    // The status text of a set refused for the current community ("Is "x" community writable?").
    QString notWritableStatus() const;
    // The same for a set of a named object ("Is the "x" community name writable?").
    QString notWritableNameStatus() const;

    // Widget lookup by object name, for tests; the window itself uses `ui`. With a scope, only below it.
    template <class T> T* w(const char* name, QObject* scope = nullptr) const {
        return (scope ? scope : static_cast<QObject*>(const_cast<TMainForm*>(this)))
            ->findChild<T*>(QString::fromLatin1(name));
    }
    QTabWidget* pageControl() const;
    // Pages that start-up does not need are built when first shown or used; tests that reach widgets
    // by name build them all first.
    void ensurePageBuilt(QWidget* page);
    void buildAllPages();
    bool pageBuilt(const QWidget* page) const;
    // The Debug page's log pane (the raw dumps go there).
    QPlainTextEdit& debugLog();
    QWidget* currentPage() const;
    QString currentPageName() const; // objectName of the current tab page

    // ---- option menus and timers ----------------------------------------------------------------
    void AutoreconnectClick(QObject* Sender);
    void RecordlogClick(QObject* Sender);
    void LogIntervalClick(QObject* Sender);
    void MonitorQuotaClick(QObject* Sender);
    void QuotaUpdateIntervalClick(QObject* Sender);
    void EventLogTransferClick(QObject* Sender);
    void EventLogIntervalClick(QObject* Sender);
    void DisplayInRealTimeClick(QObject* Sender);
    void N5SecondUpdateClick(QObject* Sender);
    void ShowPwdClick(QObject* Sender);
    void RealtimeupdatingClick(QObject* Sender);
    void SecondupdateClick(QObject* Sender);
    void TelnetEnabledClick(QObject* Sender);
    void TelnetDisabledClick(QObject* Sender);
    void GetValuesBut(QObject* Sender);
    void PageControlChanging(QObject* Sender, bool& AllowChange);
    void Community_editEnter(QObject* Sender);
    void Community_editExit(QObject* Sender);
    void Interfaces_TimerTimer(QObject* Sender);
    void EventLog_TimerTimer(QObject* Sender);

    // ---- log panes --------------------------------------------------------------------------------
    void GenericSave_ButClick(QObject* Sender);
    void GenericCopy_ButClick(QObject* Sender);
    void GenericClear_ButClick(QObject* Sender);
    void DebugEnter(QObject* Sender);
    // The one save dialog, prepared for a log or table file with the given proposed name.
    QString askSaveFileName(const QString& defaultName);
    // Writes the pane's lines to the file, whole or not at all; reports a failure to the user.
    // Saving the connection log clears LinkLogChanged.
    bool savePaneLines(QPlainTextEdit& pane, const QString& fileName);

    // ---- System page and uptime -----------------------------------------------------------------
    SystemPage& system();
    void GenSysInfoClick();
    void SetContactButClick(QObject* Sender);
    void SetDomainButClick(QObject* Sender);
    void SetLocationButClick(QObject* Sender);
    void GenSysInfoDeafults_ButClick(QObject* Sender);
    void Uptime_TimerTimer(QObject* Sender);
    QString ElapsedSinceText(const QString& reference);

    // ---- Interfaces and ADSL pages ----------------------------------------------------------------
    InterfacesPage& interfaces();
    AdslPage& adsl();
    void InterfacesClick();
    void InterfaceTable_ButClick(QObject* Sender);
    void ADSLClick(QObject* Sender);
    void ADSL_PageControlChange(QObject* Sender);
    void SetVPI_ButClick(QObject* Sender);
    void SetVCI_ButClick(QObject* Sender);

    // ---- IP, TCP, UDP, ICMP and SNMP pages --------------------------------------------------------
    IpPage& ip();
    TcpPage& tcp();
    UdpPage& udp();
    IcmpPage& icmp();
    SnmpPage& snmp();
    void IPClick(QObject* Sender);
    void IP_PageControlChange(QObject* Sender);
    void IPAddrTable_ButClick(QObject* Sender);
    void TCPClick(QObject* Sender);
    void TCP_PageControlChange(QObject* Sender);
    void UDPClick(QObject* Sender);
    void ICMPClick(QObject* Sender);
    void SNMPClick(QObject* Sender);

    // ---- telnet jobs, Misc page, event log, small windows ---------------------------------------
    void SetADSLMode_ButClick(QObject* Sender);
    void SetPwd_ButClick(QObject* Sender);
    void About1Click(QObject* Sender);
    MiscPage& misc();
    void MiscClick(QObject* Sender);
    void ChangeIP_ButClick(QObject* Sender);
    void Dir_SpdButClick(QObject* Sender);
    void TelnetEventLog_ButClick(QObject* Sender);
    // Runs pending events while the GUI thread waits in a network call (the window's one anti-freeze).
    std::function<void()> idleHook();
    // The anti-freeze, the command-line jobs, the event-log transfer and the update check.
    TelnetParts& telnet();
    // The computer's address for the router to upload to; "" when there is none.
    QString computerAddress() const;

    // ---- data-quota monitor -----------------------------------------------------------------------
    monitor::QuotaMonitor& quotaMonitor(); // the page, the quota's figures and the reset
    void QuotaClick(QObject* Sender);
    void CalcQuota_ButClick(QObject* Sender);
    void ReDefGB_ButClick(QObject* Sender);
    void ReDefMB_ButClick(QObject* Sender);
    void Quota_TimerTimer(QObject* Sender);
    QString FormatGbMb(const QString& bytes) const;
    QString FormatMbNumber(const QString& bytes) const;
    // Used quota in bytes by the current choice (download only, or download and upload).
    double QuotaUsedBytes() const;
    // The `MBUsed` text written at close: the quota page refreshed, the used bytes in megabytes.
    QString MBUsedAtClose();

    // ---- connection monitor, update check, help ---------------------------------------------------
    monitor::ConnectionMonitor& connectionMonitor(); // the link's state and the connection log's lines
    void Connect_TimerTimer(QObject* Sender);
    void AutoReconnect_TimerTimer(QObject* Sender);
    void CheckforupdateVersion1Click(QObject* Sender);
    void Help_ButClick(QObject* Sender);
    void Contents1Click(QObject* Sender);
    void SearchforHelpOn1Click(QObject* Sender);
    void HowtoUseHelp1Click(QObject* Sender);

    // ---- line history ------------------------------------------------------------------------------
    monitor::LineHistoryMonitor& lineHistoryMonitor(); // the database, the recorder and the window
    void RecordHistoryClick(QObject* Sender);
    void HistoryIntervalClick(QObject* Sender);
    void History_TimerTimer(QObject* Sender);
    void LineHistory1Click(QObject* Sender);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Page builders: each fills its (empty, already named) tab page with its widgets and connects
    // them to the handlers above. Each lives in the file of its page or of its page's handlers.
    void buildSystemPage(QWidget* page);
    void buildUptime(QLabel* label);
    void buildQuotaPage(QWidget* page);
    void buildAdslPage(QWidget* page);
    void buildInterfacesPage(QWidget* page);
    void buildIpPage(QWidget* page);
    void buildIcmpPage(QWidget* page);
    void buildTcpPage(QWidget* page);
    void buildUdpPage(QWidget* page);
    void buildSnmpPage(QWidget* page);
    void buildMiscPage(QWidget* page);
    void buildDebugPage(QWidget* page);
    void buildMenus();
    void buildTimers();
    void buildLineHistoryMenu(QMenu* options);
    void buildConnectionMonitor();
    std::vector<SettingKey> lineHistoryKeys();

    QString m_startMBUsed = QStringLiteral("0"); // `MBUsed` as read at start-up
    bool m_shownOnce = false;
    void buildWindow();
    void buildPages();
    // The builders of the pages not built yet.
    QHash<QWidget*, void (TMainForm::*)(QWidget*)> m_unbuiltPages;
    // Every key of the settings file with its default and the widget or item that holds it.
    std::vector<SettingKey> settingKeys();
    // Reads the router endpoint, options, quota and event-log keys, in that order; false when a
    // conversion error ended the start-up (message in `error`).
    bool restoreSettings(const class IniFile& ini, QString& error);
    // Writes every key the close writes, `MBUsed` last.
    void saveSettings(class IniFile& ini);
    // The values the close writes before `MBUsed`, in order, as (section, key, value).
    std::vector<std::array<QString, 3>> settingsEntries();
    // After a stopped start-up: keys it never read, with the value the window holds for them now.
    void rememberUnreadKeys();
    // Keys that a stopped start-up never read, with the value the window held for them then: such
    // a key is written at close only when its value has changed since (nothing of the user's lost).
    QHash<QString, QString> m_unreadAtStart;
    QSet<QString> m_readKeys;
    void onPageChanged(int index);
    void MiscEnter(QObject* Sender);
    // A menu item clicked by the user: undoes Qt's own toggling of the item, then runs the handler,
    // which sets the check marks itself (the handlers are also called directly).
    void connectMenuItem(QAction* item, void (TMainForm::*handler)(QObject*));
    // A button clicked: its handler runs with the button as the sender.
    void connectClick(QPushButton* button, void (TMainForm::*handler)(QObject*));
    void undoAutoToggle(QAction* item);
    // A timer's tick handler; a tick that comes while the previous one still runs is dropped.
    void connectTick(QTimer* timer, void (TMainForm::*handler)(QObject*));
    void offerConnectionLogSave();
    // Interface discovery of the System page; false when the router went silent during it.
    bool discoverInterfaces();

    RouterEndpoint m_endpoint;
    RouterSession m_session;
    HttpSettings m_http;
    // ---- the monitors
    std::unique_ptr<monitor::QuotaMonitor> m_quota;
    std::unique_ptr<monitor::ConnectionMonitor> m_connection;
    std::unique_ptr<monitor::LineHistoryMonitor> m_lineHistory;
    // ---- the System page
    std::unique_ptr<SystemPage> m_system;
    // ---- the IP, TCP, UDP, ICMP and SNMP pages
    std::unique_ptr<IpPage> m_ip;
    std::unique_ptr<TcpPage> m_tcp;
    std::unique_ptr<UdpPage> m_udp;
    std::unique_ptr<IcmpPage> m_icmp;
    std::unique_ptr<SnmpPage> m_snmp;
    std::unique_ptr<UptimeDisplay> m_uptime;
    std::unique_ptr<AdslPage> m_adsl;
    std::unique_ptr<InterfacesPage> m_interfaces;
    std::unique_ptr<MiscPage> m_misc;
    std::unique_ptr<TelnetParts> m_telnet;
    void createTelnet(const NetworkSettings& settings);
    void telnetOnStartup(); // the last of the start-up: the default ADSL mode over telnet
    void endTelnet();       // the window goes: the job's wait ends, the receiver stops
};
