#include "Snmpd.h"

#include "net/SnmpClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

std::string FindProgram(const std::string& name) {
    for (const char* dir : {"/usr/sbin", "/usr/bin", "/usr/local/sbin", "/usr/local/bin"}) {
        const std::string path = std::string(dir) + "/" + name;
        if (::access(path.c_str(), X_OK) == 0) return path;
    }
    if (const char* path = std::getenv("PATH")) {
        std::stringstream dirs(path);
        std::string dir;
        while (std::getline(dirs, dir, ':')) {
            const std::string candidate = dir + "/" + name;
            if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
    }
    return {};
}

// A loopback UDP port free right now.
std::uint16_t FreeUdpPort() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    std::uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

std::vector<char*> CStrings(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// Waits for pid until the deadline; true when it ended (and was reaped).
bool WaitFor(pid_t pid, Clock::time_point deadline, int* status = nullptr) {
    int local = 0;
    while (true) {
        const pid_t r = ::waitpid(pid, &local, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) {
            if (status) *status = local;
            return true;
        }
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Trim(const std::string& s) {
    const auto begin = s.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return {};
    return s.substr(begin, s.find_last_not_of(" \t\r\n") - begin + 1);
}

std::vector<std::string> ToolArguments(const std::string& tool, const Snmpd& agent,
                                       const std::string& community) {
    return {FindProgram(tool),
            "-v1",
            "-c",
            community,
            "-On",
            "-Oq",
            "-Ot",
            "-Ox",
            "-Oe",
            "-m",
            "",
            "-M",
            "/dev/null",
            "-t",
            "2",
            "-r",
            "0",
            agent.endpoint()};
}

} // namespace

bool NetSnmpInstalled() {
    for (const char* program : {"snmpd", "snmpget", "snmpwalk", "snmpset"})
        if (FindProgram(program).empty()) return false;
    return true;
}

Snmpd::Snmpd() : Snmpd(Options{}) {}
Snmpd::Snmpd(Options options) : m_options(std::move(options)) {}
Snmpd::~Snmpd() {
    stop();
}

std::string Snmpd::endpoint() const {
    return "udp:127.0.0.1:" + std::to_string(m_port);
}

std::string Snmpd::log() const {
    return m_dir.empty() ? std::string() : ReadFile(m_dir + "/snmpd.log");
}

bool Snmpd::start() {
    stop();
    m_error.clear();
    if (FindProgram("snmpd").empty()) {
        m_error = "snmpd is not installed";
        return false;
    }
    // The free port may be taken between the probe and the agent's bind: try a few.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (startOnce()) return true;
        stop();
    }
    return false;
}

bool Snmpd::startOnce() {
    std::string pattern =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/kestrune-snmpd.XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        m_error = std::string("mkdtemp: ") + std::strerror(errno);
        return false;
    }
    m_dir = pattern;
    m_port = FreeUdpPort();
    if (m_port == 0) {
        m_error = "no free UDP port on 127.0.0.1";
        return false;
    }
    {
        std::ofstream conf(m_dir + "/snmpd.conf");
        conf << "agentaddress udp:127.0.0.1:" << m_port << "\n"
             << "rocommunity " << m_options.readOnlyCommunity << " 127.0.0.1\n"
             << "rwcommunity " << m_options.readWriteCommunity << " 127.0.0.1\n";
        for (const std::string& line : m_options.extraConfig)
            conf << line << "\n";
    }
    std::filesystem::create_directories(m_dir + "/persist");

    std::vector<std::string> args = {FindProgram("snmpd"),
                                     "-f",
                                     "-C",
                                     "-c",
                                     m_dir + "/snmpd.conf",
                                     "-Lf",
                                     m_dir + "/snmpd.log",
                                     "-m",
                                     "",
                                     "-M",
                                     "/dev/null"};
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("SNMP_PERSISTENT_DIR=", 0) != 0 && entry.rfind("SNMPCONFPATH=", 0) != 0 &&
            entry.rfind("MIBS=", 0) != 0 && entry.rfind("MIBDIRS=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("SNMP_PERSISTENT_DIR=" + m_dir + "/persist");
    env.push_back("SNMPCONFPATH=" + m_dir);
    std::vector<char*> argv = CStrings(args);
    std::vector<char*> envp = CStrings(env);
    const std::string outPath = m_dir + "/snmpd.out";

    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        m_error = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(127);
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in >= 0) ::dup2(in, 0);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    m_pid = pid;

    const auto deadline = Clock::now() + std::chrono::milliseconds(m_options.startTimeoutMs);
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_error = "snmpd exited during start-up (status " + std::to_string(status) +
                      "): " + ReadFile(outPath) + log();
            return false;
        }
        if (answers(200)) return true;
    }
    m_error = "snmpd did not answer within " + std::to_string(m_options.startTimeoutMs) + " ms";
    return false;
}

bool Snmpd::answers(int timeoutMs) const {
    TSNMPSend probe;
    probe.TargetHost = "127.0.0.1";
    probe.TargetPort = std::to_string(m_port);
    probe.Timeout = timeoutMs;
    probe.Query.Community = m_options.readOnlyCommunity;
    probe.Query.PDUType = ber::GetRequest;
    probe.Query.MIBAdd("1.3.6.1.2.1.1.3.0", "", ber::Null);
    return probe.SendRequest() && !probe.Reply.MIBList.empty() && probe.Reply.ErrorStatus == 0;
}

void Snmpd::stop() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        if (!WaitFor(m_pid, Clock::now() + std::chrono::seconds(3))) {
            ::kill(m_pid, SIGKILL);
            WaitFor(m_pid, Clock::now() + std::chrono::seconds(3));
        }
        m_pid = -1;
    }
    if (!m_dir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
        m_dir.clear();
    }
}

CommandResult RunCommand(const std::vector<std::string>& command, int timeoutMs) {
    CommandResult result;
    if (command.empty()) return result;
    std::vector<std::string> args = command;
    if (args[0].find('/') == std::string::npos) args[0] = FindProgram(args[0]);
    if (args[0].empty()) return result;
    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0) return result;
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return result;
    }
    std::vector<char*> argv = CStrings(args);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        if (in >= 0) ::dup2(in, 0);
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (pid < 0) {
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        return result;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    bool timedOut = false;
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        const int ready = ::poll(fds, 2, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd& fd : fds)
        if (fd.fd >= 0) ::close(fd.fd);
    if (timedOut) ::kill(pid, SIGKILL);
    int status = 0;
    if (!WaitFor(pid, Clock::now() + std::chrono::seconds(5), &status)) {
        ::kill(pid, SIGKILL);
        WaitFor(pid, Clock::now() + std::chrono::seconds(5), &status);
    }
    if (!timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

std::vector<SnmpToolValue> ParseNetSnmpOutput(const std::string& text) {
    std::vector<SnmpToolValue> values;
    std::stringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] != '.') continue; // messages such as "End of MIB" or errors
        SnmpToolValue value;
        const std::size_t space = line.find(' ');
        value.oid = line.substr(1, space == std::string::npos ? std::string::npos : space - 1);
        std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
        if (!rest.empty() && rest[0] == '"') {
            // Hexadecimal string: "41 42 \n43 " possibly over several lines, up to the closing quote.
            std::string hex = rest.substr(1);
            while (hex.find('"') == std::string::npos && std::getline(lines, line))
                hex += " " + line;
            hex = hex.substr(0, hex.find('"'));
            std::stringstream bytes(hex);
            std::string byte;
            while (bytes >> byte)
                value.value.push_back(static_cast<char>(std::stoi(byte, nullptr, 16)));
        } else {
            rest = Trim(rest);
            if (!rest.empty() && rest[0] == '.') rest.erase(0, 1); // an OBJECT IDENTIFIER value
            value.value = rest;
        }
        values.push_back(std::move(value));
    }
    return values;
}

std::optional<std::vector<SnmpToolValue>> NetSnmpGet(const Snmpd& agent, const std::string& community,
                                                     const std::vector<std::string>& oids) {
    std::vector<std::string> args = ToolArguments("snmpget", agent, community);
    args.insert(args.end(), oids.begin(), oids.end());
    const CommandResult result = RunCommand(args);
    if (result.exitCode != 0) return std::nullopt;
    return ParseNetSnmpOutput(result.out);
}

std::optional<std::vector<SnmpToolValue>> NetSnmpWalk(const Snmpd& agent, const std::string& community,
                                                      const std::string& baseOid) {
    std::vector<std::string> args = ToolArguments("snmpwalk", agent, community);
    args.push_back(baseOid);
    const CommandResult result = RunCommand(args);
    if (result.exitCode != 0) return std::nullopt;
    return ParseNetSnmpOutput(result.out);
}

bool NetSnmpSet(const Snmpd& agent, const std::string& community, const std::string& oid, char type,
                const std::string& value) {
    std::vector<std::string> args = ToolArguments("snmpset", agent, community);
    args.push_back(oid);
    args.push_back(std::string(1, type));
    args.push_back(value);
    return RunCommand(args).exitCode == 0;
}

} // namespace testsupport
