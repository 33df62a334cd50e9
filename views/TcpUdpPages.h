// TCP and UDP pages: statistics, the TCP connection table and the UDP listener table.
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

struct TcpPageWidgets {
    QTabWidget* TCP_PageControl = nullptr;
    QLabel* RtoAlg_Label = nullptr;
    std::vector<QLabel*> stats; // in reading order
    QPlainTextEdit* TCPTable_Memo = nullptr;
    QPushButton *TCPTableCopy_But = nullptr, *TCPSave_But = nullptr;
};

struct UdpPageWidgets {
    QLabel* InDatagrams_Label = nullptr;
    std::vector<QLabel*> rest; // OutDatagrams, NoPorts, InErrors
    QPlainTextEdit* UDPTable_Memo = nullptr;
    QPushButton *UDPTableCopy_But = nullptr, *UDPTableSave_But = nullptr;
};

class TcpPage {
public:
    // Builds the page's widgets into `page`; the table buttons run the window's pane `tools`.
    TcpPage(QWidget* page, RouterSession& session, PageFrame& frame, const PaneTools& tools);
    TcpPage(const TcpPage&) = delete;
    TcpPage& operator=(const TcpPage&) = delete;

    const TcpPageWidgets& widgets() const { return m_ui; }

    // Reads the statistics and the connection table; a page just switched to opens on its statistics.
    void refresh(Trigger trigger);
    // The help keyword of the sub-page now shown.
    void subPageChanged();

private:
    RouterSession& m_session;
    PageFrame& m_frame;
    TcpPageWidgets m_ui;
    SubPages m_subPages;
};

class UdpPage {
public:
    // Builds the page's widgets into `page`; the table buttons run the window's pane `tools`.
    UdpPage(QWidget* page, RouterSession& session, PageFrame& frame, const PaneTools& tools);
    UdpPage(const UdpPage&) = delete;
    UdpPage& operator=(const UdpPage&) = delete;

    const UdpPageWidgets& widgets() const { return m_ui; }

    // Reads the statistics and the listener table.
    void refresh();

private:
    RouterSession& m_session;
    PageFrame& m_frame;
    UdpPageWidgets m_ui;
};
