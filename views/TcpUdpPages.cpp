// TCP and UDP pages: statistics, the TCP connection table and the UDP listener table.
#include "views/TcpUdpPages.h"

#include "ui/PageAction.h"
#include "ui/StatusTexts.h"
#include "ui/UiSeam.h"
#include "views/StatsGrid.h"
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

// A table walk that stopped part way: said with a beep, though the page goes on to its end.
void walkFailed(PageFrame& frame) {
    frame.setStatus(statustext::ReadError);
    UiSeam::beep();
}

// The Statistics sub-page: RtoAlgorithm and six more on the left, seven on the right.
void addTcpStatistics(QTabWidget* tabs, TcpPageWidgets& tcp) {
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
}

// The Connection table sub-page.
void addTcpTable(QTabWidget* tabs, TcpPageWidgets& tcp, const PaneTools& tools) {
    auto* conn = new QWidget;
    conn->setObjectName(QStringLiteral("ConnTable_Sheet"));
    const TablePane t = addTablePane(tools, conn, "TCPTable_Memo", "TCPTableCopy_But", "TCPSave_But");
    tcp.TCPTable_Memo = t.pane, tcp.TCPTableCopy_But = t.copy, tcp.TCPSave_But = t.save;
    tabs->addTab(conn, QStringLiteral(" Connection table "));
}

// The " Statistics " box: InDatagrams and NoPorts in the first row, OutDatagrams and InErrors in the second.
QGroupBox* addUdpStatistics(QWidget* page, UdpPageWidgets& udp) {
    auto* box = new QGroupBox(QStringLiteral(" Statistics "), page);
    box->setObjectName(QStringLiteral("UDPStatistics_GBox"));
    auto* grid = new QGridLayout(box);
    const QString initial = QStringLiteral("----");
    const std::array<Item, 2> left{kInDatagrams, kOutDatagrams};
    const std::array<Item, 2> right{kNoPorts, kInErrors};
    const std::vector<QLabel*> l = statsgrid::addColumn(grid, 0, left, initial);
    const std::vector<QLabel*> r = statsgrid::addColumn(grid, 1, right, initial);
    udp.InDatagrams_Label = l[0];
    udp.rest = {l[1], r[0], r[1]}; // the reading order of kUdpRest
    grid->setColumnStretch(4, 1);
    return box;
}

// The " Listener table " box.
QGroupBox* addUdpTable(QWidget* page, UdpPageWidgets& udp, const PaneTools& tools) {
    auto* box = new QGroupBox(QStringLiteral(" Listener table "), page);
    box->setObjectName(QStringLiteral("UDPListener_GBox"));
    const TablePane t = addTablePane(tools, box, "UDPTable_Memo", "UDPTableCopy_But", "UDPTableSave_But");
    udp.UDPTable_Memo = t.pane, udp.UDPTableCopy_But = t.copy, udp.UDPTableSave_But = t.save;
    return box;
}

} // namespace

TcpPage::TcpPage(QWidget* page, RouterSession& session, PageFrame& frame, const PaneTools& tools)
    : m_session(session), m_frame(frame), m_subPages(page, "TCP_PageControl", kTcpSubPageHelp, frame) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);
    QTabWidget* tabs = m_ui.TCP_PageControl = m_subPages.tabs();
    layout->addWidget(tabs);
    addTcpStatistics(tabs, m_ui);
    addTcpTable(tabs, m_ui, tools);
    m_subPages.onChange([this] { subPageChanged(); });
}

void TcpPage::subPageChanged() {
    m_subPages.showHelp();
}

void TcpPage::refresh(Trigger trigger) {
    PageAction action(m_frame);
    if (trigger != Trigger::Button) m_subPages.openFirst();

    QString algorithm;
    if (!m_session.get(QString::fromLatin1(kRtoAlgorithm.oid), algorithm)) return action.fail();
    const QString word = tablelayout::rtoAlgorithmWord(algorithm);
    if (!word.isEmpty()) m_ui.RtoAlg_Label->setText(word);
    statsgrid::readAll(m_session, kTcpStats, m_ui.stats);

    m_ui.TCPTable_Memo->clear();
    QStringList lines;
    // The rows that came are shown.
    if (!m_session.walk(QStringLiteral("1.3.6.1.2.1.6.13"), lines)) walkFailed(m_frame);
    writeTable(*m_ui.TCPTable_Memo, tablelayout::tcpConnectionDump(lines));
}

UdpPage::UdpPage(QWidget* page, RouterSession& session, PageFrame& frame, const PaneTools& tools)
    : m_session(session), m_frame(frame) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);
    layout->addWidget(addUdpStatistics(page, m_ui));
    layout->addWidget(addUdpTable(page, m_ui, tools), 1);
}

void UdpPage::refresh() {
    PageAction action(m_frame);
    m_frame.setHelpKeyword(helpkw::text(helpkw::Udp), true);

    QString value;
    if (!m_session.get(QString::fromLatin1(kInDatagrams.oid), value)) return action.fail();
    m_ui.InDatagrams_Label->setText(value);
    statsgrid::readAll(m_session, kUdpRest, m_ui.rest);

    m_ui.UDPTable_Memo->clear();
    QStringList addresses, ports;
    if (!m_session.walk(QStringLiteral("1.3.6.1.2.1.7.5.1.1"), addresses)) walkFailed(m_frame);
    if (!m_session.walk(QStringLiteral("1.3.6.1.2.1.7.5.1.2"), ports)) walkFailed(m_frame);
    writeTable(*m_ui.UDPTable_Memo, tablelayout::udpListenerDump(addresses, ports));
}
