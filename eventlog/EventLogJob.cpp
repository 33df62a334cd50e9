// The event-log transfer from the window: the receiver started on first use, the busy texts, the
// directory and computer-address checks, the job's opening line, then the command-line session;
// and the chooser of the directory the logs go to.
#include "app/Main_Unit.h"

#include "app/core/SettingsText.h"
#include "eventlog/core/EventLogNames.h"
#include "net/TftpServer.h"
#include "telnet/TelnetParts.h"
#include "ui/Clock.h"
#include "ui/PaneText.h"
#include "ui/Trigger.h"
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

void TMainForm::EventLog_TimerTimer(QObject* Sender) {
    TelnetEventLog_ButClick(Sender);
}

void TMainForm::TelnetEventLog_ButClick(QObject* Sender) {
    const bool automatic = triggerOf(Sender) == Trigger::Tick;
    const MiscPageWidgets& m = misc().widgets();
    TelnetParts& t = *m_telnet;
    // 1. The receiver runs from the first attempt on, even one refused as busy.
    if (!t.TftpDaemon) {
        t.TftpDaemon = std::make_unique<TTFTPDaemonThread>(
            "0.0.0.0", std::to_string(tftpconfig::port()),
            TTFTPDaemonThread::guiLogger(
                this, [memo = m.Status_Memo](const QString& line) { appendToPane(*memo, {line}); }));
        t.TftpDaemon->setJobDoneFlag(&t.session.TelnetJobDone);
    }
    // 2. One session at a time.
    if (eventLogRefusedAsBusy(automatic)) return;
    if (!eventLogCanStart()) return;
    // 3. The job's opening.
    m_telnet->host.setButtonsEnabled(telnet::EventLogButton | telnet::PasswordButton, false);
    m.Status_Memo->clear();
    appendToPane(*m.Status_Memo, {(automatic ? QStringLiteral("Automatic transfer of eventlog at ")
                                             : QStringLiteral("Manual transfer of eventlog at ")) +
                                  nowText()});
    // 4. to 6. The session: log-on, the router told to upload, the wait, the close; the receiver
    // takes that one file meanwhile.
    const QString file = QString::fromStdString(eventlog::FileNameAt(Clock::now()));
    t.TftpDaemon->setJob(m.Dir_Edit->text().toStdString(), routerHost().toStdString(), file.toStdString());
    t.session.eventLog(m.PCIP_Edit->text(), file);
    t.TftpDaemon->endJob();
}

bool TMainForm::eventLogRefusedAsBusy(bool automatic) {
    if (!m_telnet->session.busy()) return false;
    QPlainTextEdit* memo = misc().widgets().Status_Memo;
    memo->clear();
    if (!automatic) {
        appendToPane(*memo,
                     {QStringLiteral("Another telnet session is in progress!\r\nPlease try again in a few "
                                     "seconds :)")});
        return true;
    }
    appendToPane(*memo,
                 {QStringLiteral("Another telnet session is in progress!\r\nWaiting ...") + nowText()});
    // A tick always comes inside the running job's own wait, which cannot go on before this
    // handler has returned: waiting here for its end would never end. The next tick tries again.
    return true;
}

bool TMainForm::eventLogCanStart() {
    const MiscPageWidgets& m = misc().widgets();
    // Never the file system's root by accident: an empty directory is asked for.
    if (m.Dir_Edit->text().trimmed().isEmpty()) {
        UiSeam::beep();
        m.Status_Memo->clear();
        appendToPane(*m.Status_Memo, {QStringLiteral("Please choose a directory to save the event log to.")});
        return false;
    }
    // The Misc page may never have been shown: find the computer's address now.
    if (!isUsableAddress(m.PCIP_Edit->text())) {
        if (const QString own = computerAddress(); !own.isEmpty()) m.PCIP_Edit->setText(own);
    }
    if (!isUsableAddress(m.PCIP_Edit->text())) {
        UiSeam::beep();
        m.Status_Memo->clear();
        appendToPane(*m.Status_Memo,
                     {QStringLiteral("No IP address of this computer found ... transfer aborted!")});
        return false;
    }
    return true;
}

void TMainForm::Dir_SpdButClick(QObject*) {
    TDirForm chooser(*misc().widgets().Dir_Edit, this);
    m_telnet->runModal(chooser);
}
