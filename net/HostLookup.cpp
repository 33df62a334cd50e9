// Host name lookup on a helper thread.
#include "net/HostLookup.h"

#include <condition_variable>
#include <mutex>
#include <netdb.h>
#include <sys/socket.h>
#include <thread>

struct HostLookup::Shared {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int error = 0;
    in_addr address{};
};

HostLookup::HostLookup(const std::string& host) : m_shared(std::make_shared<Shared>()) {
    std::thread([shared = m_shared, host] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* result = nullptr;
        int error = getaddrinfo(host.c_str(), nullptr, &hints, &result);
        if (error == 0 && result == nullptr) error = EAI_NONAME;
        std::lock_guard lock(shared->mutex);
        if (error == 0) shared->address = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr;
        if (result) freeaddrinfo(result);
        shared->error = error;
        shared->finished = true;
        shared->done.notify_all();
    }).detach();
}

bool HostLookup::waitUntil(Clock::time_point until) {
    std::unique_lock lock(m_shared->mutex);
    return m_shared->done.wait_until(lock, until, [&] { return m_shared->finished; });
}

bool HostLookup::found() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->finished && m_shared->error == 0;
}

in_addr HostLookup::address() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->address;
}

int HostLookup::error() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->error;
}

std::string HostLookup::errorText() const {
    const int code = error();
    return code == 0 ? std::string() : std::string(gai_strerror(code));
}

bool LookupIPv4(const std::string& host, HostLookup::Clock::time_point deadline, in_addr& address) {
    HostLookup lookup(host);
    if (!lookup.waitUntil(deadline) || !lookup.found()) return false;
    address = lookup.address();
    return true;
}
