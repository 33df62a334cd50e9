// What the quota monitor remembers between reads besides the program-wide numbers: the router's
// last counter readings (to tell wraps from restarts) and whether this run has a complete baseline.
#pragma once

#include "monitor/core/CounterTracker.h"

#include <QElapsedTimer>

struct QuotaTracking {
    QuotaTracking() { monotonic.start(); }
    quota::CounterTracker in, out;
    QElapsedTimer monotonic;
    bool baselineTaken = false;     // a "Calculate" ran to its end in this run
    bool countersBaselined = false; // the last "Calculate" renewed the counter baseline
};
