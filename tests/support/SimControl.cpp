#include "SimControl.h"

#include "sim/ControlServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Waits for a child to end, at most timeoutMs; true when it ended (status filled in).
bool waitFor(pid_t pid, int timeoutMs, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) return r == pid;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

pid_t spawn(const std::vector<std::string>& args, int outFd) {
    std::vector<char*> argv;
    std::string bin = SimProcess::binary();
    argv.push_back(bin.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (outFd >= 0) {
            ::dup2(outFd, 1);
            ::dup2(outFd, 2);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

} // namespace

SimProcess::SimProcess() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kestrune-sim-XXXXXX").string();
    if (::mkdtemp(tmpl.data())) m_dir = tmpl;
    m_control = m_dir + "/control.sock";
}

SimProcess::~SimProcess() {
    stop();
    if (!m_dir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
}

std::string SimProcess::binary() {
    const char* b = std::getenv("KESTRUNE_SIM_BIN");
    return b ? b : "";
}

bool SimProcess::start(const std::vector<std::string>& extraArgs) {
    if (binary().empty() || m_dir.empty() || m_pid > 0) return false;
    std::vector<std::string> args = {"--snmp", "127.0.0.1:0", "--control", m_control};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    const int devnull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    m_pid = spawn(args, devnull);
    if (devnull >= 0) ::close(devnull);
    if (m_pid < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (const auto answer = command("port"); answer && answer->rfind("ok ", 0) == 0) {
            m_port = static_cast<std::uint16_t>(std::atoi(answer->c_str() + 3));
            return true;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop();
    return false;
}

int SimProcess::stop() {
    if (m_pid <= 0) return -1;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    int result = -1;
    if (waitFor(m_pid, 5000, status)) {
        result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    } else {
        ::kill(m_pid, SIGKILL);
        waitFor(m_pid, 5000, status);
    }
    m_pid = -1;
    return result;
}

bool SimProcess::running() const {
    if (m_pid <= 0) return false;
    int status = 0;
    return ::waitpid(m_pid, &status, WNOHANG) == 0;
}

std::optional<std::string> SimProcess::command(const std::string& line) const {
    return sim::controlRequest(m_control, line, 3000);
}

int SimProcess::run(const std::vector<std::string>& args, std::string& output, int timeoutMs) {
    output.clear();
    if (binary().empty()) return -1;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) < 0) return -1;
    const pid_t pid = spawn(args, fds[1]);
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        pollfd p{fds[0], POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buf[4096];
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        output.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    if (!waitFor(pid, std::max<int>(100, timeoutMs / 2), status)) {
        ::kill(pid, SIGKILL);
        waitFor(pid, 5000, status);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
