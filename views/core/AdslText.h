// How the ADSL page shows the router's ADSL values.
#pragma once

#include <QString>

namespace adsl {

// Line mode: "0" Link down, "1" ANSI, "2" G.LITE, "3" G.DMT, anything else "? [ v ]".
QString modeText(const QString& value);

// Line status: "0" Idle, "1" Initialising, "2" Showtime, anything else "? [ v ]".
QString statusText(const QString& value);

// A packet counter as a 64-bit integer in plain decimal; false when the value is not a number.
bool packetCountText(const QString& value, QString& text);

} // namespace adsl
