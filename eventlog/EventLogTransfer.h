// The event-log transfer: the receiver started on first use, the busy texts, the directory and
// computer-address checks, the job's opening line, then the command-line session that tells the
// router to upload; and the chooser of the directory the logs go to.
#pragma once

#include "eventlog/TftpDaemon.h"
#include "ui/Trigger.h"

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class TelnetSession;
namespace telnet {
class TelnetHost;
}

class EventLogTransfer {
public:
    // The Misc page's widgets the transfer reads and writes.
    struct Widgets {
        QLineEdit* directory;       // Dir_Edit
        QLineEdit* computerAddress; // PCIP_Edit
        QPlainTextEdit* status;     // Status_Memo, the job's pane
    };
    // findComputerAddress: the computer's address for the router to upload to, "" when there is none;
    // tftp: the receiver's settings.
    EventLogTransfer(TelnetSession& session, telnet::TelnetHost& host, Widgets widgets,
                     std::function<QString()> findComputerAddress, const TftpSettings& tftp);
    ~EventLogTransfer();
    EventLogTransfer(const EventLogTransfer&) = delete;
    EventLogTransfer& operator=(const EventLogTransfer&) = delete;

    // One transfer; a tick is an automatic one, anything else a manual one.
    void run(Trigger trigger);
    // The modal directory chooser, shown through runModal.
    void chooseDirectory(QWidget* parent, const std::function<void(QDialog&)>& runModal);
    // The receiver, null before the first transfer.
    TTFTPDaemonThread* receiver() const { return m_receiver.get(); }
    // The window goes: the receiver stops.
    void stop() { m_receiver.reset(); }

private:
    void startReceiver();
    bool refusedAsBusy(bool automatic);
    bool canStart();
    void show(const QString& line); // the pane cleared, then the line

    TelnetSession& m_session;
    telnet::TelnetHost& m_host;
    Widgets m_widgets;
    std::function<QString()> m_findComputerAddress;
    const TftpSettings m_tftp;
    std::unique_ptr<TTFTPDaemonThread> m_receiver;
};
