// The stand-in's command line: the session's commands and the socket loop that serves them.
#include "sim/TelnetService.h"

#include "sim/HostileIo.h"
#include "sim/ServiceSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

namespace {

const char* const Greeting = "\xff\xfb\x01\xff\xfb\x03\r\nPassword: ";
const char* const Prompt = "\r\n--> ";
constexpr int MaxLogonAttempts = 3;
constexpr int PieceGapMs = 20;
constexpr std::size_t MaxInputLine = 64 * 1024; // a longer line ends the session
constexpr std::size_t MaxReceivedLines = 1000;  // the log keeps the latest lines
constexpr std::size_t HugeLineBytes = 2 << 20;
constexpr std::size_t EndlessLimitBytes = 256u << 20;

// Letters with the high bit set, the rest as it is.
std::string withHighBit(std::string text) {
    for (char& c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c | 0x80);
    }
    return text;
}

struct Piece {
    std::string text;
    int delayBeforeMs = 0;
};

} // namespace

struct TelnetService::Impl {
    Router& router;
    ServiceEndpoint endpoint;

    mutable std::mutex mutex;
    bool silent = false;
    int slowMs = 0;
    bool split = false;
    std::string mode = "auto";
    EventLogPut put;
    std::function<void()> saved;
    std::vector<std::string> received;
    int sessions = 0;

    // One session's state (service thread only).
    struct Session {
        int fd = -1;
        std::string input;
        bool loggedOn = false;
        int failures = 0;
        bool deleted = false;
        std::optional<std::string> newWrite;
        std::string tftpAddress;
        bool closing = false;
        bool stalled = false; // a hostile session that says nothing more
    } s;

    Impl(Router& r, std::string a, std::uint16_t p) : router(r), endpoint(SOCK_STREAM, 4, std::move(a), p) {}

    template <class T> T locked(const T& value) const {
        std::lock_guard lock(mutex);
        return value;
    }

    bool waitOrStop(int ms) { return endpoint.thread().sleep(ms); }

    std::string hostile() const { return router.hostile(Service::Telnet); }

    void sendPiece(const std::string& text, const std::string& how) {
        const std::string out = how == "highbit" ? withHighBit(text) : text;
        ::send(s.fd, out.data(), out.size(), MSG_NOSIGNAL);
    }

    void send(const std::vector<Piece>& pieces) {
        if (locked(silent)) return;
        const int slow = locked(slowMs);
        const bool halves = locked(split);
        const std::string how = hostile();
        bool first = true;
        for (const Piece& piece : pieces) {
            if (!waitOrStop(first ? slow : std::max(piece.delayBeforeMs, PieceGapMs))) return;
            if (first && how == "huge") sendAllOf(s.fd, std::string(HugeLineBytes, 'x') + "\r\n");
            first = false;
            const std::size_t cut = halves ? piece.text.size() / 2 : piece.text.size();
            sendPiece(piece.text.substr(0, cut), how);
            if (cut < piece.text.size()) {
                if (!waitOrStop(PieceGapMs)) return;
                sendPiece(piece.text.substr(cut), how);
            }
        }
    }

    std::vector<Piece> logon(const std::string& line) {
        if (line == router.writeCommunity()) {
            s.loggedOn = true;
            return {{"\r\nlogged on\r\n"}, {Prompt}};
        }
        if (++s.failures >= MaxLogonAttempts) s.closing = true;
        return {{"\r\nlogon failed\r\n"}, {s.closing ? "" : "Password: "}};
    }

    std::vector<Piece> itexMode(const std::vector<std::string>& w) {
        if (w.size() == 2) return {{"default mode: " + locked(mode) + "\r\n"}, {Prompt}};
        const std::string& word = w[2];
        if (word != "ansi" && word != "dmt" && word != "auto")
            return {{"invalid mode " + word + "\r\n"}, {Prompt}};
        adoptMode(word);
        return {{"default mode changed\r\n"}, {Prompt}};
    }

    // The new default mode; a fixed mode trains the line in it.
    void adoptMode(const std::string& word) {
        {
            std::lock_guard lock(mutex);
            mode = word;
        }
        if (word == "ansi") router.setAdslMode(1);
        if (word == "dmt") router.setAdslMode(3);
    }

    void configSaved() {
        if (const auto hook = locked(saved)) hook();
    }

    std::vector<Piece> snmp(const std::vector<std::string>& w, const std::string& line) {
        if (w.size() >= 3 && w[1] == "access" && (w[2] == "delete" || w[2] == "write")) {
            const std::string prefix = "snmp access " + w[2] + " ";
            const std::string name = line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : "";
            if (w[2] == "write")
                s.newWrite = name;
            else if (name == router.writeCommunity())
                s.deleted = true;
            else
                return {{"no such community\r\n"}, {Prompt}};
            return {{"ok\r\n"}, {Prompt}};
        }
        if (w.size() == 3 && w[1] == "config" && w[2] == "save") {
            if (s.newWrite)
                router.setCommunities(router.readCommunity(), *s.newWrite);
            else if (s.deleted)
                router.setCommunities(router.readCommunity(), std::string(1, '\0'));
            s.newWrite.reset();
            s.deleted = false;
            configSaved();
            return {{"snmp settings stored\r\n"}, {Prompt}};
        }
        return {{"unknown snmp command\r\n"}, {Prompt}};
    }

    std::vector<Piece> tftp(const std::vector<std::string>& w) {
        if (w.size() == 3 && w[1] == "connect") {
            s.tftpAddress = w[2];
            return {{"tftp server " + w[2] + "\r\n"}, {Prompt}};
        }
        if (w.size() != 4 || w[1] != "put" || w[2] != "//isfs/eventlog" || s.tftpAddress.empty())
            return {{"usage: tftp connect <address> | tftp put //isfs/eventlog <file>\r\n"}, {Prompt}};
        send({{"putting eventlog to " + s.tftpAddress + " as " + w[3] + "\r\n"}});
        const EventLogPut hook = locked(put);
        const std::string outcome = hook ? hook(s.tftpAddress, w[3]) : "unable to open //isfs/eventlog";
        return {{outcome + "\r\n"}, {Prompt}};
    }

    std::vector<Piece> command(const std::string& line) {
        const std::vector<std::string> w = commandWords(line);
        if (w.empty() || w[0] == "home") return {{Prompt}};
        if (w[0] == "@close") {
            s.closing = true;
            return {{"bye\r\n"}};
        }
        if (w[0] == "itex" && w.size() >= 2 && w[1] == "mode") return itexMode(w);
        if (w[0] == "config" && w.size() == 2 && w[1] == "save") {
            configSaved();
            return {{"Saving configuration..\r\n"}, {"Configuration saved.\r\n", 100}, {Prompt}};
        }
        if (w[0] == "snmp") return snmp(w, line);
        if (w[0] == "tftp") return tftp(w);
        return {{"unknown command: " + w[0] + "\r\n"}, {Prompt}};
    }

    void onLine(const std::string& line) {
        {
            std::lock_guard lock(mutex);
            received.push_back(line);
            if (received.size() > MaxReceivedLines) received.erase(received.begin());
        }
        if (locked(silent) || s.stalled) return;
        if (!s.loggedOn && hostileAfterPassword()) return;
        send(s.loggedOn ? command(line) : logon(line));
    }

    // The hostile cases that take over once the password came; true when one did.
    bool hostileAfterPassword() {
        const std::string how = hostile();
        if (how == "close") {
            s.closing = true;
            return true;
        }
        if (how != "endless") return false;
        streamWithoutEnd(s.fd, endpoint.thread().wakeFd(), "eventlog 000 00:00:00  PPP LCP echo timeout\r\n",
                         EndlessLimitBytes);
        s.closing = true;
        return true;
    }

    // Returns false when the session ended.
    bool readSession() {
        char buffer[4096];
        const ssize_t n = ::recv(s.fd, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        s.input.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while (!s.closing && (end = s.input.find_first_of("\r\n")) != std::string::npos) {
            std::string line = s.input.substr(0, end);
            s.input.erase(0, end + 1);
            if (!line.empty() || s.input.empty() || s.input[0] != '\n') onLine(line);
            if (!s.input.empty() && s.input[0] == '\n') s.input.erase(0, 1);
        }
        if (s.input.size() > MaxInputLine) s.closing = true;
        return !s.closing;
    }

    void endSession() {
        if (s.fd >= 0) ::close(s.fd);
        s = Session{};
    }

    void accept() {
        const int fd = ::accept4(endpoint.fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) return;
        if (s.fd >= 0) { // the router serves one session at a time
            const char busy[] = "\r\nOnly one session is allowed.\r\n";
            ::send(fd, busy, sizeof busy - 1, MSG_NOSIGNAL);
            ::close(fd);
            return;
        }
        s.fd = fd;
        {
            std::lock_guard lock(mutex);
            ++sessions;
        }
        const std::string how = hostile();
        if (how == "stall") {
            s.stalled = true;
            const std::string half = std::string(Greeting).substr(0, 11);
            ::send(fd, half.data(), half.size(), MSG_NOSIGNAL);
            return;
        }
        if (how == "badiac") ::send(fd, "\xff\xfa\x18", 3, MSG_NOSIGNAL); // IAC SB, never an IAC SE
        send({{Greeting}});
    }

    void run() {
        while (true) {
            pollfd fds[3] = {
                {endpoint.thread().wakeFd(), POLLIN, 0}, {s.fd, POLLIN, 0}, {endpoint.fd(), POLLIN, 0}};
            if (::poll(fds, 3, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[0].revents) break;
            if (s.fd >= 0 && fds[1].revents && !readSession()) endSession();
            if (fds[2].revents & POLLIN) accept();
        }
        endSession();
    }
};

TelnetService::TelnetService(Router& router, std::string bindAddress, std::uint16_t port)
    : m_impl(std::make_unique<Impl>(router, std::move(bindAddress), port)) {}

TelnetService::~TelnetService() {
    stop();
}

bool TelnetService::start() {
    Impl& d = *m_impl;
    return d.endpoint.start([&d] { d.run(); });
}

void TelnetService::stop() {
    m_impl->endpoint.stop();
}

std::uint16_t TelnetService::port() const {
    return m_impl->endpoint.port();
}

std::string TelnetService::lastError() const {
    return m_impl->endpoint.lastError();
}

void TelnetService::setSilent(bool silent) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->silent = silent;
}

void TelnetService::setSlowMs(int ms) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->slowMs = ms;
}

void TelnetService::setSplitPhrases(bool split) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->split = split;
}

std::string TelnetService::defaultMode() const {
    return m_impl->locked(m_impl->mode);
}

void TelnetService::setDefaultMode(const std::string& mode) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->mode = mode;
}

void TelnetService::startWithMode(const std::string& mode) {
    m_impl->adoptMode(mode);
}

void TelnetService::setConfigSaved(std::function<void()> saved) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->saved = std::move(saved);
}

void TelnetService::setEventLogPut(EventLogPut put) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->put = std::move(put);
}

std::vector<std::string> TelnetService::receivedLines() const {
    return m_impl->locked(m_impl->received);
}

int TelnetService::sessionCount() const {
    return m_impl->locked(m_impl->sessions);
}

void addTelnetCommands(ControlProtocol& protocol, TelnetService& service) {
    protocol.addCommand("telnet", [&service](const std::vector<std::string>& args, std::string_view) {
        auto onOff = [&](const std::string& v) { return v == "on" || v == "1" || v == "true"; };
        const std::string what = args.empty() ? "" : args[0];
        const std::string value = args.size() > 1 ? args[1] : "";
        if (what == "silent" && !value.empty())
            service.setSilent(onOff(value));
        else if (what == "split" && !value.empty())
            service.setSplitPhrases(onOff(value));
        else if (what == "slow" && !value.empty() &&
                 value.find_first_not_of("0123456789") == std::string::npos && value.size() < 7)
            service.setSlowMs(std::stoi(value));
        else if (what == "mode" && (value == "auto" || value == "dmt" || value == "ansi"))
            service.setDefaultMode(value);
        else if (what == "mode" && value.empty())
            return "ok " + service.defaultMode();
        else if (what == "sessions")
            return "ok " + std::to_string(service.sessionCount());
        else if (what == "port")
            return "ok " + std::to_string(service.port());
        else
            return std::string("error usage: telnet silent|split on|off | slow MS | mode [auto|dmt|ansi] | "
                               "sessions | port");
        return std::string("ok");
    });
}

} // namespace sim
