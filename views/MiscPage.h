// Misc page: the router's LAN address (read and changed by SNMP), the computer's address, and the
// controls of the event-log transfer and of the router password change with their status pane.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

struct MiscPageWidgets {
    QLineEdit *CurrentIp_Edit = nullptr, *NewIP_edit = nullptr, *PCIP_Edit = nullptr;
    QLineEdit* Dir_Edit = nullptr;
    QLineEdit *CurPwd_Edit = nullptr, *NewPwd_Edit = nullptr;
    QPushButton *ChangeIP_But = nullptr, *Dir_SpdBut = nullptr, *TelnetEventLog_But = nullptr,
                *SetPwd_But = nullptr;
    QPlainTextEdit* Status_Memo = nullptr;
};

// What the Misc page asks of the window around it: the telnet jobs and the directory chooser its
// buttons start (each with the button clicked), and the "&Update" button's state.
struct MiscPageCalls {
    std::function<void(QPushButton*)> chooseDirectory;
    std::function<void(QPushButton*)> transferEventLog;
    std::function<void(QPushButton*)> setPassword;
    std::function<void(bool)> setUpdateEnabled;
};

class MiscPage {
public:
    // Builds the page's widgets into `page`.
    MiscPage(QWidget* page, RouterSession& session, PageFrame& frame, MiscPageCalls calls);
    MiscPage(const MiscPage&) = delete;
    MiscPage& operator=(const MiscPage&) = delete;

    const MiscPageWidgets& widgets() const { return m_ui; }

    // The page was shown: no "&Update" on it.
    void enter();
    // Reads the router's LAN address and fills in the computer's address and the current password.
    void refresh();
    // Sets the router's LAN address to the typed one; the endpoint follows once the router answers there.
    void changeAddress();
    // The computer's address for the router to reach it by; "" when there is none.
    QString computerAddress() const;

private:
    RouterSession& m_session;
    PageFrame& m_frame;
    MiscPageCalls m_calls;
    MiscPageWidgets m_ui;
};
