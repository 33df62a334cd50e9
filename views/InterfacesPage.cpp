// Interfaces page: state and counters of the LAN, PPP and WAN interfaces side by side, and the
// raw interface-group dump of the Debug page.
#include "app/Main_Unit.h"
#include "app/StatusTexts.h"

#include "app/UiSeam.h"
#include "monitor/core/QuotaMath.h"
#include "views/PaneText.h"
#include "views/core/InterfacesText.h"

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
};

constexpr std::array<GroupDef, 3> kGroups{{
    {"EthLAN_GBox", " Ethernet LAN interface ", "LAN"},
    {"PPPLink_GBox", " PPP channel interface ", "PPP"},
    {"EthWAN_GBox", " Ethernet WAN interface ", "WAN"},
}};

} // namespace

void TMainForm::buildInterfacesPage(QWidget* page) {
    int x = 4;
    for (const auto& g : kGroups) {
        auto* box = new QGroupBox(QString::fromLatin1(g.caption), page);
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

            auto* value = new QLabel(QStringLiteral("----"), box);
            value->setObjectName(prefix + suffix);
            value->setToolTip(suffix == QLatin1String("Last_Label") ? QStringLiteral("Days:Hours:Mins:Secs")
                                                                    : QString::fromLatin1(r.hint));
            QFont f = value->font();
            f.setBold(true);
            value->setFont(f);
            value->setGeometry(114, y, 84, 20);
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
    const char* suffix;
    const char* name; // for the status line
    Kind kind;
};

constexpr std::array<ValueRow, 8> kValueRows{{
    {9, "Last_Label", "Last change", Kind::Elapsed},
    {4, "Mtu_Label", "MTU size", Kind::Plain},
    {10, "BytesIn_Label", "IN", Kind::Octets},
    {16, "BytesOut_Label", "OUT", Kind::Octets},
    {14, "InErrs_Label", "InErrors", Kind::Plain},
    {20, "OutErrs_Label", "OutErrors", Kind::Plain},
    {15, "InU_Label", "InUnknownProtos", Kind::Plain},
    {21, "OutQLen_Label", "OutQLen", Kind::Plain},
}};

void setFontColour(QLabel* label, std::uint32_t rgb) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    label->setPalette(palette);
}

} // namespace

void TMainForm::InterfacesClick() {
    UiSeam::BusyCursor busy;
    setStatus(statustext::Busy);
    setHelpKeyword(QStringLiteral("140.html"), true);

    struct Interface {
        const char* prefix;
        QString instance;
    };
    const std::array<Interface, 3> ifs{
        {{"LAN", st.LanIfIndex}, {"PPP", st.PppIfIndex}, {"WAN", st.WanIfIndex}}};

    if (auto* g = w<QGroupBox>("EthLAN_GBox"))
        g->setTitle(QStringLiteral(" Ethernet LAN interface [") + st.LanIfIndexValue + QStringLiteral("] "));
    if (auto* g = w<QGroupBox>("PPPLink_GBox"))
        g->setTitle(QStringLiteral(" PPP channel interface [") + st.PppIfIndexValue + QStringLiteral("] "));
    if (auto* g = w<QGroupBox>("EthWAN_GBox"))
        g->setTitle(QStringLiteral(" Ethernet WAN interface [") + st.WanIfIndexValue + QStringLiteral("] "));

    const auto label = [this](const char* prefix, const char* suffix) {
        const QByteArray name = QByteArray(prefix) + suffix;
        return w<QLabel>(name.constData());
    };

    // Operational status, LAN first: without it the router is taken as unreachable.
    for (std::size_t i = 0; i < ifs.size(); ++i) {
        QString value;
        if (!snmpGet(ifview::columnOid(8, ifs[i].instance), value)) {
            if (i == 0) {
                pageReadFailed(busy);
                return;
            }
            continue;
        }
        if (const auto look = ifview::operStatusLook(value)) {
            if (QLabel* l = label(ifs[i].prefix, "Status_Label")) {
                l->setText(look->text);
                setFontColour(l, look->rgb);
            }
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
            if (!snmpGet(ifview::columnOid(row.column, itf.instance), value)) continue;
            QLabel* l = label(itf.prefix, row.suffix);
            QString text;
            switch (row.kind) {
            case Kind::Plain:
                text = value;
                break;
            case Kind::Elapsed:
                if (quota::parseInt64(value)) {
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
                        quota::formatGbMb(bytes->toDouble(), st.BytesPerGigabyte, st.BytesPerMegabyte, point);
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
            if (l) l->setText(text);
        }
    }

    busy.restore();
    setStatus(problem.isEmpty() ? statustext::Ready : problem);
}

void TMainForm::InterfaceTable_ButClick(QObject*) {
    auto* pane = w<QPlainTextEdit>("DebugLog_Memo");
    if (!pane) return; // no Debug page to write to

    UiSeam::BusyCursor busy;
    setStatus(statustext::Busy);
    QStringList lines;
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.2"), lines)) {
        setStatus(statustext::ReadError);
        return;
    }
    QStringList texts;
    if (!paneLines(*pane).isEmpty()) texts << QStringLiteral(" ");
    texts << QStringLiteral("Dump of raw Interface table") << QStringLiteral(" ") << lines;
    appendToPane(*pane, texts);
    setStatus(statustext::Ready);
}
