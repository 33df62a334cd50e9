// IP page: the ip group's statistics and its three tables; the raw ip group dump of the Debug page.
#include "views/IpPage.h"

#include "ui/PageAction.h"
#include "ui/PaneText.h"
#include "ui/StatusTexts.h"
#include "views/StatsGrid.h"
#include "views/core/TableLayouts.h"
#include "windows/core/HelpKeywords.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace {

using statsgrid::Item;

constexpr Item kForwarding{"Forwarding:", "Forwarding_Label", "1.3.6.1.2.1.4.1.0"};
// The other nineteen, in the order they are read.
constexpr std::array<Item, 19> kIpStats{{
    {"DefaultTTL:", "DefaultTTL_Label", "1.3.6.1.2.1.4.2.0"},
    {"InReceives:", "InReceives_Label", "1.3.6.1.2.1.4.3.0"},
    {"InHdrErrors:", "InHdrErrors_Label", "1.3.6.1.2.1.4.4.0"},
    {"InAddrErrors:", "InAddrErrors_Label", "1.3.6.1.2.1.4.5.0"},
    {"ForwDatagrams:", "ForwDatagrams_Label", "1.3.6.1.2.1.4.6.0"},
    {"InUnknownProtos:", "InUnknownProtos_Label", "1.3.6.1.2.1.4.7.0"},
    {"InDiscards:", "InDiscards_Label", "1.3.6.1.2.1.4.8.0"},
    {"InDelivers:", "InDelivers_Label", "1.3.6.1.2.1.4.9.0"},
    {"OutRequests:", "OutRequests_Label", "1.3.6.1.2.1.4.10.0"},
    {"OutDiscards:", "OutDiscards_Label", "1.3.6.1.2.1.4.11.0"},
    {"OutNoRoutes:", "OutNoRoutes_Label", "1.3.6.1.2.1.4.12.0"},
    {"ReasmTimeout:", "ReasmTimeout_Label", "1.3.6.1.2.1.4.13.0"},
    {"ReasmReqds:", "ReasmReqds_Label", "1.3.6.1.2.1.4.14.0"},
    {"ReasmOKs:", "ReasmOKs_Label", "1.3.6.1.2.1.4.15.0"},
    {"ReasmFails:", "ReasmFails_Label", "1.3.6.1.2.1.4.16.0"},
    {"FragOKs:", "FragOKs_Label", "1.3.6.1.2.1.4.17.0"},
    {"FragFails:", "FragFails_Label", "1.3.6.1.2.1.4.18.0"},
    {"FragCreates:", "FragCreates_Label", "1.3.6.1.2.1.4.19.0"},
    {"RoutingDiscards:", "RoutingDiscards_Label", "1.3.6.1.2.1.4.23.0"},
}};

const std::array<std::string_view, 4> kSubPageHelp{helpkw::Ip, helpkw::IpAddressTable, helpkw::IpRouteTable,
                                                   helpkw::IpNetToMediaTable};

struct IpTable {
    QPlainTextEdit* IpPageWidgets::*pane;
    const char* base;
    QStringList (*dump)(const QStringList&);
};
constexpr std::array<IpTable, 3> kIpTables{{
    {&IpPageWidgets::AddrTable_Memo, "1.3.6.1.2.1.4.20", &tablelayout::addressTableDump},
    {&IpPageWidgets::RouteTable_Memo, "1.3.6.1.2.1.4.21", &tablelayout::routeTableDump},
    {&IpPageWidgets::MediaTable_Memo, "1.3.6.1.2.1.4.22", &tablelayout::netToMediaTableDump},
}};

// The Statistics sub-page: Forwarding and nine more on the left, ten on the right.
void addStatistics(QTabWidget* tabs, IpPageWidgets& ip) {
    auto* stats = new QWidget;
    stats->setObjectName(QStringLiteral("StatisticsTab"));
    auto* grid = new QGridLayout(stats);
    const QString initial = QStringLiteral("----");
    ip.Forwarding_Label =
        statsgrid::addColumn(grid, 0, std::span<const Item>(&kForwarding, 1), initial).front();
    ip.stats = statsgrid::addColumn(grid, 0, std::span<const Item>(kIpStats).first(9), initial, 1);
    for (QLabel* l : statsgrid::addColumn(grid, 1, std::span<const Item>(kIpStats).subspan(9), initial))
        ip.stats.push_back(l);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(10, 1);
    tabs->addTab(stats, QStringLiteral(" Statistics "));
}

// The three table sub-pages, each a pane with its two buttons.
void addTables(QTabWidget* tabs, IpPageWidgets& ip, const PaneTools& tools) {
    auto addTableTab = [&](const char* tabName, const char* caption, const char* pane, const char* copy,
                           const char* save) {
        auto* tab = new QWidget;
        tab->setObjectName(QString::fromLatin1(tabName));
        const TablePane t = addTablePane(tools, tab, pane, copy, save);
        tabs->addTab(tab, QString::fromLatin1(caption));
        return t;
    };
    TablePane t = addTableTab("AddressTab", " Address table ", "AddrTable_Memo", "AddrTableCopy_But",
                              "AddrTableSave_But");
    ip.AddrTable_Memo = t.pane, ip.AddrTableCopy_But = t.copy, ip.AddrTableSave_But = t.save;
    t = addTableTab("RouteTab", " Route table ", "RouteTable_Memo", "RouteTableCopy_But",
                    "RouteTableSave_But");
    ip.RouteTable_Memo = t.pane, ip.RouteTableCopy_But = t.copy, ip.RouteTableSave_But = t.save;
    t = addTableTab("NetToMediaTab", " Net to Media table ", "MediaTable_Memo", "MediaTableCopy_But",
                    "MediaTableSave_But");
    ip.MediaTable_Memo = t.pane, ip.MediaTableCopy_But = t.copy, ip.MediaTableSave_But = t.save;
}

} // namespace

IpPage::IpPage(QWidget* page, RouterSession& session, PageFrame& frame, const PaneTools& tools)
    : m_session(session), m_frame(frame), m_subPages(page, "IP_PageControl", kSubPageHelp, frame) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, kPageBottomMargin);
    QTabWidget* tabs = m_ui.IP_PageControl = m_subPages.tabs();
    layout->addWidget(tabs);
    addStatistics(tabs, m_ui);
    addTables(tabs, m_ui, tools);
    m_subPages.onChange([this] { subPageChanged(); });
}

void IpPage::subPageChanged() {
    m_subPages.showHelp();
}

void IpPage::refresh(Trigger trigger) {
    PageAction action(m_frame);
    if (trigger != Trigger::Button) m_subPages.openFirst();

    QString forwarding;
    if (!m_session.get(QString::fromLatin1(kForwarding.oid), forwarding)) return action.fail();
    m_ui.Forwarding_Label->setText(forwarding == QLatin1String("1") ? QStringLiteral("Yes")
                                                                    : QStringLiteral("No"));
    statsgrid::readAll(m_session, kIpStats, m_ui.stats);

    for (const IpTable& table : kIpTables) {
        QPlainTextEdit* pane = m_ui.*table.pane;
        pane->clear();
        QStringList lines;
        if (!m_session.walk(QString::fromLatin1(table.base), lines)) return action.fail();
        writeTable(*pane, table.dump(lines));
    }
}

void IpPage::dumpRawGroup(QPlainTextEdit& log) {
    PageAction action(m_frame);
    QStringList lines;
    if (!m_session.walk(QStringLiteral("1.3.6.1.2.1.4"), lines)) return action.end(statustext::ReadError);
    appendToPane(log, tablelayout::rawIpGroupDump(lines, !log.document()->isEmpty()));
}
