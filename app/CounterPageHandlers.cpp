// The IP, TCP, UDP, ICMP and SNMP pages' handlers: each a call into its page.
#include "app/Main_Unit.h"

#include "ui/Trigger.h"
#include "views/IcmpSnmpPages.h"
#include "views/IpPage.h"
#include "views/TcpUdpPages.h"

#include <QPushButton>

namespace {

// The table panes' "Copy table" and "Save table" run the window's log pane tools.
PaneTools paneTools(TMainForm& form) {
    return {[&form](QPushButton* copy) { form.GenericCopy_ButClick(copy); },
            [&form](QPushButton* save) { form.GenericSave_ButClick(save); }};
}

} // namespace

void TMainForm::buildIpPage(QWidget* page) {
    m_ip = std::make_unique<IpPage>(page, m_session, *this, paneTools(*this));
}
void TMainForm::buildTcpPage(QWidget* page) {
    m_tcp = std::make_unique<TcpPage>(page, m_session, *this, paneTools(*this));
}
void TMainForm::buildUdpPage(QWidget* page) {
    m_udp = std::make_unique<UdpPage>(page, m_session, *this, paneTools(*this));
}
void TMainForm::buildIcmpPage(QWidget* page) {
    m_icmp = std::make_unique<IcmpPage>(page, m_session, *this);
}
void TMainForm::buildSnmpPage(QWidget* page) {
    m_snmp = std::make_unique<SnmpPage>(page, m_session, *this);
}

IpPage& TMainForm::ip() {
    ensurePageBuilt(ui.pages.IP);
    return *m_ip;
}
TcpPage& TMainForm::tcp() {
    ensurePageBuilt(ui.pages.TCP);
    return *m_tcp;
}
UdpPage& TMainForm::udp() {
    ensurePageBuilt(ui.pages.UDP);
    return *m_udp;
}
IcmpPage& TMainForm::icmp() {
    ensurePageBuilt(ui.pages.ICMP);
    return *m_icmp;
}
SnmpPage& TMainForm::snmp() {
    ensurePageBuilt(ui.pages.SNMP);
    return *m_snmp;
}

void TMainForm::IPClick(QObject* Sender) {
    ip().refresh(triggerOf(Sender));
}
void TMainForm::IP_PageControlChange(QObject*) {
    ip().subPageChanged();
}
void TMainForm::IPAddrTable_ButClick(QObject*) {
    ip().dumpRawGroup(debugLog());
}
void TMainForm::TCPClick(QObject* Sender) {
    tcp().refresh(triggerOf(Sender));
}
void TMainForm::TCP_PageControlChange(QObject*) {
    tcp().subPageChanged();
}
void TMainForm::UDPClick(QObject*) {
    udp().refresh();
}
void TMainForm::ICMPClick(QObject*) {
    icmp().refresh();
}
void TMainForm::SNMPClick(QObject*) {
    snmp().refresh();
}
