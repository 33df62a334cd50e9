// ICMP and SNMP pages: grids of the icmp and snmp group counters.
#include "views/IcmpSnmpPages.h"

#include "ui/PageAction.h"
#include "windows/core/HelpKeywords.h"

#include <QGridLayout>
#include <QLabel>

#include <array>

namespace {

using statsgrid::Item;

constexpr std::array<Item, 26> kIcmp{{
    {"InMsgs:", "InMsgs_Label", "1.3.6.1.2.1.5.1.0"},
    {"InErrors:", "InErrors_Label2", "1.3.6.1.2.1.5.2.0"},
    {"InDestUnreachs:", "InDestUnreachs_Label", "1.3.6.1.2.1.5.3.0"},
    {"InTimeExcds:", "InTimeExcds_Label", "1.3.6.1.2.1.5.4.0"},
    {"InParmProbs:", "InParmProbs_Label", "1.3.6.1.2.1.5.5.0"},
    {"InSrcQuenchs:", "InSrcQuenchs_Label", "1.3.6.1.2.1.5.6.0"},
    {"InRedirects:", "InRedirects_Label", "1.3.6.1.2.1.5.7.0"},
    {"InEchos:", "InEchos_Label", "1.3.6.1.2.1.5.8.0"},
    {"InEchoReps:", "InEchoReps_Label", "1.3.6.1.2.1.5.9.0"},
    {"InTimestamps:", "InTimestamps_Label", "1.3.6.1.2.1.5.10.0"},
    {"InTimestampReps:", "InTimestampReps_Label", "1.3.6.1.2.1.5.11.0"},
    {"InAddrMasks:", "InAddrMasks_Label", "1.3.6.1.2.1.5.12.0"},
    {"InAddrMaskReps:", "InAddrMaskReps_Label", "1.3.6.1.2.1.5.13.0"},
    {"OutMsgs:", "OutMsgs_Label", "1.3.6.1.2.1.5.14.0"},
    {"OutErrors:", "OutErrors_Label", "1.3.6.1.2.1.5.15.0"},
    {"OutDestUnreachs:", "OutDestUnreachs_Label", "1.3.6.1.2.1.5.16.0"},
    {"OutTimeExcds:", "OutTimeExcds_Label", "1.3.6.1.2.1.5.17.0"},
    {"OutParmProbs:", "OutParmProbs_Label", "1.3.6.1.2.1.5.18.0"},
    {"OutSrcQuenchs:", "OutSrcQuenchs_Label", "1.3.6.1.2.1.5.19.0"},
    {"OutRedirects:", "OutRedirects_Label", "1.3.6.1.2.1.5.20.0"},
    {"OutEchos:", "OutEchos_Label", "1.3.6.1.2.1.5.21.0"},
    {"OutEchoReps:", "OutEchoReps_Label", "1.3.6.1.2.1.5.22.0"},
    {"OutTimestamps:", "OutTimestamps_Label", "1.3.6.1.2.1.5.23.0"},
    {"OutTimestampReps:", "OutTimestampReps_Label", "1.3.6.1.2.1.5.24.0"},
    {"OutAddrMasks:", "OutAddrMasks_Label", "1.3.6.1.2.1.5.25.0"},
    {"OutAddrMaskReps:", "OutAddrMaskReps_Label", "1.3.6.1.2.1.5.26.0"},
}};

// In the order of the gets; snmp 7 and snmp 23 do not exist in the MIB and are never read.
constexpr std::array<Item, 28> kSnmp{{
    {"InPkts:", "InPkts_Label", "1.3.6.1.2.1.11.1.0"},
    {"OutPkts:", "OutPkts_Label", "1.3.6.1.2.1.11.2.0"},
    {"InBadVersions:", "InBadVer_Label", "1.3.6.1.2.1.11.3.0"},
    {"InBadCommunityNames:", "InBadComNam_Label", "1.3.6.1.2.1.11.4.0"},
    {"InBadCommunityUses:", "InBadComUses_Label", "1.3.6.1.2.1.11.5.0"},
    {"InASNParseErrs:", "InASNParseErrs_Label", "1.3.6.1.2.1.11.6.0"},
    {"InTooBigs:", "InTooBigs_Label", "1.3.6.1.2.1.11.8.0"},
    {"InNoSuchNames:", "InNoSuchNames_Label", "1.3.6.1.2.1.11.9.0"},
    {"InBadValues:", "InBadVals_Label", "1.3.6.1.2.1.11.10.0"},
    {"InReadOnlys:", "InReadOnlys_Label", "1.3.6.1.2.1.11.11.0"},
    {"InGenErrs:", "InGenErrs_Label", "1.3.6.1.2.1.11.12.0"},
    {"InTotalReqVars:", "InTotReqVars_Label", "1.3.6.1.2.1.11.13.0"},
    {"InTotalSetVars:", "InTotSetVars_Label", "1.3.6.1.2.1.11.14.0"},
    {"InGetRequests:", "InGetReqs_Label", "1.3.6.1.2.1.11.15.0"},
    {"InGetNexts:", "InGetNexts_Label", "1.3.6.1.2.1.11.16.0"},
    {"InSetRequests:", "InSetReqs_Label", "1.3.6.1.2.1.11.17.0"},
    {"InGetResponses:", "InGetResp_Label", "1.3.6.1.2.1.11.18.0"},
    {"InTraps:", "InTraps_Label", "1.3.6.1.2.1.11.19.0"},
    {"OutTooBigs:", "OutTooBigs_Label", "1.3.6.1.2.1.11.20.0"},
    {"OutNoSuchNames:", "OutNoSuchNam_Label", "1.3.6.1.2.1.11.21.0"},
    {"OutBadValues:", "OutBadVal_Label", "1.3.6.1.2.1.11.22.0"},
    {"OutGenErrs:", "OutGenErrs_Label", "1.3.6.1.2.1.11.24.0"},
    {"OutGetRequests:", "OutGetReqs_Label", "1.3.6.1.2.1.11.25.0"},
    {"OutGetNexts:", "OutGetNexts_Label", "1.3.6.1.2.1.11.26.0"},
    {"OutSetRequests:", "OutSetReqs_Label", "1.3.6.1.2.1.11.27.0"},
    {"OutGetResponses:", "OutGetResp_Label", "1.3.6.1.2.1.11.28.0"},
    {"OutTraps:", "OutTraps_Label", "1.3.6.1.2.1.11.29.0"},
    {"EnableAuthenTraps:", "EnableAuth_Label", "1.3.6.1.2.1.11.30.0"},
}};
constexpr std::size_t kEnableAuthIndex = 27;

// The SNMP page's columns, top to bottom, as indexes into kSnmp.
constexpr std::array<int, 14> kSnmpLeft{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
constexpr std::array<int, 14> kSnmpRight{22, 23, 24, 25, 26, 27, 14, 15, 16, 17, 18, 19, 20, 21};

template <std::size_t N> std::array<Item, N> pick(const std::array<int, N>& indexes) {
    std::array<Item, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = kSnmp[static_cast<std::size_t>(indexes[i])];
    return out;
}

// The icmp counters are shown as they came.
QString asIs(std::size_t, const QString& value) {
    return value;
}

// snmpEnableAuthenTraps is shown as a word; every other counter as it came.
QString snmpShown(std::size_t index, const QString& value) {
    if (index != kEnableAuthIndex) return value;
    return value == QLatin1String("1") ? QStringLiteral("Yes") : QStringLiteral("No");
}

} // namespace

CounterPage::CounterPage(RouterSession& session, PageFrame& frame, std::span<const Item> items,
                         std::string_view helpKeyword, Shown shown)
    : m_session(session), m_frame(frame), m_items(items), m_helpKeyword(helpKeyword), m_shown(shown) {}

void CounterPage::refresh() {
    PageAction action(m_frame);
    m_frame.setHelpKeyword(helpkw::text(m_helpKeyword), true);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        QString value;
        if (!m_session.get(QString::fromLatin1(m_items[i].oid), value)) {
            if (i == 0) return action.fail();
            continue;
        }
        m_ui.values[i]->setText(m_shown(i, value));
    }
}

IcmpPage::IcmpPage(QWidget* page, RouterSession& session, PageFrame& frame)
    : CounterPage(session, frame, kIcmp, helpkw::Icmp, asIs) {
    auto* grid = new QGridLayout(page);
    const QString initial = QStringLiteral("----");
    m_ui.values = statsgrid::addColumn(grid, 0, std::span<const Item>(kIcmp).first(13), initial);
    for (QLabel* l : statsgrid::addColumn(grid, 1, std::span<const Item>(kIcmp).subspan(13), initial))
        m_ui.values.push_back(l);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(13, 1);
}

SnmpPage::SnmpPage(QWidget* page, RouterSession& session, PageFrame& frame)
    : CounterPage(session, frame, kSnmp, helpkw::Snmp, snmpShown) {
    auto* grid = new QGridLayout(page);
    const QString initial = QStringLiteral("----");
    // The labels go back into reading order.
    m_ui.values.assign(kSnmp.size(), nullptr);
    const std::vector<QLabel*> left = statsgrid::addColumn(grid, 0, pick(kSnmpLeft), initial);
    const std::vector<QLabel*> right = statsgrid::addColumn(grid, 1, pick(kSnmpRight), initial);
    for (std::size_t i = 0; i < left.size(); ++i)
        m_ui.values[static_cast<std::size_t>(kSnmpLeft[i])] = left[i];
    for (std::size_t i = 0; i < right.size(); ++i)
        m_ui.values[static_cast<std::size_t>(kSnmpRight[i])] = right[i];
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(14, 1);
}
