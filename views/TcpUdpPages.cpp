// TCP and UDP pages: statistics, the TCP connection table and the UDP listener table.
#include "app/Main_Unit.h"
#include "app/StatusTexts.h"
#include "app/UiSeam.h"
#include "views/StatsGrid.h"
#include "views/TablePane.h"
#include "views/core/TableLayouts.h"

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

const std::array<const char*, 2> kTcpSubPageHelp{"170.html", "170.html#tcpconnectiontable"};

constexpr Item kInDatagrams{"InDatagrams:", "InDatagrams_Label", "1.3.6.1.2.1.7.1.0"};
constexpr Item kNoPorts{"NoPorts:", "NoPorts_Label", "1.3.6.1.2.1.7.2.0"};
constexpr Item kInErrors{"InErrors:", "InErrors_Label", "1.3.6.1.2.1.7.3.0"};
constexpr Item kOutDatagrams{"OutDatagrams:", "OutDatagrams_Label", "1.3.6.1.2.1.7.4.0"};
// Read after udpInDatagrams, in this order.
constexpr std::array<Item, 3> kUdpRest{{kOutDatagrams, kNoPorts, kInErrors}};

} // namespace

void TMainForm::buildTcpPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);
    auto* tabs = new QTabWidget(page);
    tabs->setObjectName(QStringLiteral("TCP_PageControl"));
    layout->addWidget(tabs);

    auto* stats = new QWidget;
    stats->setObjectName(QStringLiteral("Statistics_Sheet"));
    auto* grid = new QGridLayout(stats);
    const QString initial = QStringLiteral("-----");
    statsgrid::addColumn(grid, 0, std::span<const Item>(&kRtoAlgorithm, 1), initial);
    statsgrid::addColumn(grid, 0, std::span<const Item>(kTcpStats).first(6), initial, 1);
    statsgrid::addColumn(grid, 1, std::span<const Item>(kTcpStats).subspan(6), initial);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(7, 1);
    tabs->addTab(stats, QStringLiteral(" Statistics "));

    auto* conn = new QWidget;
    conn->setObjectName(QStringLiteral("ConnTable_Sheet"));
    addTablePane(this, conn, "TCPTable_Memo", "TCPTableCopy_But", "TCPSave_But");
    tabs->addTab(conn, QStringLiteral(" Connection table "));

    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs] { TCP_PageControlChange(tabs); });
}

void TMainForm::TCP_PageControlChange(QObject*) {
    auto* tabs = w<QTabWidget>("TCP_PageControl");
    if (!tabs) return;
    const int index = tabs->currentIndex();
    if (index < 0 || index >= static_cast<int>(kTcpSubPageHelp.size())) return;
    setHelpKeyword(QString::fromLatin1(kTcpSubPageHelp[index]), true);
}

void TMainForm::TCPClick(QObject* Sender) {
    setStatus(statustext::Busy);
    UiSeam::BusyCursor busy;
    QWidget* page = w<QWidget>("TCP");
    auto* tabs = w<QTabWidget>("TCP_PageControl", page);

    if (!qobject_cast<QPushButton*>(Sender)) {
        if (tabs) tabs->setCurrentIndex(0);
        setHelpKeyword(QStringLiteral("170.html"), true);
    }

    QString algorithm;
    if (!snmpGet(QString::fromLatin1(kRtoAlgorithm.oid), algorithm)) {
        pageReadFailed(busy);
        return;
    }
    const QString word = tablelayout::rtoAlgorithmWord(algorithm);
    if (QLabel* label = statsgrid::valueLabel(page, kRtoAlgorithm); label && !word.isEmpty())
        label->setText(word);
    statsgrid::readAll(*this, page, kTcpStats);

    auto* pane = w<QPlainTextEdit>("TCPTable_Memo", page);
    if (pane) pane->clear();
    QStringList lines;
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.6.13"), lines)) {
        // The rows that came back are still shown.
        setStatus(statustext::ReadError);
        UiSeam::beep();
    }
    if (pane) writeTable(*pane, tablelayout::tcpConnectionDump(lines));

    busy.restore();
    setStatus(statustext::Ready);
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
    statsgrid::addColumn(grid, 0, left, initial);
    statsgrid::addColumn(grid, 1, right, initial);
    grid->setColumnStretch(4, 1);
    layout->addWidget(statsBox);

    auto* tableBox = new QGroupBox(QStringLiteral(" Listener table "), page);
    tableBox->setObjectName(QStringLiteral("UDPListener_GBox"));
    addTablePane(this, tableBox, "UDPTable_Memo", "UDPTableCopy_But", "UDPTableSave_But");
    layout->addWidget(tableBox, 1);
}

void TMainForm::UDPClick(QObject*) {
    UiSeam::BusyCursor busy;
    setStatus(statustext::Busy);
    setHelpKeyword(QStringLiteral("180.html"), true);
    QWidget* page = w<QWidget>("UDP");

    QString value;
    if (!snmpGet(QString::fromLatin1(kInDatagrams.oid), value)) {
        pageReadFailed(busy);
        return;
    }
    if (QLabel* label = statsgrid::valueLabel(page, kInDatagrams)) label->setText(value);
    statsgrid::readAll(*this, page, kUdpRest);

    auto* pane = w<QPlainTextEdit>("UDPTable_Memo", page);
    if (pane) pane->clear();
    QStringList addresses, ports;
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.7.5.1.1"), addresses)) {
        setStatus(statustext::ReadError);
        UiSeam::beep();
    }
    if (!snmpWalk(QStringLiteral("1.3.6.1.2.1.7.5.1.2"), ports)) {
        setStatus(statustext::ReadError);
        UiSeam::beep();
    }
    if (pane) writeTable(*pane, tablelayout::udpListenerDump(addresses, ports));

    busy.restore();
    setStatus(statustext::Ready);
}
