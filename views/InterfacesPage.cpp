// Interfaces page: state and counters of the LAN, PPP and WAN interfaces side by side, and the
// raw interface-group dump of the Debug page.
#include "app/Main_Unit.h"
#include "monitor/QuotaMonitor.h"
#include "ui/StatusTexts.h"

#include "ui/PageAction.h"
#include "ui/PaneText.h"
#include "ui/UiSeam.h"
#include "ui/WidgetFactory.h"
#include "monitor/core/QuotaMath.h"
#include "net/core/MibObjects.h"
#include "net/core/SnmpText.h"
#include "views/core/InterfacesText.h"
#include "windows/core/HelpKeywords.h"

#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>

#include <array>

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

void TMainForm::buildInterfacesPage(QWidget* page) {
    int x = 4;
    for (const auto& g : kGroups) {
        InterfaceColumn& column = ui.interfaces.*g.column;
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

void setFontColour(QLabel* label, std::uint32_t rgb) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    label->setPalette(palette);
}

} // namespace

void TMainForm::InterfacesClick() {
    PageAction action(*this);
    setHelpKeyword(helpkw::text(helpkw::Interfaces), true);

    struct Interface {
        const char* prefix;
        QString instance;
        const InterfaceColumn& column;
    };
    const std::array<Interface, 3> ifs{{{"LAN", m_session.interfaces().LanIfIndex, ui.interfaces.lan},
                                        {"PPP", m_session.interfaces().PppIfIndex, ui.interfaces.ppp},
                                        {"WAN", m_session.interfaces().WanIfIndex, ui.interfaces.wan}}};
    const QString indexValues[] = {m_session.interfaces().LanIfIndexValue, m_session.interfaces().PppIfIndexValue, m_session.interfaces().WanIfIndexValue};
    for (std::size_t i = 0; i < ifs.size(); ++i)
        ifs[i].column.box->setTitle(QString::fromLatin1(kGroups[i].caption).chopped(1) +
                                    QStringLiteral(" [") + indexValues[i] + QStringLiteral("] "));

    // Operational status, LAN first: without it the router is taken as unreachable.
    for (std::size_t i = 0; i < ifs.size(); ++i) {
        QString value;
        if (!snmpGet(snmptext::ifColumnOid(mib::IfOperStatus, ifs[i].instance), value)) {
            if (i == 0) return action.fail();
            continue;
        }
        if (const auto look = ifview::operStatusLook(value)) {
            QLabel* l = ifs[i].column.values[kStatusRow];
            l->setText(look->text);
            setFontColour(l, look->rgb);
        }
    }

    // The other rows, row by row, LAN, PPP, WAN within each. A value that must be a number and is
    // not one shows no figure, and the first such case is named on the status line.
    QString problem;
    const auto notANumber = [&problem](const Interface& itf, const char* rowName) {
        if (!problem.isEmpty()) return;
        if (itf.instance == QLatin1String("0"))
            problem = QStringLiteral(" Error: %1 interface not found").arg(QLatin1String(itf.prefix));
        else
            problem = QStringLiteral(" Error: %1 %2 value is not a number")
                          .arg(QLatin1String(itf.prefix), QLatin1String(rowName));
    };
    const QChar point = quota::localeDecimalPoint();
    for (const ValueRow& row : kValueRows) {
        for (const Interface& itf : ifs) {
            QString value;
            if (!snmpGet(snmptext::ifColumnOid(row.column, itf.instance), value)) continue;
            QLabel* l = itf.column.values[row.label];
            QString text;
            switch (row.kind) {
            case Kind::Plain:
                text = value;
                break;
            case Kind::Elapsed:
                if (snmptext::parseDecimal(value.trimmed())) {
                    // The elapsed time needs one more read, of the router's uptime; when that one
                    // fails the label keeps its text like after any other failed read.
                    text = ElapsedSinceText(value);
                    if (text.isEmpty()) continue;
                } else {
                    text = QStringLiteral("----");
                    notANumber(itf, row.name);
                }
                break;
            case Kind::Octets:
                if (const auto bytes = ifview::octetsText(value)) {
                    const quota::TextResult r =
                        quota::formatGbMb(bytes->toDouble(), quotaMonitor().figures().BytesPerGigabyte,
                                          quotaMonitor().figures().BytesPerMegabyte, point);
                    if (r.fault == quota::Fault::None) {
                        text = r.text;
                    } else {
                        text = QStringLiteral("----");
                        if (problem.isEmpty())
                            problem = QStringLiteral(" Error: Division by zero: check the ISP's gigabyte and "
                                                     "megabyte sizes on the Quota page");
                    }
                } else {
                    text = QStringLiteral("----");
                    notANumber(itf, row.name);
                }
                break;
            }
            l->setText(text);
        }
    }
    action.end(problem.isEmpty() ? statustext::Ready : problem);
}

void TMainForm::InterfaceTable_ButClick(QObject*) {
    QPlainTextEdit* pane = ui.debug.DebugLog_Memo;
    PageAction action(*this);
    QStringList lines;
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.2"), lines)) return action.end(statustext::ReadError);
    QStringList texts;
    if (!paneLines(*pane).isEmpty()) texts << QStringLiteral(" ");
    texts << QStringLiteral("Dump of raw Interface table") << QStringLiteral(" ") << lines;
    appendToPane(*pane, texts);
}
