// A stand-in service's own thread and the pipe that wakes its poll() to stop it.
#pragma once

#include <functional>
#include <thread>

namespace sim {

class ServiceThread {
public:
    ServiceThread() = default;
    ~ServiceThread() { stop(); }
    ServiceThread(const ServiceThread&) = delete;
    ServiceThread& operator=(const ServiceThread&) = delete;

    bool open(); // creates the wake pipe; false (errno set) when it cannot
    void start(std::function<void()> run);
    void stop(); // wakes the thread, joins it and closes the pipe
    bool running() const { return m_thread.joinable(); }
    int wakeFd() const { return m_wake[0]; } // readable once stop() was called
    // Waits up to ms; false when stop() woke it first.
    bool sleep(int ms) const;

private:
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace sim
