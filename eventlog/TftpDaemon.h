// The event-log receiver: a background thread serving TFTP write requests from the router into the
// chosen directory, one request at a time, for the rest of the program's run.
//
// The window talks to it through this interface only: log lines come through the LogFn (guiLogger()
// delivers them on the GUI thread, the daemon waiting until each is shown), setJob() hands over a copy
// of the directory and the router address when a transfer starts, and the done flag is set when an
// upload is refused because the file already exists. No widget is ever read from the daemon thread.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class TTFTPSend;

class TTFTPDaemonThread {
public:
    using LogFn = std::function<void(const std::string& line)>;

    // Starts serving at once on address:port ("0.0.0.0" and "69" in the program).
    TTFTPDaemonThread(std::string address, std::string port, LogFn log);
    ~TTFTPDaemonThread(); // stop()
    TTFTPDaemonThread(const TTFTPDaemonThread&) = delete;
    TTFTPDaemonThread& operator=(const TTFTPDaemonThread&) = delete;

    // Called on the GUI thread when a transfer starts: the directory to store into and the router
    // (dotted address or host name), the only peer whose uploads are taken.
    void setJob(const std::string& directory, const std::string& routerAddress);
    // Set to true when an upload is refused because its file already exists (ends the job's wait).
    void setJobDoneFlag(std::atomic<bool>* done);
    // Pause between two attempts to bind the port after a failure (5000 ms unless changed).
    void setBindRetryMs(int ms);
    // Ends the loop within a fraction of a second and joins the thread; log lines still being
    // delivered to the GUI thread meanwhile are shown (the GUI thread's events are processed).
    void stop();
    bool running() const { return !m_finished; }

    // A LogFn that appends each line through append on receiver's thread, the caller waiting until it
    // ran (called directly when already on that thread). The receiver must outlive the daemon.
    static LogFn guiLogger(QObject* receiver, std::function<void(const QString&)> append);

private:
    void run();
    void serve(TTFTPSend& server, std::uint16_t opcode, const std::string& fileName);
    void serveWrite(TTFTPSend& server, const std::string& fileName);
    bool refused(TTFTPSend& server, const std::string& fileName, const std::string& directory);
    void receiveInto(TTFTPSend& server, const std::string& directory, const std::string& fileName);
    void waitBeforeRebind(const std::string& reason, bool& reported);
    void log(const std::string& line);
    void markJobDone();

    const std::string m_address;
    const std::string m_port;
    const LogFn m_log;
    std::mutex m_mutex; // guards the job fields below
    std::string m_directory;
    std::string m_routerAddress;
    std::atomic<std::atomic<bool>*> m_jobDone{nullptr};
    std::atomic<int> m_bindRetryMs{5000};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};
