// The event-log receiver thread: takes the router's uploads into the chosen directory.
#include "eventlog/TftpDaemon.h"

#include "eventlog/core/EventLogNames.h"
#include "net/LocalAddress.h"
#include "net/TftpServer.h"
#include "net/core/TftpPacket.h"

#include <QCoreApplication>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* AccessViolationText = "Access violation.";

std::string JoinPath(const std::string& directory, const std::string& fileName) {
    return directory.ends_with('/') ? directory + fileName : directory + "/" + fileName;
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0; // a dangling link counts: it is never followed
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

} // namespace

TTFTPDaemonThread::TTFTPDaemonThread(std::string address, std::string port, LogFn log)
    : m_address(std::move(address)), m_port(std::move(port)), m_log(std::move(log)) {
    m_thread = std::thread([this] { run(); });
}

TTFTPDaemonThread::~TTFTPDaemonThread() {
    stop();
}

void TTFTPDaemonThread::setJob(const std::string& directory, const std::string& routerAddress) {
    std::lock_guard lock(m_mutex);
    m_directory = directory;
    m_routerAddress = routerAddress;
}

void TTFTPDaemonThread::setJobDoneFlag(std::atomic<bool>* done) {
    m_jobDone = done;
}

void TTFTPDaemonThread::setBindRetryMs(int ms) {
    m_bindRetryMs = ms;
}

void TTFTPDaemonThread::stop() {
    m_stop = true;
    if (!m_thread.joinable()) return;
    QCoreApplication* app = QCoreApplication::instance();
    const bool onGuiThread = app && QThread::currentThread() == app->thread();
    while (!m_finished) {
        if (onGuiThread) QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_thread.join();
}

TTFTPDaemonThread::LogFn TTFTPDaemonThread::guiLogger(QObject* receiver,
                                                      std::function<void(const QString&)> append) {
    return [receiver, append = std::move(append)](const std::string& line) {
        const QString text = QString::fromStdString(line);
        if (QThread::currentThread() == receiver->thread()) {
            append(text);
            return;
        }
        QMetaObject::invokeMethod(
            receiver, [&append, &text] { append(text); }, Qt::BlockingQueuedConnection);
    };
}

void TTFTPDaemonThread::log(const std::string& line) {
    if (m_log) m_log(line);
}

void TTFTPDaemonThread::markJobDone() {
    if (std::atomic<bool>* done = m_jobDone.load()) *done = true;
}

void TTFTPDaemonThread::run() {
    {
        TTFTPSend server;
        server.Abort = &m_stop;
        log("TFTP daemon thread created on port " + m_port);
        server.LocalInterface = m_address;
        server.TargetPort = m_port;
        bool bindReported = false;
        while (!m_stop) {
            std::uint16_t opcode = 0;
            std::string fileName;
            const bool request = server.AwaitRequest(opcode, fileName);
            if (!server.SocketError.empty()) {
                waitBeforeRebind(server.SocketError, bindReported);
                continue;
            }
            if (bindReported) log("TFTP daemon listening on port " + m_port);
            bindReported = false;
            if (request) serve(server, opcode, fileName);
        }
    }
    m_finished = true;
}

void TTFTPDaemonThread::waitBeforeRebind(const std::string& reason, bool& reported) {
    if (!reported)
        log("TFTP daemon cannot use UDP port " + m_port + " (" + reason +
            "); ports below 1024 need root or the cap_net_bind_service capability. Retrying ...");
    reported = true;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_bindRetryMs.load());
    while (!m_stop && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void TTFTPDaemonThread::serve(TTFTPSend& server, std::uint16_t opcode, const std::string& fileName) {
    const std::string from = server.RequestIP + ":" + server.RequestPort;
    if (opcode == tftp::ReadRequest) {
        log("TFTP read request from " + from);
        log("File: " + fileName);
        log("Ignoring unauthorised read request");
    } else if (opcode == tftp::WriteRequest) {
        log("TFTP write request from " + from);
        log("File: " + fileName);
        serveWrite(server, fileName);
    }
}

void TTFTPDaemonThread::serveWrite(TTFTPSend& server, const std::string& fileName) {
    std::string directory;
    {
        std::lock_guard lock(m_mutex);
        directory = m_directory;
    }
    if (refused(server, fileName, directory)) return;
    if (PathExists(JoinPath(directory, fileName))) {
        server.RejectRequest(tftp::FileExists, "File already exists.");
        log("File already exists!");
        markJobDone();
        return;
    }
    receiveInto(server, directory, fileName);
}

// Refuses (error 2 and a line) an upload from anyone but the router, a name that is not a plain file
// name, and an upload while no directory is known.
bool TTFTPDaemonThread::refused(TTFTPSend& server, const std::string& fileName,
                                const std::string& directory) {
    std::string router;
    {
        std::lock_guard lock(m_mutex);
        router = m_routerAddress;
    }
    std::string reason;
    if (localaddress::ResolveIPv4(router) != server.RequestIP)
        reason = "Upload refused: " + server.RequestIP + " is not the router";
    else if (!eventlog::IsPlainFileName(fileName))
        reason = "Upload refused: the file name is not a plain name";
    else if (directory.empty())
        reason = "Upload refused: no directory to save to";
    if (reason.empty()) return false;
    log(reason);
    server.RejectRequest(tftp::AccessViolation, AccessViolationText);
    return true;
}

// Receives into a new temporary file beside the target and gives it the requested name only when the
// upload and the write are complete, never replacing a file; a failure leaves nothing behind.
void TTFTPDaemonThread::receiveInto(TTFTPSend& server, const std::string& directory,
                                    const std::string& fileName) {
    const std::string path = JoinPath(directory, fileName);
    std::string temporary = JoinPath(directory, "." + fileName + ".XXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const std::string reason = std::strerror(errno);
        server.RejectRequest(tftp::AccessViolation, AccessViolationText);
        log("Cannot write " + path + ": " + reason);
        return;
    }
    ::fchmod(fd, 0644);
    bool written = false;
    std::string failure;
    if (server.ReceiveUpload()) {
        written = WriteAll(fd, server.Data);
        if (!written) failure = std::strerror(errno);
    }
    if (::close(fd) != 0 && written) {
        written = false;
        failure = std::strerror(errno);
    }
    if (written && ::link(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        written = false;
        if (error == EEXIST)
            log("File already exists!"); // created meanwhile by someone else
        else
            failure = std::strerror(error);
    }
    ::unlink(temporary.c_str());
    server.Data.clear();
    if (written)
        log("File succesfully written.");
    else if (!failure.empty())
        log("Cannot write " + path + ": " + failure);
}
