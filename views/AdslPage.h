// ADSL page: line figures from D-Link's enterprise MIB, the PPP connection's VPI/VCI (writable),
// and the sub-tabs for the connection log and the default connection mode log.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"
#include "ui/Trigger.h"
#include "views/SubPages.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

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

// What the ADSL page asks of the window around it.
struct AdslPageCalls {
    std::function<bool()> shown;                // the ADSL page is the current page
    std::function<bool()> passwordShown;        // the PPP password may be shown
    std::function<void(bool)> setUpdateEnabled; // enables or disables "&Update"
    std::function<void(QPushButton*)> saveLog;  // "Save log" of the connection log
    std::function<void(QPushButton*)> clearLog; // "Clear log" of the connection log
};

class AdslPage {
public:
    // Builds the page's widgets into `page`.
    AdslPage(QWidget* page, RouterSession& session, PageFrame& frame, AdslPageCalls calls);
    AdslPage(const AdslPage&) = delete;
    AdslPage& operator=(const AdslPage&) = delete;

    const AdslPageWidgets& widgets() const { return m_ui; }

    // Reads the line figures; a refresh not started by "&Update" first shows "Connection Info".
    void refresh(Trigger trigger);
    // The help keywords and "&Update" of the sub-tab now shown.
    void subTabChanged();
    void setVpi();
    void setVci();

private:
    void buildInfoSheet(QTabWidget* tabs);
    void buildPppBox(QWidget* info);
    void buildModeBox(QWidget* info);
    void buildLogSheets(QTabWidget* tabs);

    RouterSession& m_session;
    PageFrame& m_frame;
    AdslPageCalls m_calls;
    AdslPageWidgets m_ui;
    SubPages m_subPages;
};
