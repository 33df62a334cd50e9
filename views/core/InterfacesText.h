// How the Interfaces page names its objects and shows an interface's operational status.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace ifview {

struct StatusLook {
    QString text;
    std::uint32_t rgb; // the label's font colour
};

// ifOperStatus: "1" UP in green, "2" DOWN in red, "3" TESTING in yellow; anything else none (the
// label keeps its text and colour).
std::optional<StatusLook> operStatusLook(const QString& value);

// A byte counter for FormatGbMb: the value as a 64-bit integer, back in decimal; none when the
// value is not a number.
std::optional<QString> octetsText(const QString& value);

} // namespace ifview
