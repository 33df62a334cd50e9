// Interfaces page: state and counters of the LAN, PPP and WAN interfaces side by side, and the
// raw interface-group dump of the Debug page.
#include "app/Main_Unit.h"

#include <QGroupBox>
#include <QLabel>

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
    int x = 6;
    for (const auto& g : kGroups) {
        auto* box = new QGroupBox(QString::fromLatin1(g.caption), page);
        box->setObjectName(QString::fromLatin1(g.name));
        box->setGeometry(x, 8, 196, 262);
        int y = 24;
        for (const auto& r : kRows) {
            const QString prefix = QString::fromLatin1(g.prefix);
            QString suffix = QString::fromLatin1(r.suffix);
            auto* caption = new QLabel(QString::fromLatin1(r.caption), box);
            caption->setObjectName(prefix + suffix.left(suffix.size() - 6) + QStringLiteral("L_Label"));
            caption->setToolTip(QString::fromLatin1(r.hint));
            caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            caption->setGeometry(2, y, 102, 20);

            auto* value = new QLabel(QStringLiteral("----"), box);
            value->setObjectName(prefix + suffix);
            value->setToolTip(suffix == QLatin1String("Last_Label") ? QStringLiteral("Days:Hours:Mins:Secs")
                                                                    : QString::fromLatin1(r.hint));
            QFont f = value->font();
            f.setBold(true);
            value->setFont(f);
            value->setGeometry(108, y, 86, 20);
            y += 26;
        }
        x += 200;
    }
}

void TMainForm::InterfacesClick() {}
void TMainForm::InterfaceTable_ButClick(QObject*) {}
