// What the program last knew of the router and its line, shared by the alert rules and the tray:
// each figure is absent until a reading of it was answered.
#pragma once

#include <cstdint>
#include <optional>

namespace alerts {

// The PPP link as last seen.
enum class Link { Unknown, Up, Down };

// The ADSL figures of one answered burst.
struct LineFigures {
    double downRate = 0, upRate = 0;   // kbit/s
    double downSnr = 0, upSnr = 0;     // dB (SNR margin)
    double downAtten = 0, upAtten = 0; // dB
};

struct Readings {
    Link link = Link::Unknown;
    std::optional<std::int64_t> linkUpSinceMs; // UTC ms at which the link was last seen coming up
    std::optional<std::int64_t> routerUptimeTicks; // sysUpTime, hundredths of a second
    std::optional<LineFigures> line;
};

} // namespace alerts
