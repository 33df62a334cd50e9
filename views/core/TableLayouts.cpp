#include "views/core/TableLayouts.h"

#include <array>

namespace tablelayout {

namespace {
const QString kSeparator = QStringLiteral(" ");

// The word at position code - 1 when the text is exactly the code's decimal digits.
template <std::size_t N> const char* wordFor(const QString& code, const std::array<const char*, N>& words) {
    for (std::size_t i = 0; i < N; ++i)
        if (code == QString::number(i + 1)) return words[i];
    return nullptr;
}

QStringList withNote(const WalkTable& table, int columns) {
    QStringList out;
    if (!table.complete()) out << incompleteNote(table.valueCount(), columns);
    return out;
}
} // namespace

QString unquoted(const QString& value) {
    QString v = value;
    v.remove(QLatin1Char('"'));
    return v;
}

WalkTable::WalkTable(const QStringList& lines, int columns) : m_lines(lines), m_columns(columns) {
    const auto n = static_cast<int>(lines.size());
    m_rows = columns > 0 ? (n + columns - 1) / columns : 0;
    m_complete = columns > 0 && n % columns == 0;
}

QString WalkTable::cell(int row, int column) const {
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) return {};
    const qsizetype index = static_cast<qsizetype>(column) * m_rows + row;
    if (index >= m_lines.size()) return {};
    return unquoted(m_lines[index]);
}

QString incompleteNote(int values, int columns) {
    return QStringLiteral(" Incomplete table: %1 values for %2 columns, some cells are missing and "
                          "the rows below may be out of line")
        .arg(values)
        .arg(columns);
}

QString routeTypeWord(const QString& code) {
    static const std::array<const char*, 4> words{"other", "invalid", "direct", "indirect"};
    const char* w = wordFor(code, words);
    return w ? QString::fromLatin1(w) : code;
}

QString routeProtoWord(const QString& code) {
    static const std::array<const char*, 14> words{"other",     "local",     "netmgmt", "icmp",  "egp",
                                                   "ggp",       "hello",     "rip",     "is-is", "es-is",
                                                   "ciscoIgrp", "bbnSpfIgp", "ospf",    "bgp"};
    const char* w = wordFor(code, words);
    return w ? QString::fromLatin1(w) : code;
}

QString mediaTypeLine(const QString& code) {
    static const std::array<const char*, 4> words{"other", "invalid", "dynamic", "static"};
    const char* w = wordFor(code, words);
    return QStringLiteral("             Type: ") + (w ? QString::fromLatin1(w) : code);
}

QString tcpStateLine(const QString& code) {
    static const std::array<const char*, 12> lines{
        "     State: closed",  "     State: listen", " State: synSent",  " State: synReceived",
        " State: established", " State: finwait1",   " State: finwait2", " State: closeWait",
        " State: lastAck",     " State: closing",    " State: timeWait", " State: deleteTCB"};
    const char* line = wordFor(code, lines);
    return line ? QString::fromLatin1(line) : QString();
}

QString rtoAlgorithmWord(const QString& code) {
    static const std::array<const char*, 4> words{"other", "constant", "rsre", "vanj"};
    const char* w = wordFor(code, words);
    return w ? QString::fromLatin1(w) : QString();
}

QStringList addressTableDump(const QStringList& walkLines) {
    const WalkTable t(walkLines, 5);
    QStringList out = withNote(t, 5);
    for (int r = 0; r < t.rows(); ++r) {
        out << QStringLiteral("           IP: ") + t.cell(r, 0);
        out << QStringLiteral("    Interface: ") + t.cell(r, 1);
        out << QStringLiteral("  Subnet mask: ") + t.cell(r, 2);
        out << QStringLiteral("    Broadcast: ") + t.cell(r, 3);
        out << QStringLiteral(" ReasmMaxSize: ") + t.cell(r, 4);
        out << kSeparator;
    }
    return out;
}

QStringList routeTableDump(const QStringList& walkLines) {
    const WalkTable t(walkLines, 13);
    QStringList out = withNote(t, 13);
    for (int r = 0; r < t.rows(); ++r) {
        out << QStringLiteral(" Destination: ") + t.cell(r, 0);
        out << QStringLiteral("   Interface: ") + t.cell(r, 1);
        out << QStringLiteral("     NextHop: ") + t.cell(r, 6);
        out << QStringLiteral("        Type: ") + routeTypeWord(t.cell(r, 7)) + QStringLiteral("\r\n") +
                   QStringLiteral("       Proto: ") + routeProtoWord(t.cell(r, 8)) + QStringLiteral("\r\n") +
                   QStringLiteral("         Age: ") + t.cell(r, 9);
        out << QStringLiteral("        Mask: ") + t.cell(r, 10);
        out << QStringLiteral("     Metric1: ") + t.cell(r, 2) + QStringLiteral("      Metric2: ") +
                   t.cell(r, 3);
        out << QStringLiteral("     Metric3: ") + t.cell(r, 4) + QStringLiteral("      Metric4: ") +
                   t.cell(r, 5);
        out << QStringLiteral("     Metric5: ") + t.cell(r, 11) + QStringLiteral("         Info: ") +
                   t.cell(r, 12);
        out << kSeparator;
    }
    return out;
}

QStringList netToMediaTableDump(const QStringList& walkLines) {
    const WalkTable t(walkLines, 4);
    QStringList out = withNote(t, 4);
    for (int r = 0; r < t.rows(); ++r) {
        out << QStringLiteral("        Interface: ") + t.cell(r, 0);
        out << QStringLiteral(" Physical address: ") + t.cell(r, 1);
        out << QStringLiteral("      Net address: ") + t.cell(r, 2);
        out << mediaTypeLine(t.cell(r, 3));
        out << kSeparator;
    }
    return out;
}

QStringList tcpConnectionDump(const QStringList& walkLines) {
    const WalkTable t(walkLines, 5);
    QStringList out = withNote(t, 5);
    for (int r = 0; r < t.rows(); ++r) {
        const QString state = tcpStateLine(t.cell(r, 0));
        if (!state.isEmpty()) out << state;
        out << QStringLiteral(" Local  IP: ") + t.cell(r, 1) + QStringLiteral("  Port: ") + t.cell(r, 2);
        out << QStringLiteral(" Remote IP: ") + t.cell(r, 3) + QStringLiteral("  Port: ") + t.cell(r, 4);
        out << kSeparator;
    }
    return out;
}

QStringList udpListenerDump(const QStringList& addresses, const QStringList& ports) {
    QStringList out;
    out << QStringLiteral(" Address\tPort");
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const QString port = i < ports.size() ? unquoted(ports[i]) : QString();
        out << QStringLiteral(" ") + unquoted(addresses[i]) + QLatin1Char('\t') + port;
    }
    out << kSeparator;
    return out;
}

QStringList rawIpGroupDump(const QStringList& walkLines, bool paneHasLines) {
    QStringList out;
    if (paneHasLines) out << kSeparator;
    out << QStringLiteral("Dump of raw IP address table") << kSeparator;
    out << walkLines;
    return out;
}

} // namespace tablelayout
