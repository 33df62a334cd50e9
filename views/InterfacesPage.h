// Interfaces page: state and counters of the LAN, PPP and WAN interfaces side by side, and the raw
// interface-group dump of the Debug page.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"

#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

// One interface column of the Interfaces page: its group box and its value labels, top to bottom
// (Status, Last, Mtu, BytesIn, BytesOut, InErrs, OutErrs, InU, OutQLen).
struct InterfaceColumn {
    QGroupBox* box = nullptr;
    std::vector<QLabel*> values;
};
struct InterfacesPageWidgets {
    InterfaceColumn lan, ppp, wan; // EthLAN_GBox, PPPLink_GBox, EthWAN_GBox
};

// The ISP's sizes of a gigabyte and a megabyte, in bytes, that the byte counters are shown in.
struct ByteUnits {
    double perGigabyte = 0;
    double perMegabyte = 0;
};

class InterfacesPage {
public:
    // Builds the page's widgets into `page`. `shown` tells whether the page is the current one;
    // `units` gives the byte units of the moment.
    InterfacesPage(QWidget* page, RouterSession& session, PageFrame& frame, std::function<bool()> shown,
                   std::function<ByteUnits()> units);
    InterfacesPage(const InterfacesPage&) = delete;
    InterfacesPage& operator=(const InterfacesPage&) = delete;

    const InterfacesPageWidgets& widgets() const { return m_ui; }

    // Reads the status and counters of the three interfaces.
    void refresh();
    // A tick of the real-time display: refreshes only while the page is shown and `running`.
    void tick(bool running);
    // Appends the walk of the whole interfaces group to `debugLog`.
    void dumpInterfaceTable(QPlainTextEdit& debugLog);

private:
    RouterSession& m_session;
    PageFrame& m_frame;
    std::function<bool()> m_shown;
    std::function<ByteUnits()> m_units;
    InterfacesPageWidgets m_ui;
};
