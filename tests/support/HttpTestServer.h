// Loopback web servers for client tests: a scripted one on a thread of this process (each request's
// text goes to a script that returns the raw reply bytes to send, or nothing to stay silent), and
// `python3 -m http.server` serving a directory.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

class ScriptedHttpServer {
public:
    struct Answer {
        std::string bytes;   // sent as they are
        bool silent = false; // send nothing and keep the connection open until the server stops
        int trickleMs = 0;   // send one byte at a time, pausing this long between them
    };
    using Script = std::function<Answer(const std::string& request)>;

    explicit ScriptedHttpServer(Script script);
    ~ScriptedHttpServer();
    std::uint16_t port() const { return m_port; }
    // Every request's head (request line and headers), oldest first.
    std::vector<std::string> requests() const;

private:
    void run();
    Script m_script;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    std::uint16_t m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::vector<int> m_held;
};

// python3 -m http.server on 127.0.0.1 serving directory; port() is 0 when it could not start.
class PythonHttpServer {
public:
    explicit PythonHttpServer(const std::string& directory);
    ~PythonHttpServer();
    std::uint16_t port() const { return m_port; }

private:
    pid_t m_pid = -1;
    std::uint16_t m_port = 0;
};
