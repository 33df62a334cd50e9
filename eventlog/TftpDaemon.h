// The event-log receiver: a background thread serving TFTP on one port for the rest of the program's
// run. It takes an upload only while an event-log transfer waits for it, only from the router and only
// under the name that transfer asked for; everything else is refused and stores nothing. Uploads run
// side by side, each through its own socket, streamed into a temporary file that gets its name once
// complete and synced.
//
// The window talks to it through this interface only: log lines come through the LogFn (guiLogger()
// delivers them on the GUI thread, the daemon waiting until each is shown), setJob() hands over a copy
// of the directory, the router address and the awaited name when a transfer starts, endJob() ends the
// wait, and the done flag is set when an upload is refused because the file already exists. No widget
// is ever read from the daemon thread.
#pragma once

#include "net/TftpServer.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TTFTPDaemonThread {
public:
    using LogFn = std::function<void(const std::string& line)>;

    // Starts serving at once on address ("0.0.0.0" in the program) and the settings' port, each
    // packet awaited at most the settings' time-out.
    TTFTPDaemonThread(std::string address, const TftpSettings& settings, LogFn log);
    ~TTFTPDaemonThread(); // stop()
    TTFTPDaemonThread(const TTFTPDaemonThread&) = delete;
    TTFTPDaemonThread& operator=(const TTFTPDaemonThread&) = delete;

    // Called on the GUI thread when a transfer starts: the directory to store into, the router
    // (dotted address or host name), the only peer whose uploads are taken, and the file name the
    // router was told to send, the only one taken. The wait lasts until endJob().
    void setJob(const std::string& directory, const std::string& routerAddress, const std::string& fileName);
    // The transfer's wait has ended: no further request is taken; an upload under way is finished.
    void endJob();
    // Set to true when an upload is refused because its file already exists (ends the job's wait).
    void setJobDoneFlag(std::atomic<bool>* done);
    // Pause between two attempts to bind the port after a failure (5000 ms unless changed).
    void setBindRetryMs(int ms);
    // Refused requests of one sender are summed up per window of this length (a minute unless
    // changed; 0 shows every one).
    void setRefusalWindowMs(int ms);
    // Ends the loop within a fraction of a second and joins the thread; log lines still being
    // delivered to the GUI thread meanwhile are shown (the GUI thread's events are processed).
    void stop();
    bool running() const { return !m_finished; }

    // A LogFn that appends each line through append on receiver's thread, the caller waiting until it
    // ran (called directly when already on that thread). The receiver must outlive the daemon.
    static LogFn guiLogger(QObject* receiver, std::function<void(const QString&)> append);

private:
    struct Job {
        std::string directory;
        std::string routerAddress;
        std::string fileName;
        bool awaiting = false;
        unsigned generation = 0;
    };
    struct Serving; // the daemon thread's own state

    void run();
    void pass(TTFTPSend& server, Serving& serving);
    void serve(TTFTPSend& server, Serving& serving, std::uint16_t opcode, const std::string& fileName);
    void serveWrite(TTFTPSend& server, Serving& serving, const std::string& fileName);
    std::string refusal(const TTFTPSend& server, Serving& serving, const Job& job,
                        const std::string& fileName);
    void refuse(Serving& serving, const std::string& sender, const std::vector<std::string>& lines);
    void waitBeforeRebind(const std::string& reason, bool& reported);
    void log(const std::string& line);
    void markJobDone();
    Job job();

    const std::string m_address;
    const TftpSettings m_settings;
    const std::string m_port; // the settings' port in decimal
    const LogFn m_log;
    std::mutex m_mutex; // guards m_job
    Job m_job;
    std::atomic<int> m_refusalWindowMs{60000};
    std::atomic<std::atomic<bool>*> m_jobDone{nullptr};
    std::atomic<int> m_bindRetryMs{5000};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};
