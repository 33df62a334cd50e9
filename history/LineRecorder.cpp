// One line-history sample from the router.
#include "history/LineRecorder.h"

#include "monitor/core/QuotaMath.h"
#include "net/core/MibObjects.h"

namespace history {

namespace {

std::optional<double> number(QString text) {
    text.remove(QLatin1Char('"'));
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

QString ifObject(int column, const QString& ifIndex) {
    return QStringLiteral("%1.%2.%3").arg(QLatin1String(mib::ifEntry)).arg(column).arg(ifIndex);
}

// The running byte count's growth at this read.
double growth(quota::CounterTracker& tracker, std::uint32_t counter, std::optional<std::uint32_t> uptime,
              std::int64_t monotonicMs, bool& restarted) {
    const double before = tracker.total();
    const auto event = tracker.feed(counter, uptime, monotonicMs);
    if (event == quota::CounterTracker::Event::Restart) restarted = true;
    return event == quota::CounterTracker::Event::First ? 0 : tracker.total() - before;
}

} // namespace

void LineRecorder::setInterfaces(const QString& pppIfIndex, const QString& wanIfIndex) {
    if (wanIfIndex != m_wanIf) {
        m_in.clear();
        m_out.clear();
    }
    m_pppIf = pppIfIndex;
    m_wanIf = wanIfIndex;
}

std::optional<LineSample> LineRecorder::read(const Get& get, std::int64_t timeMs, std::int64_t monotonicMs,
                                             bool& restarted) {
    LineSample s;
    s.timeMs = timeMs;
    const std::pair<const char*, double*> figures[] = {
        {mib::adslDownRate, &s.downRate},         {mib::adslUpRate, &s.upRate},
        {mib::adslDownAttenuation, &s.downAtten}, {mib::adslUpAttenuation, &s.upAtten},
        {mib::adslDownPower, &s.downPower},       {mib::adslUpPower, &s.upPower},
        {mib::adslDownSnr, &s.downSnr},           {mib::adslUpSnr, &s.upSnr},
    };
    QString v;
    for (const auto& [oid, field] : figures) {
        if (!get(QLatin1String(oid), v)) return std::nullopt;
        const auto n = number(v);
        if (!n) return std::nullopt;
        *field = *n;
    }
    if (!get(QLatin1String(mib::adslStatus), v)) return std::nullopt;
    s.lineStatus = number(v).value_or(-1);
    if (!get(ifObject(mib::IfOperStatus, m_pppIf), v)) return std::nullopt;
    s.pppUp = v.trimmed() == QLatin1String("1");
    QString up, in, out;
    if (!get(QLatin1String(mib::sysUpTime), up) || !get(ifObject(mib::IfInOctets, m_wanIf), in) ||
        !get(ifObject(mib::IfOutOctets, m_wanIf), out))
        return std::nullopt;
    const auto upTicks = quota::parseCounter(up);
    const auto inCount = quota::parseCounter(in), outCount = quota::parseCounter(out);
    if (!inCount || !outCount) return std::nullopt;
    s.inBytes = growth(m_in, *inCount, upTicks, monotonicMs, restarted);
    s.outBytes = growth(m_out, *outCount, upTicks, monotonicMs, restarted);
    s.ok = true;
    return s;
}

LineSample LineRecorder::record(const Get& get, std::int64_t timeMs, std::int64_t monotonicMs) {
    bool restarted = false;
    const std::optional<LineSample> read = this->read(get, timeMs, monotonicMs, restarted);
    LineSample s = read.value_or(LineSample{timeMs});
    if (s.ok) {
        // The bytes of samples the database refused are counted with this one.
        s.inBytes += m_unstoredIn;
        s.outBytes += m_unstoredOut;
        restarted = restarted || m_unstoredRestart;
    }
    const bool sampleStored = m_store.addSample(s);
    m_stored = sampleStored;
    if (sampleStored && s.ok) {
        for (const LineEvent& e : eventsBetween(m_previous, s, restarted))
            m_stored = m_store.addEvent(e) && m_stored;
        m_previous = s;
        m_unstoredIn = m_unstoredOut = 0;
        m_unstoredRestart = false;
    } else if (s.ok) {
        m_unstoredIn = s.inBytes;
        m_unstoredOut = s.outBytes;
        m_unstoredRestart = restarted;
    }
    m_storeError = m_stored ? QString() : m_store.error();
    return s;
}

} // namespace history
