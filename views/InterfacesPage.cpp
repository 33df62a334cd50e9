// Interfaces page: state and counters of the LAN, PPP and WAN interfaces side by side, and the
// raw interface-group dump of the Debug page.
#include "views/InterfacesPage.h"

#include "monitor/core/QuotaMath.h"
#include "net/core/MibObjects.h"
#include "net/core/SnmpText.h"
#include "ui/PageAction.h"
#include "ui/PaneText.h"
#include "ui/StatusTexts.h"
#include "ui/WidgetFactory.h"
#include "views/Uptime.h"
#include "views/core/InterfacesText.h"
#include "windows/core/HelpKeywords.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

#include <array>
#include <optional>

namespace {

struct RowDef {
    const char* suffix;  // value label name without the LAN/PPP/WAN prefix
    const char* caption; // fixed caption on the left
    const char* hint;    // the caption's hint
};

constexpr std::array<RowDef, 9> kRows{{
    {"Status_Label", "Status:", "Operational status"},
    {"Last_Label", "Last change:", "Time since last status change"},
    {"Mtu_Label", "MTU size:", "Largest datagram which can be sent/received"},
    {"BytesIn_Label", "IN:", "Total bytes received including framing characters"},
    {"BytesOut_Label", "OUT:", "Total bytes transmitted including framing characters"},
    {"InErrs_Label", "InErrors:", "Packets which contained errors preventing delivery"},
    {"OutErrs_Label", "OutErrors:", "Packets which contained errors preventing delivery"},
    {"InU_Label", "InUnknownProtos:", "Packets discarded due to unknown/unsupported protocol"},
    {"OutQLen_Label", "OutQLen:", "Current length of the output packet queue"},
}};

struct GroupDef {
    const char* name;
    const char* caption;
    const char* prefix;
    InterfaceColumn InterfacesPageWidgets::*column;
};

constexpr std::array<GroupDef, 3> kGroups{{
    {"EthLAN_GBox", " Ethernet LAN interface ", "LAN", &InterfacesPageWidgets::lan},
    {"PPPLink_GBox", " PPP channel interface ", "PPP", &InterfacesPageWidgets::ppp},
    {"EthWAN_GBox", " Ethernet WAN interface ", "WAN", &InterfacesPageWidgets::wan},
}};

} // namespace

InterfacesPage::InterfacesPage(QWidget* page, RouterSession& session, PageFrame& frame,
                               std::function<bool()> shown, std::function<ByteUnits()> units)
    : m_session(session), m_frame(frame), m_shown(std::move(shown)), m_units(std::move(units)) {
    int x = 4;
    for (const auto& g : kGroups) {
        InterfaceColumn& column = m_ui.*g.column;
        auto* box = column.box = new QGroupBox(QString::fromLatin1(g.caption), page);
        box->setObjectName(QString::fromLatin1(g.name));
        box->setGeometry(x, 8, 200, 262);
        int y = 24;
        for (const auto& r : kRows) {
            const QString prefix = QString::fromLatin1(g.prefix);
            QString suffix = QString::fromLatin1(r.suffix);
            auto* caption = new QLabel(QString::fromLatin1(r.caption), box);
            caption->setObjectName(prefix + suffix.left(suffix.size() - 6) + QStringLiteral("L_Label"));
            caption->setToolTip(QString::fromLatin1(r.hint));
            caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            caption->setGeometry(2, y, 110, 20); // room for "InUnknownProtos:"

            const QByteArray name = (prefix + suffix).toLatin1();
            QLabel* value = widgets::value(box, name.constData(), QStringLiteral("----"), {114, y, 84, 20},
                                           widgets::Bold);
            value->setToolTip(suffix == QLatin1String("Last_Label") ? QStringLiteral("Days:Hours:Mins:Secs")
                                                                    : QString::fromLatin1(r.hint));
            column.values.push_back(value);
            y += 26;
        }
        x += 202;
    }
}

namespace {

// How a row after the status row shows its value.
enum class Kind { Plain, Elapsed, Octets };

struct ValueRow {
    int column;
    std::size_t label; // index into kRows and InterfaceColumn::values
    const char* name;  // for the status line
    Kind kind;
};

constexpr std::array<ValueRow, 8> kValueRows{{
    {mib::IfLastChange, 1, "Last change", Kind::Elapsed},
    {mib::IfMtu, 2, "MTU size", Kind::Plain},
    {mib::IfInOctets, 3, "IN", Kind::Octets},
    {mib::IfOutOctets, 4, "OUT", Kind::Octets},
    {mib::IfInErrors, 5, "InErrors", Kind::Plain},
    {mib::IfOutErrors, 6, "OutErrors", Kind::Plain},
    {mib::IfInUnknownProtos, 7, "InUnknownProtos", Kind::Plain},
    {mib::IfOutQLen, 8, "OutQLen", Kind::Plain},
}};
constexpr std::size_t kStatusRow = 0;
const QString kNoFigure = QStringLiteral("----");

void setFontColour(QLabel* label, std::uint32_t rgb) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    label->setPalette(palette);
}

struct Interface {
    const char* prefix;
    QString instance;
    const InterfaceColumn& column;
};
using Interfaces = std::array<Interface, 3>;

// The first problem of a refresh, for the status line; later ones are not named.
class Problem {
public:
    void notANumber(const Interface& itf, const char* rowName) {
        if (itf.instance == QLatin1String("0"))
            note(QStringLiteral(" Error: %1 interface not found").arg(QLatin1String(itf.prefix)));
        else
            note(QStringLiteral(" Error: %1 %2 value is not a number")
                     .arg(QLatin1String(itf.prefix), QLatin1String(rowName)));
    }
    void note(const QString& text) {
        if (m_text.isEmpty()) m_text = text;
    }
    QString status() const { return m_text.isEmpty() ? statustext::Ready : m_text; }

private:
    QString m_text;
};

// The text of a byte counter in gigabytes or megabytes; "----" when it cannot be shown.
QString octetsText(const QString& value, const ByteUnits& units, const Interface& itf, const char* rowName,
                   Problem& problem) {
    const auto bytes = ifview::octetsText(value);
    if (!bytes) {
        problem.notANumber(itf, rowName);
        return kNoFigure;
    }
    const quota::TextResult r = quota::formatGbMb(bytes->toDouble(), units.perGigabyte, units.perMegabyte,
                                                  quota::localeDecimalPoint());
    if (r.fault == quota::Fault::None) return r.text;
    problem.note(
        QStringLiteral(" Error: Division by zero: check the ISP's gigabyte and megabyte sizes on the "
                       "Quota page"));
    return kNoFigure;
}

// The three status rows, LAN first: false when the LAN read goes unanswered (the router is then
// taken as unreachable); a later failed read only skips its row.
bool readStatusRows(RouterSession& session, const Interfaces& ifs) {
    for (std::size_t i = 0; i < ifs.size(); ++i) {
        QString value;
        if (!session.get(snmptext::ifColumnOid(mib::IfOperStatus, ifs[i].instance), value)) {
            if (i == 0) return false;
            continue;
        }
        if (const auto look = ifview::operStatusLook(value)) {
            QLabel* l = ifs[i].column.values[kStatusRow];
            l->setText(look->text);
            setFontColour(l, look->rgb);
        }
    }
    return true;
}

// The text of one cell of the rows after the status row; none when the label keeps its text.
std::optional<QString> cellText(RouterSession& session, const ValueRow& row, const Interface& itf,
                                const QString& value, const ByteUnits& units, Problem& problem) {
    switch (row.kind) {
    case Kind::Plain:
        return value;
    case Kind::Elapsed: {
        if (!snmptext::parseDecimal(value.trimmed())) {
            problem.notANumber(itf, row.name);
            return kNoFigure;
        }
        // The elapsed time needs one more read, of the router's uptime; when that one fails the
        // label keeps its text like after any other failed read.
        const QString text = elapsedSinceText(session, value);
        if (text.isEmpty()) return std::nullopt;
        return text;
    }
    case Kind::Octets:
        return octetsText(value, units, itf, row.name, problem);
    }
    return std::nullopt;
}

} // namespace

void InterfacesPage::refresh() {
    PageAction action(m_frame);
    m_frame.setHelpKeyword(helpkw::text(helpkw::Interfaces), true);

    const RouterInterfaces& found = m_session.interfaces();
    const Interfaces ifs{{{"LAN", found.LanIfIndex, m_ui.lan},
                          {"PPP", found.PppIfIndex, m_ui.ppp},
                          {"WAN", found.WanIfIndex, m_ui.wan}}};
    const QString indexValues[] = {found.LanIfIndexValue, found.PppIfIndexValue, found.WanIfIndexValue};
    for (std::size_t i = 0; i < ifs.size(); ++i)
        ifs[i].column.box->setTitle(QString::fromLatin1(kGroups[i].caption).chopped(1) +
                                    QStringLiteral(" [") + indexValues[i] + QStringLiteral("] "));

    if (!readStatusRows(m_session, ifs)) return action.fail();

    // The other rows, row by row, LAN, PPP, WAN within each. A value that must be a number and is
    // not one shows no figure, and the first such case is named on the status line.
    Problem problem;
    const ByteUnits units = m_units();
    for (const ValueRow& row : kValueRows) {
        for (const Interface& itf : ifs) {
            QString value;
            if (!m_session.get(snmptext::ifColumnOid(row.column, itf.instance), value)) continue;
            if (const auto text = cellText(m_session, row, itf, value, units, problem))
                itf.column.values[row.label]->setText(*text);
        }
    }
    action.end(problem.status());
}

void InterfacesPage::tick(bool running) {
    if (m_shown() && running) refresh();
}

void InterfacesPage::dumpInterfaceTable(QPlainTextEdit& debugLog) {
    PageAction action(m_frame);
    QStringList lines;
    if (!m_session.walk(QStringLiteral("1.3.6.1.2.1.2"), lines)) return action.end(statustext::ReadError);
    QStringList texts;
    if (!paneLines(debugLog).isEmpty()) texts << QStringLiteral(" ");
    texts << QStringLiteral("Dump of raw Interface table") << QStringLiteral(" ") << lines;
    appendToPane(debugLog, texts);
}
