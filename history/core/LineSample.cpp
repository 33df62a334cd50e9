// Events between samples, thinning for the charts, bytes per day and the CSV export.
#include "history/core/LineSample.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>
#include <map>

namespace history {

QString eventName(EventKind kind) {
    switch (kind) {
    case EventKind::Disconnection:
        return QStringLiteral("Disconnection");
    case EventKind::Reconnection:
        return QStringLiteral("Reconnection");
    case EventKind::RouterRestart:
        return QStringLiteral("Router restart");
    case EventKind::SyncRateChange:
        return QStringLiteral("Sync rate change");
    }
    return QString();
}

std::vector<LineEvent> eventsBetween(const std::optional<LineSample>& previous, const LineSample& current,
                                     bool restarted) {
    std::vector<LineEvent> out;
    if (!current.ok || !previous) return out;
    const std::int64_t t = current.timeMs;
    if (restarted) out.push_back({t, EventKind::RouterRestart, {}});
    if (previous->pppUp && !current.pppUp) out.push_back({t, EventKind::Disconnection, {}});
    if (!previous->pppUp && current.pppUp) out.push_back({t, EventKind::Reconnection, {}});
    if (previous->downRate != current.downRate || previous->upRate != current.upRate)
        out.push_back({t, EventKind::SyncRateChange,
                       QStringLiteral("%1/%2 -> %3/%4 kbit/s")
                           .arg(previous->downRate)
                           .arg(previous->upRate)
                           .arg(current.downRate)
                           .arg(current.upRate)});
    return out;
}

double figureOf(const LineSample& s, Figure f) {
    switch (f) {
    case Figure::DownSnr:
        return s.downSnr;
    case Figure::UpSnr:
        return s.upSnr;
    case Figure::DownAtten:
        return s.downAtten;
    case Figure::UpAtten:
        return s.upAtten;
    case Figure::DownRate:
        return s.downRate;
    case Figure::UpRate:
        return s.upRate;
    }
    return 0;
}

namespace {

// One column's lowest and highest sample, or a gap.
struct Column {
    bool gap = false, any = false;
    Point low{}, high{};
    void take(const Point& p) {
        if (!any || p.value < low.value) low = p;
        if (!any || p.value > high.value) high = p;
        any = true;
    }
};

void flush(Curve& curve, Column& c) {
    if (c.gap && !curve.back().empty()) curve.emplace_back();
    if (c.any) {
        const bool lowFirst = c.low.timeMs <= c.high.timeMs;
        curve.back().push_back(lowFirst ? c.low : c.high);
        if (c.low.timeMs != c.high.timeMs) curve.back().push_back(lowFirst ? c.high : c.low);
    }
    c = Column();
}

} // namespace

Curve thinnedCurve(const std::vector<LineSample>& samples, Figure f, std::int64_t fromMs, std::int64_t toMs,
                   int columns) {
    Curve curve(1);
    if (toMs <= fromMs || columns < 1) return {};
    const double width = double(toMs - fromMs) / columns;
    Column column;
    std::int64_t current = -1;
    for (const LineSample& s : samples) {
        if (s.timeMs < fromMs || s.timeMs >= toMs) continue;
        const auto index = static_cast<std::int64_t>(double(s.timeMs - fromMs) / width);
        if (index != current) {
            flush(curve, column);
            current = index;
        }
        if (s.ok)
            column.take({s.timeMs, figureOf(s, f)});
        else
            column.gap = true;
    }
    flush(curve, column);
    std::erase_if(curve, [](const auto& run) { return run.empty(); });
    return curve;
}

std::vector<DayBytes> bytesPerDay(const std::vector<LineSample>& samples) {
    std::map<QDate, DayBytes> days;
    for (const LineSample& s : samples) {
        if (!s.ok) continue;
        const QDate d = QDateTime::fromMSecsSinceEpoch(s.timeMs).date();
        DayBytes& b = days[d];
        b.day = d;
        b.inBytes += s.inBytes;
        b.outBytes += s.outBytes;
    }
    std::vector<DayBytes> out;
    for (const auto& [day, bytes] : days)
        out.push_back(bytes);
    return out;
}

QString csvText(const std::vector<LineSample>& samples) {
    QString out = QStringLiteral("time,down_rate_kbps,up_rate_kbps,down_attenuation_db,up_attenuation_db,"
                                 "down_power_dbm,up_power_dbm,down_snr_db,up_snr_db,line_status,ppp_up,"
                                 "in_bytes,out_bytes\r\n");
    for (const LineSample& s : samples) {
        QStringList cells{QDateTime::fromMSecsSinceEpoch(s.timeMs, Qt::UTC).toString(Qt::ISODate)};
        if (s.ok) {
            for (double v :
                 {s.downRate, s.upRate, s.downAtten, s.upAtten, s.downPower, s.upPower, s.downSnr, s.upSnr})
                cells << QString::number(v, 'g', 10);
            cells << QString::number(s.lineStatus) << QString::number(s.pppUp ? 1 : 0)
                  << QString::number(s.inBytes, 'f', 0) << QString::number(s.outBytes, 'f', 0);
        } else {
            for (int i = 0; i < 12; ++i)
                cells << QString();
        }
        out += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out;
}

} // namespace history
