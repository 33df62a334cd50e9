// The event-log receiver's account of refused requests, one summary line per sender and window.
#include "eventlog/core/RefusalSummary.h"

namespace eventlog {

namespace {

std::string Requests(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " request" : " requests");
}

} // namespace

bool RefusalSummary::refuse(const std::string& sender, Clock::time_point now,
                            std::vector<std::string>& lines) {
    flush(now, lines);
    if (m_window <= Clock::duration::zero()) return true;
    if (const auto found = m_senders.find(sender); found != m_senders.end()) {
        ++found->second.more;
        return false;
    }
    if (m_senders.size() < MaxSenders) {
        m_senders.emplace(sender, Window{now, 0});
        return true;
    }
    if (!m_othersOpen) m_others = Window{now, 0};
    m_othersOpen = true;
    ++m_others.more;
    return false;
}

void RefusalSummary::flush(Clock::time_point now, std::vector<std::string>& lines) {
    for (auto it = m_senders.begin(); it != m_senders.end();) {
        if (now - it->second.start < m_window) {
            ++it;
            continue;
        }
        if (it->second.more > 0)
            lines.push_back("Refused " + Requests(it->second.more) + " more from " + it->first +
                            " in the last minute");
        it = m_senders.erase(it);
    }
    if (m_othersOpen && now - m_others.start >= m_window) {
        lines.push_back("Refused " + Requests(m_others.more) + " from other hosts in the last minute");
        m_othersOpen = false;
    }
}

} // namespace eventlog
