// IP page: the ip group's statistics and its three tables; the raw ip group dump of the Debug page.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"
#include "ui/Trigger.h"
#include "views/SubPages.h"
#include "views/TablePane.h"

#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

struct IpPageWidgets {
    QTabWidget* IP_PageControl = nullptr;
    QLabel* Forwarding_Label = nullptr;
    std::vector<QLabel*> stats; // in reading order
    QPlainTextEdit *AddrTable_Memo = nullptr, *RouteTable_Memo = nullptr, *MediaTable_Memo = nullptr;
    QPushButton *AddrTableCopy_But = nullptr, *AddrTableSave_But = nullptr;
    QPushButton *RouteTableCopy_But = nullptr, *RouteTableSave_But = nullptr;
    QPushButton *MediaTableCopy_But = nullptr, *MediaTableSave_But = nullptr;
};

class IpPage {
public:
    // Builds the page's widgets into `page`; the table buttons run the window's pane `tools`.
    IpPage(QWidget* page, RouterSession& session, PageFrame& frame, const PaneTools& tools);
    IpPage(const IpPage&) = delete;
    IpPage& operator=(const IpPage&) = delete;

    const IpPageWidgets& widgets() const { return m_ui; }

    // Reads the statistics and the three tables; a page just switched to opens on its statistics.
    void refresh(Trigger trigger);
    // The help keyword of the sub-page now shown.
    void subPageChanged();
    // Appends the walk of the whole ip group, unchanged, to `log` (the Debug page's "IP table").
    void dumpRawGroup(QPlainTextEdit& log);

private:
    RouterSession& m_session;
    PageFrame& m_frame;
    IpPageWidgets m_ui;
    SubPages m_subPages;
};
