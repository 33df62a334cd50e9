#include "monitor/core/QuotaMath.h"

#include "net/core/SnmpText.h"

#include <charconv>
#include <cmath>
#include <string>

#include <QLocale>

namespace quota {

QChar localeDecimalPoint() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.at(0) : QLatin1Char('.');
}

namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::optional<double> parseNumber(QStringView text, QChar decimalPoint) {
    const QStringView t = text.trimmed();
    std::string s;
    s.reserve(t.size());
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        if (t[i] == QLatin1Char('-')) s.push_back('-');
        ++i;
    }
    int digits = 0;
    bool seenPoint = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (isAsciiDigit(c)) {
            s.push_back(char(c.unicode()));
            ++digits;
        } else if (c == decimalPoint && !seenPoint) {
            s.push_back('.');
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        s.push_back('e');
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
            s.push_back(char(t[i].unicode()));
            ++i;
        }
        int expDigits = 0;
        for (; i < t.size() && isAsciiDigit(t[i]); ++i, ++expDigits)
            s.push_back(char(t[i].unicode()));
        if (expDigits == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::int64_t> parseInt64(QStringView text) {
    return snmptext::parseDecimal(text.trimmed().toString());
}

std::optional<std::uint32_t> parseCounter(QStringView text) {
    const auto v = parseInt64(text);
    if (!v) return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(*v) & 0xFFFFFFFFu);
}

QString formatFixed4(double value, QChar decimalPoint) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    // Shortest decimal form that reads back as the same double, then decimal rounding on it.
    char buf[512];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    const std::string s(buf, r.ptr);
    const auto dot = s.find('.');
    std::string intPart = s.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    if (frac.size() < 5) frac.resize(5, '0');
    const bool roundUp = frac[4] >= '5';
    std::string digits = intPart + frac.substr(0, 4);
    if (roundUp) {
        auto k = digits.size();
        while (k > 0) {
            --k;
            if (digits[k] == '9') {
                digits[k] = '0';
                if (k == 0) digits.insert(digits.begin(), '1');
            } else {
                ++digits[k];
                break;
            }
        }
    }
    std::string whole = digits.substr(0, digits.size() - 4);
    const std::string decimals = digits.substr(digits.size() - 4);
    const auto firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? std::string() : whole.substr(firstNonZero);
    const bool zero = whole.empty() && decimals == "0000";

    QString out;
    if (value < 0 && !zero) out += QLatin1Char('-');
    out += QString::fromLatin1(whole.data(), qsizetype(whole.size()));
    out += decimalPoint;
    out += QString::fromLatin1(decimals.data(), qsizetype(decimals.size()));
    return out;
}

QString formatGeneral(double value, QChar decimalPoint) {
    QString s = QString::number(value, 'g', 15);
    if (decimalPoint != QLatin1Char('.')) s.replace(QLatin1Char('.'), decimalPoint);
    return s;
}

TextResult formatGbMb(double bytes, double bytesPerGigabyte, double bytesPerMegabyte, QChar decimalPoint) {
    const double gb = bytes / bytesPerGigabyte;
    if (!std::isfinite(gb)) return {{}, Fault::Float};
    if (gb > 1.0) return {formatFixed4(gb, decimalPoint) + QStringLiteral(" Gb"), Fault::None};
    const double mb = bytes / bytesPerMegabyte;
    if (!std::isfinite(mb)) return {{}, Fault::Float};
    return {formatFixed4(mb, decimalPoint) + QStringLiteral(" Mb"), Fault::None};
}

TextResult formatMbNumber(double bytes, double bytesPerMegabyte, QChar decimalPoint) {
    if (std::isnan(bytes)) return {{}, Fault::Float};
    if (!(bytes > 0)) return {QStringLiteral("0"), Fault::None};
    const double mb = bytes / bytesPerMegabyte;
    if (!std::isfinite(mb)) return {{}, Fault::Float};
    return {formatFixed4(mb, decimalPoint), Fault::None};
}

double usedBytes(const Counters& c, bool downloadAndUpload) {
    if (downloadAndUpload)
        return c.inOctets + c.outOctets + c.usedOffsetBytes - c.baseInOctets - c.baseOutOctets;
    return c.inOctets + c.usedOffsetBytes - c.baseInOctets;
}

std::uint32_t barColour(int position) {
    if (position >= 85) return kRed;
    if (position >= 65) return kYellow;
    return kGreen;
}

ViewResult refreshView(const ViewInput& in) {
    ViewResult out;
    out.barPosition = in.barPosition;
    const double percent = in.used / in.quotaBytes * 100.0;
    if (!std::isfinite(percent)) {
        out.fault = Fault::Float;
        return out;
    }
    const double p = std::trunc(percent);
    if (p > in.barPosition || in.mayMoveBack) {
        out.barMoved = true;
        out.barPosition = p >= 100.0 ? 100 : p <= 0.0 ? 0 : int(p);
        out.percentText = QString::number(out.barPosition) + QLatin1Char('%');
    }
    const TextResult left =
        formatGbMb(in.quotaBytes - in.used, in.bytesPerGigabyte, in.bytesPerMegabyte, in.decimalPoint);
    if (left.fault != Fault::None) {
        out.fault = left.fault;
        return out;
    }
    out.remainingText = left.text;
    if (!in.downloadAndUpload)
        out.remainingText +=
            QStringLiteral(" (") + QString::number(100 - out.barPosition) + QStringLiteral("%)");
    out.colour = barColour(out.barPosition);
    return out;
}

} // namespace quota
