// The IP, TCP, UDP, ICMP and SNMP pages built alone: the router stand-in, a session and a recording
// frame in place of the window.
#include "net/RouterEndpoint.h"
#include "net/RouterSession.h"
#include "support/MainFormHarness.h"
#include "support/RecordingFrame.h"
#include "ui/PageFrame.h"
#include "views/IcmpSnmpPages.h"
#include "views/IpPage.h"
#include "views/TcpUdpPages.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

using testsupport::MainFormHarness;

namespace {

MainFormHarness::Options withoutForm() {
    MainFormHarness::Options o;
    o.createForm = false;
    return o;
}

// The stand-in and what a page needs of the window.
struct Alone {
    MainFormHarness h{withoutForm()};
    RouterEndpoint endpoint;
    RouterSession session{endpoint, h.snmpSettings()};
    RecordingFrame frame;
    QWidget page;
    Alone() {
        endpoint.setAddress(QStringLiteral("127.0.0.1"));
        endpoint.setCommunity(QStringLiteral("quorbex"));
    }
};

// A page built into `a.page`; the returned call refreshes it as the page dispatch does.
using Build = std::function<std::function<void()>(Alone& a, std::shared_ptr<void>& keep)>;

template <class Page, class... Tools> std::shared_ptr<Page> make(Alone& a, Tools&&... tools) {
    return std::make_shared<Page>(&a.page, a.session, a.frame, std::forward<Tools>(tools)...);
}

struct RefreshCase {
    const char* page;
    Build build;
    const char* keyword;
    const char* valueLabel;
    const char* initial;
};

const RefreshCase kRefreshCases[] = {
    {"IP",
     [](Alone& a, std::shared_ptr<void>& keep) -> std::function<void()> {
         auto p = make<IpPage>(a, PaneTools{});
         keep = p;
         return [p] { p->refresh(Trigger::Other); };
     },
     "150.html", "DefaultTTL_Label", "----"},
    {"TCP",
     [](Alone& a, std::shared_ptr<void>& keep) -> std::function<void()> {
         auto p = make<TcpPage>(a, PaneTools{});
         keep = p;
         return [p] { p->refresh(Trigger::Other); };
     },
     "170.html", "RtoMin_Label", "-----"},
    {"UDP",
     [](Alone& a, std::shared_ptr<void>& keep) -> std::function<void()> {
         auto p = make<UdpPage>(a, PaneTools{});
         keep = p;
         return [p] { p->refresh(); };
     },
     "180.html", "InDatagrams_Label", "----"},
    {"ICMP",
     [](Alone& a, std::shared_ptr<void>& keep) -> std::function<void()> {
         auto p = make<IcmpPage>(a);
         keep = p;
         return [p] { p->refresh(); };
     },
     "160.html", "InMsgs_Label", "----"},
    {"SNMP",
     [](Alone& a, std::shared_ptr<void>& keep) -> std::function<void()> {
         auto p = make<SnmpPage>(a);
         keep = p;
         return [p] { p->refresh(); };
     },
     "190.html", "EnableAuth_Label", "----"},
};

} // namespace

TEST(PagesAlone, EachPageReadsTheRouterThroughItsSessionAndReportsToItsFrame) {
    for (const RefreshCase& c : kRefreshCases) {
        SCOPED_TRACE(c.page);
        Alone a;
        std::shared_ptr<void> keep;
        const auto refresh = c.build(a, keep);
        auto* value = a.page.findChild<QLabel*>(QString::fromLatin1(c.valueLabel));
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->text(), QString::fromLatin1(c.initial));
        refresh();
        EXPECT_NE(value->text(), QString::fromLatin1(c.initial));
        EXPECT_EQ(a.frame.status, QStringLiteral(" Ready"));
        ASSERT_FALSE(a.frame.keywords.empty());
        EXPECT_EQ(a.frame.keywords.back(), std::make_pair(QString::fromLatin1(c.keyword), true));
    }
}

TEST(PagesAlone, TableButtonsRunThePaneToolsWithThemselves) {
    Alone a;
    std::vector<std::pair<const char*, QPushButton*>> ran;
    const PaneTools tools{[&](QPushButton* b) { ran.emplace_back("copy", b); },
                          [&](QPushButton* b) { ran.emplace_back("save", b); }};
    IpPage ip(&a.page, a.session, a.frame, tools);
    TcpPage tcp(&a.page, a.session, a.frame, tools);
    UdpPage udp(&a.page, a.session, a.frame, tools);
    const std::pair<const char*, const char*> buttons[] = {
        {"AddrTableCopy_But", "copy"},  {"AddrTableSave_But", "save"},  {"RouteTableCopy_But", "copy"},
        {"RouteTableSave_But", "save"}, {"MediaTableCopy_But", "copy"}, {"MediaTableSave_But", "save"},
        {"TCPTableCopy_But", "copy"},   {"TCPSave_But", "save"},        {"UDPTableCopy_But", "copy"},
        {"UDPTableSave_But", "save"},
    };
    for (const auto& [name, tool] : buttons) {
        SCOPED_TRACE(name);
        auto* button = a.page.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr);
        ran.clear();
        button->click();
        ASSERT_EQ(ran.size(), 1u);
        EXPECT_STREQ(ran[0].first, tool);
        EXPECT_EQ(ran[0].second, button);
    }
}

TEST(PagesAlone, ASubPageChangeAfterThePageIsGoneReachesNoFrame) {
    const std::pair<const char*, Build> cases[] = {{"IP_PageControl", kRefreshCases[0].build},
                                                   {"TCP_PageControl", kRefreshCases[1].build}};
    for (const auto& [tabsName, build] : cases) {
        SCOPED_TRACE(tabsName);
        Alone a;
        std::shared_ptr<void> keep;
        build(a, keep);
        auto* tabs = a.page.findChild<QTabWidget*>(QString::fromLatin1(tabsName));
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(1);
        ASSERT_EQ(a.frame.keywords.size(), 1u);
        keep.reset();
        tabs->setCurrentIndex(0);
        EXPECT_EQ(a.frame.keywords.size(), 1u);
    }
}

TEST(PagesAlone, ASessionExchangesWithTheSettingsItWasGiven) {
    MainFormHarness h{withoutForm()};
    const std::uint16_t port = h.port();
    RouterEndpoint endpoint;
    endpoint.setAddress(QStringLiteral("127.0.0.1"));
    endpoint.setCommunity(QStringLiteral("quorbex"));
    SnmpSettings settings;
    settings.port = port;
    settings.timeoutMs = 300;
    RouterSession session{endpoint, settings};
    QString value;
    EXPECT_TRUE(session.get(QStringLiteral("1.3.6.1.2.1.1.1.0"), value));
    EXPECT_FALSE(value.isEmpty());
}
