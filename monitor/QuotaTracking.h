// What the quota monitor remembers between reads besides its figures: the router's
// last counter readings (to tell wraps from restarts) and whether this run has a complete baseline.
#pragma once

#include "monitor/core/CounterTracker.h"

#include <QElapsedTimer>

#include <cstdint>
#include <time.h>

struct QuotaTracking {
    QuotaTracking() { fallback.start(); }

    // Local time passed, in milliseconds, for comparing with the router's uptime between two reads.
    // The time the computer spent suspended counts too: a router that restarted while the computer
    // slept must not have its fallen counters taken for a wrap.
    std::int64_t elapsedMs() const {
        timespec ts{};
        if (clock_gettime(CLOCK_BOOTTIME, &ts) == 0)
            return std::int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
        return fallback.elapsed();
    }

    quota::CounterTracker in, out;
    QElapsedTimer fallback;
    bool baselineTaken = false;     // a "Calculate" ran to its end in this run
    bool countersBaselined = false; // the last "Calculate" renewed the counter baseline
};
