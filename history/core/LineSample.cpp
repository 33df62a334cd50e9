// Events between samples, thinning for the charts, bytes per day and the CSV export.
#include "history/core/LineSample.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>

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

std::int64_t columnWidthMs(std::int64_t fromMs, std::int64_t toMs, int columns) {
    return std::max<std::int64_t>(1, (toMs - fromMs + columns - 1) / std::max(1, columns));
}

Curve curveOf(const std::vector<Column>& columns, Figure f) {
    Curve curve(1);
    const auto i = static_cast<std::size_t>(f);
    for (const Column& c : columns) {
        if (c.answered == 0) {
            if (!curve.back().empty()) curve.emplace_back();
            continue;
        }
        const std::int64_t mid = c.firstMs + (c.lastMs - c.firstMs) / 2;
        curve.back().push_back({mid, c.low[i]});
        if (c.high[i] != c.low[i]) curve.back().push_back({mid, c.high[i]});
    }
    if (curve.back().empty()) curve.pop_back();
    return curve;
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
