// The event-log receiver thread: takes the router's awaited upload into the chosen directory and
// refuses every other request.
#include "eventlog/TftpDaemon.h"

#include "eventlog/core/EventLogNames.h"
#include "eventlog/core/RefusalSummary.h"
#include "net/LocalAddress.h"
#include "net/TftpServer.h"
#include "net/core/TftpPacket.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* AccessViolationText = "Access violation.";
constexpr const char* FileExistsText = "File already exists.";
// Uploads received side by side at most; the router sends one.
constexpr std::size_t MaxUploads = 8;
// Largest upload taken (event logs are a few kilobytes).
constexpr std::uint64_t MaxUploadSize = 64u << 20;
// Longest pause of the loop, so that stop() and the summaries are seen soon.
constexpr int PassMs = 100;
// Longest file name shown for a refused request.
constexpr std::size_t ShownNameLength = 80;

std::string JoinPath(const std::string& directory, const std::string& fileName) {
    return directory.ends_with('/') ? directory + fileName : directory + "/" + fileName;
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0; // a dangling link counts: it is never followed
}

// A name from a peer as it may be shown: control characters replaced, cut to a bounded length.
std::string Shown(const std::string& name) {
    std::string shown = name.substr(0, ShownNameLength);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return name.size() > ShownNameLength ? shown + "..." : shown;
}

bool SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.empty() ? "/" : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// An upload streamed into a new temporary file beside the target; commit() syncs it and gives it the
// requested name, never replacing a file. Whatever is not committed is removed.
class FileSink : public TftpSink {
public:
    FileSink(std::string directory, const std::string& fileName)
        : m_directory(std::move(directory)), m_path(JoinPath(m_directory, fileName)),
          m_temporary(JoinPath(m_directory, "." + fileName + ".XXXXXX")) {}
    ~FileSink() override {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
    }
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool create() {
        m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
        if (m_fd < 0) {
            m_temporary.clear();
            return failed(errno);
        }
        ::fchmod(m_fd, 0644);
        return true;
    }
    bool append(std::string_view bytes) override {
        if (m_size + bytes.size() > MaxUploadSize) return failed(EFBIG);
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return failed(n < 0 ? errno : ENOSPC);
            bytes.remove_prefix(static_cast<std::size_t>(n));
            m_size += static_cast<std::uint64_t>(n);
        }
        return true;
    }
    bool commit() override {
        if (::fsync(m_fd) != 0) return failed(errno);
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) return failed(errno);
        if (::link(m_temporary.c_str(), m_path.c_str()) != 0) return failed(errno);
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        if (!SyncDirectory(m_directory)) return failed(errno);
        return true;
    }
    std::uint16_t errorCode() const override {
        switch (m_errno) {
        case EEXIST:
            return tftp::FileExists;
        case EACCES:
        case EPERM:
        case EROFS:
        case ENOENT:
        case ENOTDIR:
            return tftp::AccessViolation;
        default:
            return tftp::DiskFull;
        }
    }
    std::string errorMessage() const override {
        switch (errorCode()) {
        case tftp::FileExists:
            return FileExistsText;
        case tftp::AccessViolation:
            return AccessViolationText;
        default:
            return TftpSink::errorMessage();
        }
    }
    // What went wrong, "" when nothing did.
    std::string failure() const { return m_errno ? std::strerror(m_errno) : std::string(); }
    bool exists() const { return m_errno == EEXIST; }
    const std::string& path() const { return m_path; }

private:
    bool failed(int error) {
        m_errno = error ? error : EIO;
        return false;
    }

    const std::string m_directory;
    const std::string m_path;
    std::string m_temporary; // "" once linked or never made
    int m_fd = -1;
    int m_errno = 0;
    std::uint64_t m_size = 0;
};

struct Receiving {
    std::unique_ptr<FileSink> sink;
    std::unique_ptr<TftpUpload> upload;
};

} // namespace

// What only the daemon thread touches.
struct TTFTPDaemonThread::Serving {
    std::vector<Receiving> uploads;
    eventlog::RefusalSummary refusals;
    unsigned resolvedGeneration = ~0u;
    std::optional<std::string> router; // the router's dotted address for that job
};

TTFTPDaemonThread::TTFTPDaemonThread(std::string address, const TftpSettings& settings, LogFn log)
    : m_address(std::move(address)), m_settings(settings), m_port(std::to_string(settings.port)),
      m_log(std::move(log)) {
    m_thread = std::thread([this] { run(); });
}

TTFTPDaemonThread::~TTFTPDaemonThread() {
    stop();
}

void TTFTPDaemonThread::setJob(const std::string& directory, const std::string& routerAddress,
                               const std::string& fileName) {
    std::lock_guard lock(m_mutex);
    m_job = Job{directory, routerAddress, fileName, true, m_job.generation + 1};
}

void TTFTPDaemonThread::endJob() {
    std::lock_guard lock(m_mutex);
    m_job.awaiting = false;
}

TTFTPDaemonThread::Job TTFTPDaemonThread::job() {
    std::lock_guard lock(m_mutex);
    return m_job;
}

void TTFTPDaemonThread::setJobDoneFlag(std::atomic<bool>* done) {
    m_jobDone = done;
}

void TTFTPDaemonThread::setBindRetryMs(int ms) {
    m_bindRetryMs = ms;
}

void TTFTPDaemonThread::setRefusalWindowMs(int ms) {
    m_refusalWindowMs = ms;
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
        TTFTPSend server(m_settings);
        server.Abort = &m_stop;
        log("TFTP daemon thread created on port " + m_port);
        server.LocalInterface = m_address;
        Serving serving;
        bool bindReported = false;
        while (!m_stop) {
            if (!server.Listen()) {
                waitBeforeRebind(server.SocketError, bindReported);
                continue;
            }
            if (bindReported) log("TFTP daemon listening on port " + m_port);
            bindReported = false;
            pass(server, serving);
        }
    } // uploads still under way are dropped with their temporary files
    m_finished = true;
}

// One wait on the server port and every upload's socket, then whatever arrived.
void TTFTPDaemonThread::pass(TTFTPSend& server, Serving& serving) {
    using SteadyClock = std::chrono::steady_clock;
    std::vector<pollfd> fds{{server.ListenSocket(), POLLIN, 0}};
    auto wake = SteadyClock::now() + std::chrono::milliseconds(PassMs);
    for (const Receiving& r : serving.uploads) {
        fds.push_back({r.upload->socket(), POLLIN, 0});
        wake = std::min(wake, r.upload->deadline());
    }
    const auto waitMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(wake - SteadyClock::now()).count();
    if (::poll(fds.data(), fds.size(), static_cast<int>(std::clamp<long long>(waitMs, 0, PassMs))) < 0 &&
        errno != EINTR)
        return;
    const auto now = SteadyClock::now();
    // Uploads first: an answer is never held up by the requests of others.
    std::vector<Receiving> ongoing;
    for (std::size_t i = 0; i < serving.uploads.size(); ++i) {
        Receiving& r = serving.uploads[i];
        TftpUpload::State state = r.upload->state();
        if (fds[i + 1].revents != 0) state = r.upload->onReadable();
        if (state == TftpUpload::State::Complete) {
            log("File succesfully written.");
        } else if (state == TftpUpload::State::Failed || r.upload->expired(now)) {
            if (r.sink->exists())
                log("File already exists!"); // created meanwhile by someone else
            else if (!r.sink->failure().empty())
                log("Cannot write " + r.sink->path() + ": " + r.sink->failure());
        } else {
            ongoing.push_back(std::move(r));
        }
    }
    serving.uploads = std::move(ongoing);
    if (fds[0].revents != 0) {
        std::uint16_t opcode = 0;
        std::string fileName;
        if (server.ReadRequest(opcode, fileName)) serve(server, serving, opcode, fileName);
    }
    serving.refusals.setWindow(std::chrono::milliseconds(m_refusalWindowMs.load()));
    std::vector<std::string> summaries;
    serving.refusals.flush(SteadyClock::now(), summaries);
    for (const std::string& line : summaries)
        log(line);
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

void TTFTPDaemonThread::serve(TTFTPSend& server, Serving& serving, std::uint16_t opcode,
                              const std::string& fileName) {
    const std::string from = server.RequestIP + ":" + server.RequestPort;
    if (opcode == tftp::ReadRequest) {
        refuse(serving, server.RequestIP,
               {"TFTP read request from " + from, "File: " + Shown(fileName),
                "Ignoring unauthorised read request"});
    } else if (opcode == tftp::WriteRequest) {
        serveWrite(server, serving, fileName);
    }
}

// Shows the lines of a refused request, or only counts it when its sender was shown one lately.
void TTFTPDaemonThread::refuse(Serving& serving, const std::string& sender,
                               const std::vector<std::string>& lines) {
    serving.refusals.setWindow(std::chrono::milliseconds(m_refusalWindowMs.load()));
    std::vector<std::string> shown;
    if (serving.refusals.refuse(sender, std::chrono::steady_clock::now(), shown))
        shown.insert(shown.end(), lines.begin(), lines.end());
    for (const std::string& line : shown)
        log(line);
}

void TTFTPDaemonThread::serveWrite(TTFTPSend& server, Serving& serving, const std::string& fileName) {
    for (Receiving& r : serving.uploads) {
        if (!server.RequesterIs(*r.upload)) continue;
        r.upload->requestRepeated(); // the request again from the same port: our answer was lost
        return;
    }
    const Job current = job();
    const std::string from = server.RequestIP + ":" + server.RequestPort;
    if (const std::string reason = refusal(server, serving, current, fileName); !reason.empty()) {
        server.RejectRequest(tftp::AccessViolation, AccessViolationText);
        refuse(serving, server.RequestIP,
               {"TFTP write request from " + from, "File: " + Shown(fileName), reason});
        return;
    }
    log("TFTP write request from " + from);
    log("File: " + fileName);
    if (PathExists(JoinPath(current.directory, fileName))) {
        server.RejectRequest(tftp::FileExists, FileExistsText);
        log("File already exists!");
        markJobDone();
        return;
    }
    auto sink = std::make_unique<FileSink>(current.directory, fileName);
    if (!sink->create()) {
        server.RejectRequest(sink->errorCode(), sink->errorMessage());
        log("Cannot write " + sink->path() + ": " + sink->failure());
        return;
    }
    auto upload = server.UploadFromRequester(*sink);
    if (!upload->open()) return; // the requester's address cannot be answered; nothing is kept
    serving.uploads.push_back({std::move(sink), std::move(upload)});
}

// Why a write request is refused, "" when it is taken: only the awaited name, from the router, while
// a transfer waits for it.
std::string TTFTPDaemonThread::refusal(const TTFTPSend& server, Serving& serving, const Job& current,
                                       const std::string& fileName) {
    if (!current.awaiting) return "Upload refused: no event-log transfer is waiting for an upload";
    if (serving.resolvedGeneration != current.generation) {
        serving.router = localaddress::ResolveIPv4(current.routerAddress);
        serving.resolvedGeneration = current.generation;
    }
    if (serving.router != server.RequestIP)
        return "Upload refused: " + server.RequestIP + " is not the router";
    if (!eventlog::IsPlainFileName(fileName)) return "Upload refused: the file name is not a plain name";
    if (fileName != current.fileName) return "Upload refused: the router was asked for " + current.fileName;
    if (current.directory.empty()) return "Upload refused: no directory to save to";
    if (serving.uploads.size() >= MaxUploads) return "Upload refused: too many uploads at once";
    return {};
}
