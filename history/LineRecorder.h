// Takes the line history's samples: one short burst of gets of the ADSL figures, the PPP link's
// state, the WAN byte counters and the router's uptime; stores the sample (a gap when the router
// did not answer) and the events it reveals.
#pragma once

#include "history/HistoryStore.h"
#include "monitor/core/CounterTracker.h"

#include <QString>

#include <functional>
#include <optional>

namespace history {

class LineRecorder {
public:
    // Reads one object: true with the value (double quotes removed) when the router answered.
    using Get = std::function<bool(const QString& oid, QString& value)>;

    explicit LineRecorder(HistoryStore& store) : m_store(store) {}

    // The PPP and WAN interface indexes the figures come from (the interface discovery's result).
    void setInterfaces(const QString& pppIfIndex, const QString& wanIfIndex);

    // Takes one sample at `timeMs` (UTC milliseconds); `monotonicMs` is a local clock that keeps
    // counting while the computer sleeps. Returns the sample taken; stored() tells whether the
    // database took it with its events.
    LineSample record(const Get& get, std::int64_t timeMs, std::int64_t monotonicMs);
    // Whether the last sample reached the database, and the database's reason when it did not.
    bool stored() const { return m_stored; }
    QString storeError() const { return m_storeError; }

private:
    std::optional<LineSample> read(const Get& get, std::int64_t timeMs, std::int64_t monotonicMs,
                                   bool& restarted);

    HistoryStore& m_store;
    QString m_pppIf = QStringLiteral("0"), m_wanIf = QStringLiteral("0");
    quota::CounterTracker m_in, m_out;
    std::optional<LineSample> m_previous; // the last answered sample stored
    // What answered samples that could not be stored leave for the next one that is: their bytes
    // and a restart of the router.
    double m_unstoredIn = 0, m_unstoredOut = 0;
    bool m_unstoredRestart = false;
    bool m_stored = true;
    QString m_storeError;
};

} // namespace history
