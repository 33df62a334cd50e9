// Turns successive reads of a 32-bit router byte counter into one running byte count that never
// falls: a read below the previous one is a counter wrap while the router kept running, and a
// restart of the router (its counters start again from zero) when its sysUpTime went back.
//
// A wrap is recognised once per interval: it stays detectable as long as fewer than 2^32 bytes
// (4 GiB) pass between two reads. A restart is recognised from sysUpTime: it went back, or it rose
// clearly less than the time that passed between the reads (a restart long enough ago that the new
// uptime already exceeds the old one). sysUpTime's own wrap after 497 days is not taken for a
// restart when the elapsed time confirms it.
#pragma once

#include <cstdint>
#include <optional>

namespace quota {

class CounterTracker {
public:
    enum class Event {
        First,   // the first read: the running count starts at the counter's value
        Advance, // the counter rose (or stayed)
        Wrap,    // the counter passed 4294967295 and started again from 0
        Restart  // the router restarted: the counter counts from zero again
    };

    // One read: the counter's value, the router's sysUpTime (hundredths of a second) read with it
    // when known, and a monotonic local time in milliseconds when known. Returns what the read meant;
    // total() is the running count after it.
    Event feed(std::uint32_t counter, std::optional<std::uint32_t> uptimeTicks,
               std::optional<std::int64_t> monotonicMs);

    // The running byte count: the first read's value plus every increase since.
    double total() const { return m_total; }
    bool hasValue() const { return m_has; }
    void clear() { *this = CounterTracker(); }

private:
    bool restarted(std::optional<std::uint32_t> uptimeTicks, std::optional<std::int64_t> monotonicMs) const;

    bool m_has = false;
    std::uint32_t m_lastCounter = 0;
    std::optional<std::uint32_t> m_lastUptime;
    std::optional<std::int64_t> m_lastMs;
    double m_total = 0;
};

} // namespace quota
