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
    // counting while the computer sleeps. Returns the sample stored.
    LineSample record(const Get& get, std::int64_t timeMs, std::int64_t monotonicMs);

private:
    std::optional<LineSample> read(const Get& get, std::int64_t timeMs, std::int64_t monotonicMs,
                                   bool& restarted);

    HistoryStore& m_store;
    QString m_pppIf = QStringLiteral("0"), m_wanIf = QStringLiteral("0");
    quota::CounterTracker m_in, m_out;
    std::optional<LineSample> m_previous; // the last answered sample
};

} // namespace history
