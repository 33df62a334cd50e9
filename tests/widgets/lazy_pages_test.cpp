// Pages that start-up does not need are built when first shown or first used, with the same
// widgets and the same requests as when built at once.
#include "app/Main_Unit.h"
#include "support/MainFormHarness.h"
#include "views/IpPage.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

MainFormHarness::Options lazyWindow() {
    MainFormHarness::Options o;
    o.buildAllPages = false;
    return o;
}

} // namespace

TEST(LazyPages, OnlyThePagesStartUpNeedsAreBuiltAndAnotherIsBuiltAndReadWhenFirstShown) {
    MainFormHarness h(lazyWindow());
    TMainForm& form = h.form();
    const PageWidgets& pages = form.ui.pages;
    for (QWidget* page : {pages.GenSysInfo, pages.Quota_Tab, pages.ADSL, pages.Misc})
        EXPECT_TRUE(form.pageBuilt(page)) << page->objectName().toStdString();
    for (QWidget* page :
         {pages.Interfaces, pages.IP, pages.ICMP, pages.TCP, pages.UDP, pages.SNMP, pages.Debug}) {
        EXPECT_FALSE(form.pageBuilt(page)) << page->objectName().toStdString();
        EXPECT_TRUE(page->children().isEmpty()) << page->objectName().toStdString();
    }

    form.show();
    form.pageControl()->setCurrentWidget(pages.IP);
    ASSERT_TRUE(form.pageBuilt(pages.IP));
    auto* forwarding = pages.IP->findChild<QLabel*>(QStringLiteral("Forwarding_Label"));
    ASSERT_NE(forwarding, nullptr);
    EXPECT_TRUE(forwarding->isVisible()) << "a page built while shown must show its widgets";
    EXPECT_NE(forwarding->text(), QStringLiteral("-----")) << "the page shown was not read";
    EXPECT_FALSE(form.pageBuilt(pages.TCP));
}

TEST(LazyPages, UsingAPageBeforeItIsShownBuildsIt) {
    MainFormHarness h(lazyWindow());
    TMainForm& form = h.form();
    form.IPAddrTable_ButClick(&form); // the raw dump: the IP page reads, the Debug page's log takes it
    EXPECT_TRUE(form.pageBuilt(form.ui.pages.IP));
    EXPECT_TRUE(form.pageBuilt(form.ui.pages.Debug));
    EXPECT_FALSE(form.debugLog().toPlainText().isEmpty());
}
