// The names of the MIB objects the program and the router stand-in both use: MIB-II (RFC 1213) and the
// router maker's enterprise objects. One home for each object identifier.
#pragma once

namespace mib {

inline constexpr const char* sysDescr = "1.3.6.1.2.1.1.1.0";
inline constexpr const char* sysObjectID = "1.3.6.1.2.1.1.2.0";
inline constexpr const char* sysUpTime = "1.3.6.1.2.1.1.3.0";
inline constexpr const char* sysContact = "1.3.6.1.2.1.1.4.0";
inline constexpr const char* sysName = "1.3.6.1.2.1.1.5.0";
inline constexpr const char* sysLocation = "1.3.6.1.2.1.1.6.0";
inline constexpr const char* sysServices = "1.3.6.1.2.1.1.7.0";
inline constexpr const char* ifNumber = "1.3.6.1.2.1.2.1.0";
inline constexpr const char* ifEntry = "1.3.6.1.2.1.2.2.1"; // + "." column "." ifIndex
inline constexpr const char* ipAddrEntry = "1.3.6.1.2.1.4.20.1";
inline constexpr const char* ipRouteEntry = "1.3.6.1.2.1.4.21.1";
inline constexpr const char* ipNetToMediaEntry = "1.3.6.1.2.1.4.22.1";
inline constexpr const char* tcpConnEntry = "1.3.6.1.2.1.6.13.1";
inline constexpr const char* udpEntry = "1.3.6.1.2.1.7.5.1";
inline constexpr const char* snmpGroup = "1.3.6.1.2.1.11";
// D-Link enterprise objects.
inline constexpr const char* firmware = "1.3.6.1.4.1.171.11.1.1.1.0";
inline constexpr const char* adsl = "1.3.6.1.4.1.171.11.30";
inline constexpr const char* adslMode = "1.3.6.1.4.1.171.11.30.2.1.0";   // 0 down, 1 ANSI, 2 G.LITE, 3 G.DMT
inline constexpr const char* adslUpRate = "1.3.6.1.4.1.171.11.30.2.2.0"; // kbit/s, text in double quotes
inline constexpr const char* adslDownRate = "1.3.6.1.4.1.171.11.30.2.3.0";
inline constexpr const char* adslStatus = "1.3.6.1.4.1.171.11.30.2.5.0"; // 0 idle, 1 initialising, 2 showtime
inline constexpr const char* adslTrellisCoding = "1.3.6.1.4.1.171.11.30.2.4.0"; // 1 on
inline constexpr const char* adslUpAttenuation = "1.3.6.1.4.1.171.11.30.2.25.0";
inline constexpr const char* adslDownAttenuation = "1.3.6.1.4.1.171.11.30.2.26.0";
inline constexpr const char* adslUpSnr = "1.3.6.1.4.1.171.11.30.2.27.0";
inline constexpr const char* adslDownSnr = "1.3.6.1.4.1.171.11.30.2.28.0";
inline constexpr const char* adslUpPower = "1.3.6.1.4.1.171.11.30.2.29.0";
inline constexpr const char* adslDownPower = "1.3.6.1.4.1.171.11.30.2.30.0";
inline constexpr const char* lanAddress = "1.3.6.1.4.1.171.11.30.4.1.1.2.1"; // IpAddress, writable
inline constexpr const char* wanAddress = "1.3.6.1.4.1.171.11.30.4.1.1.2.2"; // IpAddress
inline constexpr const char* pvcIndex = "1.3.6.1.4.1.171.11.30.6.1.1.1.1";
inline constexpr const char* pvcEncapsulation = "1.3.6.1.4.1.171.11.30.6.1.1.2.1"; // 2 PPPoA
inline constexpr const char* vpi = "1.3.6.1.4.1.171.11.30.6.1.1.3.1";              // INTEGER 0..255, writable
inline constexpr const char* vci = "1.3.6.1.4.1.171.11.30.6.1.1.4.1"; // INTEGER 0..65535, writable
inline constexpr const char* pppUser = "1.3.6.1.4.1.171.11.30.6.1.1.7.1";
inline constexpr const char* pppPassword = "1.3.6.1.4.1.171.11.30.6.1.1.8.1";

// MIB-II groups (a scalar is group "." number ".0") and the tables the stand-in rebuilds.
inline constexpr const char* systemGroup = "1.3.6.1.2.1.1";
inline constexpr const char* ipGroup = "1.3.6.1.2.1.4";
inline constexpr const char* icmpGroup = "1.3.6.1.2.1.5";
inline constexpr const char* tcpGroup = "1.3.6.1.2.1.6";
inline constexpr const char* udpGroup = "1.3.6.1.2.1.7";
inline constexpr const char* ipRouteTable = "1.3.6.1.2.1.4.21";
inline constexpr const char* tcpConnTable = "1.3.6.1.2.1.6.13";
// Group counters the stand-in moves with the traffic.
inline constexpr const char* ipInReceives = "1.3.6.1.2.1.4.3.0";
inline constexpr const char* ipForwDatagrams = "1.3.6.1.2.1.4.6.0";
inline constexpr const char* ipInDiscards = "1.3.6.1.2.1.4.8.0";
inline constexpr const char* ipInDelivers = "1.3.6.1.2.1.4.9.0";
inline constexpr const char* ipOutRequests = "1.3.6.1.2.1.4.10.0";
inline constexpr const char* icmpInMsgs = "1.3.6.1.2.1.5.1.0";
inline constexpr const char* icmpInEchos = "1.3.6.1.2.1.5.8.0";
inline constexpr const char* icmpOutMsgs = "1.3.6.1.2.1.5.14.0";
inline constexpr const char* icmpOutEchoReps = "1.3.6.1.2.1.5.22.0";
inline constexpr const char* tcpCurrEstab = "1.3.6.1.2.1.6.9.0";
inline constexpr const char* tcpInSegs = "1.3.6.1.2.1.6.10.0";
inline constexpr const char* tcpOutSegs = "1.3.6.1.2.1.6.11.0";
inline constexpr const char* tcpRetransSegs = "1.3.6.1.2.1.6.12.0";
inline constexpr const char* udpInDatagrams = "1.3.6.1.2.1.7.1.0";
inline constexpr const char* udpNoPorts = "1.3.6.1.2.1.7.2.0";
inline constexpr const char* udpOutDatagrams = "1.3.6.1.2.1.7.4.0";
// The maker's enterprise subtree (the stand-in's sysObjectID).
inline constexpr const char* enterprise = "1.3.6.1.4.1.171";

// ifTable columns (object = ifEntry "." column "." ifIndex).
enum IfColumn : int {
    IfIndex = 1,
    IfDescr = 2,
    IfType = 3,
    IfMtu = 4,
    IfSpeed = 5,
    IfPhysAddress = 6,
    IfAdminStatus = 7,
    IfOperStatus = 8,
    IfLastChange = 9,
    IfInOctets = 10,
    IfInUcastPkts = 11,
    IfInNUcastPkts = 12,
    IfInDiscards = 13,
    IfInErrors = 14,
    IfInUnknownProtos = 15,
    IfOutOctets = 16,
    IfOutUcastPkts = 17,
    IfOutNUcastPkts = 18,
    IfOutDiscards = 19,
    IfOutErrors = 20,
    IfOutQLen = 21,
    IfSpecific = 22,
};

} // namespace mib
