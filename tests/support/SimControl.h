// The router stand-in as a separate process (kestrune-router-sim, path in $KESTRUNE_SIM_BIN), driven
// through its control socket. For tests that need the stand-in out of process; most tests use
// sim::Router and sim::SnmpAgent in-process instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class SimProcess {
public:
    SimProcess();
    ~SimProcess(); // stops the process and removes its directory
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The executable: $KESTRUNE_SIM_BIN (empty when unset).
    static std::string binary();

    // Starts `kestrune-router-sim --snmp 127.0.0.1:0 --control <dir>/control.sock` plus extraArgs and
    // waits until the control socket answers; false when it does not within a few seconds.
    bool start(const std::vector<std::string>& extraArgs = {});
    // Another control socket path (before start).
    void setControlPath(const std::string& path) { m_control = path; }
    // Sends SIGTERM and waits; returns the exit status (or -1 when it had to be killed).
    int stop();
    bool running() const;
    pid_t pid() const { return m_pid; }

    // One control command; the answer line, or nullopt when the stand-in does not answer.
    std::optional<std::string> command(const std::string& line) const;
    std::uint16_t snmpPort() const { return m_port; }
    const std::string& controlPath() const { return m_control; }
    const std::string& directory() const { return m_dir; }

    // Runs the executable with the given arguments to completion (stdout and stderr captured together);
    // returns the exit status (-1 when it could not run or did not end within timeoutMs).
    static int run(const std::vector<std::string>& args, std::string& output, int timeoutMs = 10000);

private:
    std::string m_dir;
    std::string m_control;
    pid_t m_pid = -1;
    std::uint16_t m_port = 0;
};
