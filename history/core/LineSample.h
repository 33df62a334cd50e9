// One reading of the ADSL line and the connection, the events told by two successive readings, and
// the texts and point sets the line history draws and exports.
#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace history {

// A sample. `ok` false is a gap: the router did not answer, and no figure is known.
struct LineSample {
    std::int64_t timeMs = 0; // milliseconds since the epoch, UTC
    bool ok = false;
    double downRate = 0, upRate = 0;   // kbit/s
    double downAtten = 0, upAtten = 0; // dB
    double downPower = 0, upPower = 0; // dBm
    double downSnr = 0, upSnr = 0;     // dB (SNR margin)
    int lineStatus = -1;               // 0 idle, 1 initialising, 2 showtime; -1 unknown
    bool pppUp = false;
    // Bytes through the WAN interface since the previous answered sample (wraps and restarts of the
    // router's counters already accounted for); 0 for the first one.
    double inBytes = 0, outBytes = 0;
};

enum class EventKind { Disconnection = 1, Reconnection = 2, RouterRestart = 3, SyncRateChange = 4 };

struct LineEvent {
    std::int64_t timeMs = 0;
    EventKind kind = EventKind::Disconnection;
    QString detail;
};

QString eventName(EventKind kind);

// What happened between the previous answered sample (if any) and this one. `restarted`: the
// router's counters (and uptime) started again since the previous sample.
std::vector<LineEvent> eventsBetween(const std::optional<LineSample>& previous, const LineSample& current,
                                     bool restarted);

// A figure of the line, as drawn.
enum class Figure { DownSnr, UpSnr, DownAtten, UpAtten, DownRate, UpRate };
double figureOf(const LineSample& s, Figure f);

// One column of a chart: the samples that fall in it, summed up (HistoryStore::columns).
struct Column {
    std::int64_t firstMs = 0, lastMs = 0;
    int answered = 0, gaps = 0;
    double low[6] = {}, high[6] = {}; // by Figure, over the answered samples
};
inline constexpr int kFigures = 6;

// The width in milliseconds (at least 1) of one column of a chart `columns` wide over [fromMs, toMs).
std::int64_t columnWidthMs(std::int64_t fromMs, std::int64_t toMs, int columns);

struct Point {
    std::int64_t timeMs;
    double value;
};
// A drawn curve: runs of points, split where a gap lies.
using Curve = std::vector<std::vector<Point>>;

// The figure's curve with at most two points per column, its lowest and highest value, so that a
// short dip survives any thinning. A column holding only gaps breaks the curve.
Curve curveOf(const std::vector<Column>& columns, Figure f);

// Bytes per local calendar day.
struct DayBytes {
    QDate day;
    double inBytes = 0, outBytes = 0;
};

// The samples as CSV: a header line, then one line per sample with its time in ISO 8601 (UTC, "Z");
// a gap has its time and empty figures. Lines end in CRLF.
QString csvText(const std::vector<LineSample>& samples);

} // namespace history
