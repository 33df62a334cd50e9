// The router command-line session: job skeleton, output handling and the four jobs.
#include "telnet/TelnetSession.h"

#include "telnet/core/OutputInterpreter.h"
#include "ui/UiSeam.h"
#include "windows/Splash_Unit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>

using namespace telnet;

namespace {

// Clears the running flag on every way out of a job.
struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
};

std::string bytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

} // namespace

TelnetSession::TelnetSession(TelnetHost& host, QObject* parent) : QObject(parent), m_host(host) {
    Telnet_Timer = new QTimer(this);
    Telnet_Timer->setObjectName(QStringLiteral("Telnet_Timer"));
    Telnet_Timer->setInterval(m_tickMs);
    connect(Telnet_Timer, &QTimer::timeout, this, &TelnetSession::Telnet_TimerTimer);
    IdTelnetClient.onStatus = [this](TelnetStatus c, const std::string& t) { IdTelnetClientStatus(c, t); };
    IdTelnetClient.onDataAvailable = [this](const std::string& t) { IdTelnetClientDataAvailable(t); };
    IdTelnetClient.onDisconnected = [this] { IdTelnetClientDisconnected(); };
}

TelnetSession::~TelnetSession() {
    m_abort = true;
    IdTelnetClient.onStatus = nullptr;
    IdTelnetClient.onDataAvailable = nullptr;
    IdTelnetClient.onDisconnected = nullptr;
}

QString TelnetSession::startupFailureText() {
    return QStringLiteral(
        "Telnet is not responding!\r\rPossible reasons include:\r\r1) Incorrect router IP "
        "address; \r2) Incorrect router SNMP community name;\r3) Firmware with Telnet "
        "disabled; or\r4) Existing Telnet connection to router.\r\rDisabling telnet on startup!");
}

QString TelnetSession::notChangedText() {
    return QStringLiteral("The password was not changed.");
}

void TelnetSession::setTickIntervalMs(int ms) {
    m_tickMs = ms;
    Telnet_Timer->setInterval(ms);
}

bool TelnetSession::busy() {
    return m_running || IdTelnetClient.connected();
}

// ---- handlers -----------------------------------------------------------------------------------

void TelnetSession::IdTelnetClientDataAvailable(const std::string& text) {
    for (const Effect& e : m_output.feed(text, bytes(TelnetJob), m_host.checkedMode())) {
        switch (e.kind) {
        case Effect::Kind::Append:
            m_host.appendLine(e.pane, QString::fromStdString(e.text));
            break;
        case Effect::Kind::Beep:
            UiSeam::beep();
            break;
        case Effect::Kind::CheckMode:
            m_readMode = e.mode;
            m_host.checkMode(e.mode);
            break;
        case Effect::Kind::Saved:
            m_saved = true;
            break;
        case Effect::Kind::Done:
            TelnetJobDone = true;
            break;
        }
    }
}

void TelnetSession::IdTelnetClientStatus(TelnetStatus, const std::string& text) {
    m_host.appendLine(paneOf(bytes(TelnetJob)), QString::fromLocal8Bit(text));
}

void TelnetSession::IdTelnetClientDisconnected() {
    m_host.setButtonsEnabled(AllJobButtons, true);
}

void TelnetSession::Telnet_TimerTimer() {
    ++TelnetTicks;
}

// ---- skeleton -----------------------------------------------------------------------------------

void TelnetSession::pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool TelnetSession::limitReached(Job job) const {
    const JobEntry& entry = jobEntry(job);
    return entry.tickLimit > 0 && TelnetTicks >= entry.tickLimit;
}

void TelnetSession::start(Job job) {
    TelnetJob = QString::fromLatin1(jobEntry(job).name);
    TelnetJobDone = false;
    m_saved = false;
    m_abort = false;
    m_output.reset();
}

void TelnetSession::converse(Job job, const JobParams& params, const std::function<bool()>& stop) {
    IdTelnetClient.setHost(bytes(m_host.routerAddress()));
    IdTelnetClient.connect(m_connectTimeoutMs > 0 ? m_connectTimeoutMs : jobEntry(job).connectTimeoutMs);
    for (const Line& line : jobLines(job, params)) {
        if (line.pauseBeforeMs > 0) {
            QElapsedTimer pause;
            pause.start();
            while (pause.elapsed() < line.pauseBeforeMs)
                pump();
        }
        IdTelnetClient.write(line.text);
    }
    if (jobEntry(job).tickLimit > 0) Telnet_Timer->start();
    // Once the line is closed nothing more can come: the wait ends there too.
    while (!TelnetJobDone && !limitReached(job) && !m_abort && !(stop && stop()) &&
           IdTelnetClient.connected())
        pump();
}

void TelnetSession::fail(Pane pane, const std::exception& error) {
    UiSeam::beep();
    m_host.appendLine(pane, QString::fromLocal8Bit(error.what()));
}

void TelnetSession::close(Job job) {
    const JobEntry& entry = jobEntry(job);
    if (IdTelnetClient.connected()) {
        if (limitReached(job)) m_host.appendLine(paneOf(entry.name), QString::fromLatin1(entry.timeoutLine));
        try {
            IdTelnetClient.write(CloseLine);
        } catch (const TelnetError&) {
            // the line is going down anyway
        }
        IdTelnetClient.disconnect();
    }
    if (Telnet_Timer->isActive()) {
        Telnet_Timer->stop();
        TelnetTicks = 0;
    }
}

// ---- jobs ---------------------------------------------------------------------------------------

TelnetSession::Outcome TelnetSession::getAdslModeAtStartup() {
    if (busy()) return Outcome::Busy;
    Running running(m_running);
    auto splash = std::make_unique<TSplashForm>();
    splash->splashTimer()->setInterval(m_splashTickMs > 0 ? m_splashTickMs : m_tickMs);
    splash->show();
    while (splash->seconds() > StartupWaitSeconds && !m_abort)
        pump();
    start(Job::GetAdslMode);
    opening(Pane::AdslModeLog, QStringLiteral("Retrieving ADSL mode ..."));
    bool failed = false;
    try {
        JobParams params;
        params.password = bytes(m_host.community());
        converse(Job::GetAdslMode, params, [&] { return splash->seconds() == 0; });
        if (!TelnetJobDone && !m_abort) throw TelnetError("no default mode reported");
    } catch (const std::exception&) {
        failed = true;
        UiSeam::beep();
        splash->hide();
        UiSeam::warning(m_host.dialogParent(), QStringLiteral("Kestrune Utility"), startupFailureText());
        m_host.telnetOnStartupFailed();
    }
    close(Job::GetAdslMode);
    return failed ? Outcome::Failed : Outcome::Finished;
}

bool TelnetSession::refusedAsBusy(Pane pane) {
    if (!busy()) return false;
    m_host.clearPane(pane);
    m_host.appendLine(pane, QString::fromLatin1(BusyText));
    return true;
}

void TelnetSession::opening(Pane pane, const QString& line) {
    m_host.clearPane(pane);
    m_host.appendLine(pane, line);
}

TelnetSession::Outcome TelnetSession::runJob(Job job, const JobParams& params, int buttonsOnError,
                                             const std::function<void()>& after) {
    bool failed = false;
    try {
        converse(job, params);
        if (after) after();
    } catch (const std::exception& e) {
        failed = true;
        fail(paneOf(jobEntry(job).name), e);
        if (job == Job::SetAdslMode) m_host.checkMode(m_readMode);
        m_host.setButtonsEnabled(buttonsOnError, true);
    }
    close(job);
    return failed ? Outcome::Failed : Outcome::Finished;
}

TelnetSession::Outcome TelnetSession::setAdslMode() {
    if (refusedAsBusy(Pane::AdslModeLog)) return Outcome::Busy;
    Running running(m_running);
    start(Job::SetAdslMode);
    if (m_host.checkedMode() == Mode::None) m_host.checkMode(Mode::Auto);
    m_host.setButtonsEnabled(AdslModeButton, false);
    opening(Pane::AdslModeLog, QStringLiteral("Changing ADSL mode"));
    JobParams params;
    params.password = bytes(m_host.community());
    params.mode = m_host.checkedMode();
    // A mode the router did not confirm is not shown as its mode: the one last read comes back.
    return runJob(Job::SetAdslMode, params, AdslModeButton, [&] {
        if (m_saved)
            m_readMode = params.mode;
        else
            m_host.checkMode(m_readMode);
    });
}

TelnetSession::Outcome TelnetSession::setPassword() {
    if (refusedAsBusy(Pane::Status)) return Outcome::Busy;
    Running running(m_running);
    start(Job::SetPassword);
    m_host.pausePeriodicTimers();
    m_host.setButtonsEnabled(PasswordButton | EventLogButton, false);
    opening(Pane::Status, QStringLiteral("Changing password"));
    const QString current = m_host.currentPassword(), next = m_host.newPassword();
    JobParams params;
    params.password = bytes(current);
    params.newPassword = bytes(next);
    TelnetTicks = 0;
    // Only a change the router holds is taken over; otherwise the old secret still holds.
    const Outcome outcome = runJob(Job::SetPassword, params, PasswordButton | EventLogButton, [&] {
        if (!passwordTaken(next)) return m_host.appendLine(Pane::Status, notChangedText());
        if (m_host.community() == current) m_host.setCommunity(next);
        m_host.setCurrentPassword(next);
        m_host.setNewPassword(QString());
    });
    m_host.resumePeriodicTimers();
    return outcome;
}

bool TelnetSession::passwordTaken(const QString& next) {
    return m_saved || (m_probe && m_probe(next));
}

TelnetSession::Outcome TelnetSession::eventLog(const QString& computerAddress, const QString& fileName) {
    if (busy()) return Outcome::Busy;
    Running running(m_running);
    start(Job::EventLog);
    JobParams params;
    params.password = bytes(m_host.community());
    params.computerAddress = bytes(computerAddress);
    params.fileName = bytes(fileName);
    return runJob(Job::EventLog, params, AllJobButtons);
}
