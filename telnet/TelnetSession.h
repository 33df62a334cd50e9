// The router command-line session: one job at a time over the one telnet client (log-on, command
// lines, a bounded wait that keeps the window running, forced close), and the handlers that turn the
// router's output and the client's notifications into what the window shows.
#pragma once

#include "net/TelnetClient.h"
#include "telnet/TelnetHost.h"
#include "telnet/core/OutputInterpreter.h"
#include "telnet/core/TelnetJobs.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class QTimer;

class TelnetSession : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Finished, Failed, Busy };

    static constexpr int StartupWaitSeconds = 12; // the splash count at which the start-up job connects

    explicit TelnetSession(telnet::TelnetHost& host, QObject* parent = nullptr);
    ~TelnetSession() override;

    // The jobs. Each runs on the GUI thread and returns when it has ended.
    Outcome getAdslModeAtStartup(); // behind the splash; a failure shows the message and reports it
    Outcome setAdslMode();          // SetADSLMode_ButClick
    Outcome setPassword();          // SetPwd_ButClick
    // The event-log job's session (the caller does its busy texts, buttons and opening line first).
    Outcome eventLog(const QString& computerAddress, const QString& fileName);

    // A job is connecting or running, or the client is connected.
    bool busy();
    // Ends the wait of a running job at once (the window is closing).
    void abort() { m_abort = true; }

    // Job state.
    QString TelnetJob;
    std::atomic<bool> TelnetJobDone{false}; // the TFTP daemon may set it from its thread
    int TelnetTicks = 0;
    QTimer* Telnet_Timer;
    TIdTelnet IdTelnetClient;

    static QString startupFailureText();
    static QString notChangedText();

    // For tests: the tick of Telnet_Timer and of the splash countdown (the program keeps 1000 ms).
    void setTickIntervalMs(int ms);
    // For tests: the splash countdown's tick alone (0: the same as Telnet_Timer's).
    void setSplashTickMs(int ms) { m_splashTickMs = ms; }
    // For tests: every job connects with this time-out instead of its own (0: the job's own).
    void setConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }

    // Asks the router whether it holds the given password (a password job it did not confirm).
    void setPasswordProbe(std::function<bool(const QString& password)> probe) { m_probe = std::move(probe); }
    // The default mode the router last reported or took over (Mode::None before any).
    telnet::Mode readMode() const { return m_readMode; }

    // Handlers.
    void IdTelnetClientDataAvailable(const std::string& text);
    void IdTelnetClientStatus(TelnetStatus code, const std::string& text);
    void IdTelnetClientDisconnected();
    void Telnet_TimerTimer();

private:
    void start(telnet::Job job);
    // Connects, writes the job's lines and waits until done, the tick limit, stop() or a closed line.
    void converse(telnet::Job job, const telnet::JobParams& params, const std::function<bool()>& stop = {});
    void fail(telnet::Pane pane, const std::exception& error);
    bool refusedAsBusy(telnet::Pane pane);
    void opening(telnet::Pane pane, const QString& line);
    // The error trap and the close around converse(); after() runs once the wait has ended.
    Outcome runJob(telnet::Job job, const telnet::JobParams& params, int buttonsOnError,
                   const std::function<void()>& after = {});
    void close(telnet::Job job);
    void pump(int ms = 10);
    bool limitReached(telnet::Job job) const;
    // After a password job: the new password holds when confirmed, or when the router answers to it.
    bool passwordTaken(const QString& next);

    telnet::TelnetHost& m_host;
    bool m_running = false;
    bool m_abort = false;
    bool m_saved = false;           // "Configuration saved." seen in this job
    telnet::OutputScanner m_output; // the job's output so far, for phrases cut between two reads
    int m_tickMs = 1000;
    int m_splashTickMs = 0;
    int m_connectTimeoutMs = 0;
    std::function<bool(const QString&)> m_probe;
    telnet::Mode m_readMode = telnet::Mode::None;
};
