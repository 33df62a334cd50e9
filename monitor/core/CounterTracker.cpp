#include "monitor/core/CounterTracker.h"

#include <algorithm>

namespace quota {

namespace {
constexpr double kCounterRange = 4294967296.0; // 2^32
constexpr std::int64_t kTickRange = 4294967296LL;
} // namespace

bool CounterTracker::restarted(std::optional<std::uint32_t> uptimeTicks,
                               std::optional<std::int64_t> monotonicMs) const {
    if (!uptimeTicks || !m_lastUptime) return false;
    const std::int64_t now = *uptimeTicks;
    const std::int64_t before = *m_lastUptime;
    const bool elapsedKnown = m_lastMs && monotonicMs && *monotonicMs >= *m_lastMs;
    if (!elapsedKnown) return now < before;
    // The uptime the router should show by now if it kept running, with room for clock drift and
    // the time the requests took.
    const std::int64_t elapsedTicks = (*monotonicMs - *m_lastMs) / 10;
    const std::int64_t slack = std::max<std::int64_t>(1000, elapsedTicks / 10);
    const std::int64_t expected = before + elapsedTicks;
    if (now < before) {
        // Went back: a restart, unless sysUpTime itself passed 2^32 - 1 ticks and the wrapped
        // reading is where the router should be by now.
        const std::int64_t wrapped = now + kTickRange;
        return !(wrapped + slack >= expected && wrapped <= expected + slack);
    }
    // Rose, but clearly less than the time that passed: restarted after the last read.
    return now + slack < expected;
}

CounterTracker::Event CounterTracker::feed(std::uint32_t counter, std::optional<std::uint32_t> uptimeTicks,
                                           std::optional<std::int64_t> monotonicMs) {
    Event event;
    if (!m_has) {
        m_total = counter;
        m_has = true;
        event = Event::First;
    } else if (restarted(uptimeTicks, monotonicMs)) {
        m_total += counter;
        event = Event::Restart;
    } else if (counter >= m_lastCounter) {
        m_total += double(counter - m_lastCounter);
        event = Event::Advance;
    } else if (uptimeTicks && m_lastUptime) {
        m_total += kCounterRange - double(m_lastCounter) + double(counter);
        event = Event::Wrap;
    } else {
        // The counter fell and the router's uptime is unknown: count from zero, which never adds
        // traffic that did not happen.
        m_total += counter;
        event = Event::Restart;
    }
    m_lastCounter = counter;
    if (uptimeTicks)
        m_lastUptime = uptimeTicks;
    else
        m_lastUptime.reset();
    m_lastMs = monotonicMs;
    return event;
}

} // namespace quota
