// The event-log transfer: receiver, busy texts, checks, opening line, session; the directory chooser.
#include "eventlog/EventLogTransfer.h"

#include "app/core/SettingsText.h"
#include "eventlog/core/EventLogNames.h"
#include "net/TftpServer.h"
#include "telnet/TelnetSession.h"
#include "ui/Clock.h"
#include "ui/PaneText.h"
#include "ui/UiSeam.h"
#include "windows/Dir_Unit.h"

#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include <arpa/inet.h>

namespace {

QString nowText() {
    return settingstext::dateTimeText(Clock::now(), QLocale());
}

// A dotted IPv4 address a router can send to (not 0.0.0.0).
bool isUsableAddress(const QString& text) {
    in_addr a{};
    return inet_pton(AF_INET, text.toLatin1().constData(), &a) == 1 && a.s_addr != 0;
}

} // namespace

EventLogTransfer::EventLogTransfer(TelnetSession& session, telnet::TelnetHost& host, Widgets widgets,
                                   std::function<QString()> findComputerAddress, const TftpSettings& tftp)
    : m_session(session), m_host(host), m_widgets(widgets),
      m_findComputerAddress(std::move(findComputerAddress)), m_tftp(tftp) {}

EventLogTransfer::~EventLogTransfer() = default;

void EventLogTransfer::run(Trigger trigger) {
    const bool automatic = trigger == Trigger::Tick;
    // The receiver runs from the first attempt on, even one refused as busy.
    startReceiver();
    // One session at a time.
    if (refusedAsBusy(automatic) || !canStart()) return;
    // The job's opening.
    m_host.setButtonsEnabled(telnet::EventLogButton | telnet::PasswordButton, false);
    show((automatic ? QStringLiteral("Automatic transfer of eventlog at ")
                    : QStringLiteral("Manual transfer of eventlog at ")) +
         nowText());
    // The session: log-on, the router told to upload, the wait, the close; the receiver
    // takes that one file meanwhile.
    const QString file = QString::fromStdString(eventlog::FileNameAt(Clock::now()));
    m_receiver->setJob(m_widgets.directory->text().toStdString(), m_host.routerAddress().toStdString(),
                       file.toStdString());
    m_session.eventLog(m_widgets.computerAddress->text(), file);
    m_receiver->endJob();
}

void EventLogTransfer::chooseDirectory(QWidget* parent, const std::function<void(QDialog&)>& runModal) {
    TDirForm chooser(*m_widgets.directory, parent);
    runModal(chooser);
}

void EventLogTransfer::startReceiver() {
    if (m_receiver) return;
    QPlainTextEdit* pane = m_widgets.status;
    m_receiver = std::make_unique<TTFTPDaemonThread>(
        "0.0.0.0", m_tftp,
        TTFTPDaemonThread::guiLogger(pane, [pane](const QString& line) { appendToPane(*pane, {line}); }));
    m_receiver->setJobDoneFlag(&m_session.TelnetJobDone);
}

bool EventLogTransfer::refusedAsBusy(bool automatic) {
    if (!m_session.busy()) return false;
    // A tick always comes inside the running job's own wait, which cannot go on before this
    // handler has returned: waiting here for its end would never end. The next tick tries again.
    show(automatic ? QStringLiteral("Another telnet session is in progress!\r\nWaiting ...") + nowText()
                   : QStringLiteral("Another telnet session is in progress!\r\nPlease try again in a few "
                                    "seconds :)"));
    return true;
}

bool EventLogTransfer::canStart() {
    // Never the file system's root by accident: an empty directory is asked for.
    if (m_widgets.directory->text().trimmed().isEmpty()) {
        UiSeam::beep();
        show(QStringLiteral("Please choose a directory to save the event log to."));
        return false;
    }
    // The Misc page may never have been shown: find the computer's address now.
    QLineEdit* computer = m_widgets.computerAddress;
    if (!isUsableAddress(computer->text())) {
        if (const QString own = m_findComputerAddress(); !own.isEmpty()) computer->setText(own);
    }
    if (!isUsableAddress(computer->text())) {
        UiSeam::beep();
        show(QStringLiteral("No IP address of this computer found ... transfer aborted!"));
        return false;
    }
    return true;
}

void EventLogTransfer::show(const QString& line) {
    m_widgets.status->clear();
    appendToPane(*m_widgets.status, {line});
}
