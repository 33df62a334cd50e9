// Quota arithmetic and the quota texts: number parsing, the ".0000" number form, the gigabyte /
// megabyte choice, the used figure and the bar's new state after a refresh.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace quota {

// The decimal separator of the user's locale (a point where the locale has a longer one).
QChar localeDecimalPoint();

// What went wrong in a quota computation.
enum class Fault {
    None,
    Conversion, // a text that should hold a number does not
    Float       // an invalid floating-point operation (division by zero, overflow)
};

// A floating-point number as the user types it: blanks around it, an optional sign, digits with at
// most one decimal separator (the locale's), an optional exponent. No group separators.
std::optional<double> parseNumber(QStringView text, QChar decimalPoint);

// A decimal integer with an optional sign (blanks around it allowed), as a signed 64-bit number.
std::optional<std::int64_t> parseInt64(QStringView text);

// An SNMP counter text: read as an integer of which only the low 32 bits count.
std::optional<std::uint32_t> parseCounter(QStringView text);

// The ".0000" form: integer digits (none when the integer part is 0), the decimal separator,
// exactly four decimals rounded half away from zero; a leading minus for a negative result.
// The rounding works on the shortest decimal form of the double, the digits a user would see.
QString formatFixed4(double value, QChar decimalPoint);

// The number in general decimal notation (up to 15 significant digits, no exponent for
// ordinary magnitudes) with the given decimal separator.
QString formatGeneral(double value, QChar decimalPoint);

struct TextResult {
    QString text;
    Fault fault = Fault::None;
};

// Bytes in the ISP's gigabytes when that is above 1.0, otherwise in its megabytes, with the
// suffix " Gb" or " Mb".
TextResult formatGbMb(double bytes, double bytesPerGigabyte, double bytesPerMegabyte, QChar decimalPoint);

// Bytes in megabytes in the ".0000" form when above 0, otherwise "0".
TextResult formatMbNumber(double bytes, double bytesPerMegabyte, QChar decimalPoint);

// The counters and offsets that make up the used figure.
struct Counters {
    double inOctets = 0, outOctets = 0, baseInOctets = 0, baseOutOctets = 0, usedOffsetBytes = 0;
};

// Used bytes: download only, or download and upload.
double usedBytes(const Counters& c, bool downloadAndUpload);

// Bar fill colours (RGB).
constexpr std::uint32_t kGreen = 0x008000, kYellow = 0xFFFF00, kRed = 0xFF0000;
std::uint32_t barColour(int position);

// One refresh of the bar and its texts.
struct ViewInput {
    double used = 0;
    double quotaBytes = 0;    // above 0
    int barPosition = 0;      // the bar's position before this refresh (0..100)
    bool mayMoveBack = false; // the "&Update" button: the bar may also go back
    bool downloadAndUpload = false;
    double bytesPerGigabyte = 1073741824.0;
    double bytesPerMegabyte = 1048576.0;
    QChar decimalPoint = QLatin1Char('.');
};

struct ViewResult {
    Fault fault = Fault::None;
    bool barMoved = false; // the bar and the percentage label take the new position
    int barPosition = 0;   // the bar's position after the refresh
    QString percentText;   // the percentage label's text when barMoved
    QString remainingText; // the remaining label's text
    std::uint32_t colour = kGreen;
};

ViewResult refreshView(const ViewInput& in);

} // namespace quota
