// TCP and UDP pages: statistics, the TCP connection table and the UDP listener table.
#include "app/Main_Unit.h"
#include "ui/PageAction.h"
#include "ui/StatusTexts.h"
#include "ui/Trigger.h"
#include "ui/UiSeam.h"
#include "views/StatsGrid.h"
#include "views/TablePane.h"
#include "views/core/TableLayouts.h"
#include "windows/core/HelpKeywords.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace {

using statsgrid::Item;

constexpr Item kRtoAlgorithm{"RtoAlgorithm:", "RtoAlg_Label", "1.3.6.1.2.1.6.1.0"};
// The other thirteen, in the order they are read.
constexpr std::array<Item, 13> kTcpStats{{
    {"RtoMin:", "RtoMin_Label", "1.3.6.1.2.1.6.2.0"},
    {"RtoMax:", "RtoMax_Label", "1.3.6.1.2.1.6.3.0"},
    {"MaxConn:", "MaxConn_Label", "1.3.6.1.2.1.6.4.0"},
    {"ActiveOpens:", "ActiveOpens_Label", "1.3.6.1.2.1.6.5.0"},
    {"PassiveOpens:", "PassiveOpens_Label", "1.3.6.1.2.1.6.6.0"},
    {"AttemptFails:", "AttemptFails_Label", "1.3.6.1.2.1.6.7.0"},
    {"EstabResets:", "EstabResets_Label", "1.3.6.1.2.1.6.8.0"},
    {"CurrEstab:", "CurrEstab_Label", "1.3.6.1.2.1.6.9.0"},
    {"InSegs:", "InSegs_Label", "1.3.6.1.2.1.6.10.0"},
    {"OutSegs:", "OutSegs_Label", "1.3.6.1.2.1.6.11.0"},
    {"ReTransSegs:", "ReTransSegs_Label", "1.3.6.1.2.1.6.12.0"},
    {"InErrs:", "InErrs_Label", "1.3.6.1.2.1.6.14.0"},
    {"OutErrs:", "OutRsts_Label", "1.3.6.1.2.1.6.15.0"},
}};

const std::array<std::string_view, 2> kTcpSubPageHelp{helpkw::Tcp, helpkw::TcpConnectionTable};

constexpr Item kInDatagrams{"InDatagrams:", "InDatagrams_Label", "1.3.6.1.2.1.7.1.0"};
constexpr Item kNoPorts{"NoPorts:", "NoPorts_Label", "1.3.6.1.2.1.7.2.0"};
constexpr Item kInErrors{"InErrors:", "InErrors_Label", "1.3.6.1.2.1.7.3.0"};
constexpr Item kOutDatagrams{"OutDatagrams:", "OutDatagrams_Label", "1.3.6.1.2.1.7.4.0"};
// Read after udpInDatagrams, in this order.
constexpr std::array<Item, 3> kUdpRest{{kOutDatagrams, kNoPorts, kInErrors}};

} // namespace

// A table walk that stopped part way: said with a beep, though the page goes on to its end.
void TMainForm::walkFailed() {
    setStatus(statustext::ReadError);
    UiSeam::beep();
}

void TMainForm::buildTcpPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);
    TcpPageWidgets& tcp = ui.tcp;
    auto* tabs = tcp.TCP_PageControl = new QTabWidget(page);
    tabs->setObjectName(QStringLiteral("TCP_PageControl"));
    layout->addWidget(tabs);

    auto* stats = new QWidget;
    stats->setObjectName(QStringLiteral("Statistics_Sheet"));
    auto* grid = new QGridLayout(stats);
    const QString initial = QStringLiteral("-----");
    tcp.RtoAlg_Label =
        statsgrid::addColumn(grid, 0, std::span<const Item>(&kRtoAlgorithm, 1), initial).front();
    tcp.stats = statsgrid::addColumn(grid, 0, std::span<const Item>(kTcpStats).first(6), initial, 1);
    for (QLabel* l : statsgrid::addColumn(grid, 1, std::span<const Item>(kTcpStats).subspan(6), initial))
        tcp.stats.push_back(l);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(7, 1);
    tabs->addTab(stats, QStringLiteral(" Statistics "));

    auto* conn = new QWidget;
    conn->setObjectName(QStringLiteral("ConnTable_Sheet"));
    const TablePane t = addTablePane(this, conn, "TCPTable_Memo", "TCPTableCopy_But", "TCPSave_But");
    tcp.TCPTable_Memo = t.pane, tcp.TCPTableCopy_But = t.copy, tcp.TCPSave_But = t.save;
    tabs->addTab(conn, QStringLiteral(" Connection table "));

    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs] { TCP_PageControlChange(tabs); });
}

void TMainForm::TCP_PageControlChange(QObject*) {
    const int index = ui.tcp.TCP_PageControl->currentIndex();
    if (index < 0 || index >= static_cast<int>(kTcpSubPageHelp.size())) return;
    setHelpKeyword(helpkw::text(kTcpSubPageHelp[index]), true);
}

void TMainForm::TCPClick(QObject* Sender) {
    PageAction action(*this);
    if (triggerOf(Sender) != Trigger::Button) {
        ui.tcp.TCP_PageControl->setCurrentIndex(0);
        setHelpKeyword(helpkw::text(helpkw::Tcp), true);
    }

    QString algorithm;
    if (!snmpGet(QString::fromLatin1(kRtoAlgorithm.oid), algorithm)) return action.fail();
    const QString word = tablelayout::rtoAlgorithmWord(algorithm);
    if (!word.isEmpty()) ui.tcp.RtoAlg_Label->setText(word);
    statsgrid::readAll(*this, kTcpStats, ui.tcp.stats);

    ui.tcp.TCPTable_Memo->clear();
    QStringList lines;
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.6.13"), lines)) walkFailed(); // the rows that came are shown
    writeTable(*ui.tcp.TCPTable_Memo, tablelayout::tcpConnectionDump(lines));
}

void TMainForm::buildUdpPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);

    auto* statsBox = new QGroupBox(QStringLiteral(" Statistics "), page);
    statsBox->setObjectName(QStringLiteral("UDPStatistics_GBox"));
    auto* grid = new QGridLayout(statsBox);
    const QString initial = QStringLiteral("----");
    const std::array<Item, 2> left{kInDatagrams, kOutDatagrams};
    const std::array<Item, 2> right{kNoPorts, kInErrors};
    const std::vector<QLabel*> l = statsgrid::addColumn(grid, 0, left, initial);
    const std::vector<QLabel*> r = statsgrid::addColumn(grid, 1, right, initial);
    ui.udp.InDatagrams_Label = l[0];
    ui.udp.rest = {l[1], r[0], r[1]}; // the reading order of kUdpRest
    grid->setColumnStretch(4, 1);
    layout->addWidget(statsBox);

    auto* tableBox = new QGroupBox(QStringLiteral(" Listener table "), page);
    tableBox->setObjectName(QStringLiteral("UDPListener_GBox"));
    const TablePane t = addTablePane(this, tableBox, "UDPTable_Memo", "UDPTableCopy_But", "UDPTableSave_But");
    ui.udp.UDPTable_Memo = t.pane, ui.udp.UDPTableCopy_But = t.copy, ui.udp.UDPTableSave_But = t.save;
    layout->addWidget(tableBox, 1);
}

void TMainForm::UDPClick(QObject*) {
    PageAction action(*this);
    setHelpKeyword(helpkw::text(helpkw::Udp), true);

    QString value;
    if (!snmpGet(QString::fromLatin1(kInDatagrams.oid), value)) return action.fail();
    ui.udp.InDatagrams_Label->setText(value);
    statsgrid::readAll(*this, kUdpRest, ui.udp.rest);

    ui.udp.UDPTable_Memo->clear();
    QStringList addresses, ports;
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.7.5.1.1"), addresses)) walkFailed();
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.7.5.1.2"), ports)) walkFailed();
    writeTable(*ui.udp.UDPTable_Memo, tablelayout::udpListenerDump(addresses, ports));
}
