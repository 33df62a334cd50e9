// The event-log receiver's account of refused requests: the first refusal of each sender in a
// window is shown in full, later ones are only counted and summed up in one line when the window ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace eventlog {

class RefusalSummary {
public:
    using Clock = std::chrono::steady_clock;
    // Senders followed one by one; refusals from any further sender are counted together.
    static constexpr std::size_t MaxSenders = 64;

    explicit RefusalSummary(Clock::duration window = std::chrono::minutes(1)) : m_window(window) {}
    void setWindow(Clock::duration window) { m_window = window; }

    // A request from sender refused at now: true when it is to be shown in full. Summaries of
    // windows that have ended by now are added to lines first.
    bool refuse(const std::string& sender, Clock::time_point now, std::vector<std::string>& lines);
    // The summary lines of every window that has ended by now.
    void flush(Clock::time_point now, std::vector<std::string>& lines);

private:
    struct Window {
        Clock::time_point start;
        std::uint64_t more = 0; // refused after the one shown
    };
    Clock::duration m_window;
    std::map<std::string, Window> m_senders;
    bool m_othersOpen = false;
    Window m_others;
};

} // namespace eventlog
