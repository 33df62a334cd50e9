// The stand-in services' thread with its wake pipe.
#include "sim/ServiceThread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace sim {

bool ServiceThread::open() {
    return m_wake[0] >= 0 || ::pipe2(m_wake, O_CLOEXEC) == 0;
}

void ServiceThread::start(std::function<void()> run) {
    m_thread = std::thread(std::move(run));
}

void ServiceThread::stop() {
    if (m_thread.joinable()) {
        const char byte = 'x';
        [[maybe_unused]] auto n = ::write(m_wake[1], &byte, 1);
        m_thread.join();
    }
    for (int& fd : m_wake) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

bool ServiceThread::sleep(int ms) const {
    if (ms <= 0) return true;
    pollfd p{m_wake[0], POLLIN, 0};
    return ::poll(&p, 1, ms) == 0;
}

} // namespace sim
