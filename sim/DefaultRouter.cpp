// The router a freshly started stand-in pretends to be: an ADSL router on 192.168.0.1 with a
// PPPoA link to its ISP, up for a few days, with traffic flowing.
#include "net/core/SnmpBer.h"
#include "sim/RouterState.h"

namespace sim {

namespace {
const std::string Sys = mib::systemGroup;
const std::string Ip = mib::ipGroup;
const std::string Icmp = mib::icmpGroup;
const std::string Tcp = mib::tcpGroup;
const std::string Udp = mib::udpGroup;
const std::string Snmp = mib::snmpGroup;

std::string scalar(const std::string& group, int n) {
    return group + "." + std::to_string(n) + ".0";
}

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int x : b)
        s += static_cast<char>(x);
    return s;
}
} // namespace

int Router::State::addInterface(const std::string& descr, int ifType, int mtu, std::uint32_t speed,
                                const std::string& physAddress, std::uint32_t lastChange, double inOctets,
                                double outOctets) {
    interfaces.push_back({});
    const int i = static_cast<int>(interfaces.size());
    auto col = [&](int c) { return toOid(ifOid(c, i)); };
    putInt(col(IfIndex), i);
    putText(col(IfDescr), descr);
    putInt(col(IfType), ifType);
    putInt(col(IfMtu), mtu);
    putCounter(col(IfSpeed), speed, 0, ber::Gauge);
    putText(col(IfPhysAddress), physAddress);
    putInt(col(IfAdminStatus), 1, Access::ReadWrite);
    mib.find(col(IfAdminStatus))->minInt = 1;
    mib.find(col(IfAdminStatus))->maxInt = 3;
    putInt(col(IfOperStatus), 1);
    put(col(IfLastChange), ber::TimeTicks, std::to_string(lastChange));
    putCounter(col(IfInOctets), inOctets);
    putCounter(col(IfInUcastPkts), inOctets / 600 * 0.97);
    putCounter(col(IfInNUcastPkts), inOctets / 600 * 0.03);
    putCounter(col(IfInDiscards), inOctets / 2e6);
    putCounter(col(IfInErrors), inOctets / 9e6);
    putCounter(col(IfInUnknownProtos), 0);
    putCounter(col(IfOutOctets), outOctets);
    putCounter(col(IfOutUcastPkts), outOctets / 600 * 0.98);
    putCounter(col(IfOutNUcastPkts), outOctets / 600 * 0.02);
    putCounter(col(IfOutDiscards), 0);
    putCounter(col(IfOutErrors), outOctets / 3e7);
    putCounter(col(IfOutQLen), 0, 0, ber::Gauge);
    put(col(IfSpecific), ber::ObjectId, "0.0");
    putInt(toOid(mib::ifNumber), i);
    return i;
}

void Router::State::addRoute(const std::string& dest, int ifIndex, int metric, const std::string& nextHop,
                             int type, int proto, int age, const std::string& mask) {
    const std::string e = mib::ipRouteEntry;
    auto col = [&](int c) { return child(e + "." + std::to_string(c), dest); };
    putIp(col(1), dest);
    putInt(col(2), ifIndex);
    putInt(col(3), metric);
    for (int c = 4; c <= 6; ++c)
        putInt(col(c), -1);
    putIp(col(7), nextHop);
    putInt(col(8), type);
    putInt(col(9), proto);
    putInt(col(10), age);
    putIp(col(11), mask);
    putInt(col(12), -1);
    put(col(13), ber::ObjectId, "0.0");
}

void Router::State::addArp(int ifIndex, const std::string& phys, const std::string& address, int type) {
    const std::string e = mib::ipNetToMediaEntry;
    const std::string inst = std::to_string(ifIndex) + "." + address;
    putInt(child(e + ".1", inst), ifIndex);
    putText(child(e + ".2", inst), phys);
    putIp(child(e + ".3", inst), address);
    putInt(child(e + ".4", inst), type);
}

void Router::State::addTcp(const std::string& localAddr, int localPort, const std::string& remAddr,
                           int remPort, int state) {
    const std::string e = mib::tcpConnEntry;
    const std::string inst =
        localAddr + "." + std::to_string(localPort) + "." + remAddr + "." + std::to_string(remPort);
    putInt(child(e + ".1", inst), state);
    putIp(child(e + ".2", inst), localAddr);
    putInt(child(e + ".3", inst), localPort);
    putIp(child(e + ".4", inst), remAddr);
    putInt(child(e + ".5", inst), remPort);
}

void Router::State::addUdp(const std::string& localAddr, int localPort) {
    const std::string e = mib::udpEntry;
    const std::string inst = localAddr + "." + std::to_string(localPort);
    putIp(child(e + ".1", inst), localAddr);
    putInt(child(e + ".2", inst), localPort);
}

void Router::State::buildDefaults() {
    const double upSeconds = 3 * 86400 + 4 * 3600 + 25 * 60 + 7.5; // 3 days 04:25:07.50

    // system
    putText(toOid(scalar(Sys, 1)), "Kestrune router stand-in, ADSL");
    put(toOid(scalar(Sys, 2)), ber::ObjectId, mib::enterprise);
    putCounter(toOid(scalar(Sys, 3)), upSeconds * 100, 100, ber::TimeTicks);
    putText(toOid(scalar(Sys, 4)), "\"Network Administrator\"", Access::ReadWrite);
    putText(toOid(scalar(Sys, 5)), "\"dsl-router.home.lan\"", Access::ReadWrite);
    putText(toOid(scalar(Sys, 6)), "\"Study, first floor\"", Access::ReadWrite);
    for (int n = 4; n <= 6; ++n)
        mib.find(toOid(scalar(Sys, n)))->maxLength = 255;
    putInt(toOid(scalar(Sys, 7)), 78);

    // interfaces: LAN, the ATM link, the PPP channel over it, the WAN PPP interface, loopback.
    // The LAN address holds control bytes (0x1a) as real hardware addresses do.
    const std::uint32_t boot = 1200; // interfaces came up 12 s after boot
    const std::uint32_t pppUp = static_cast<std::uint32_t>(upSeconds * 100) - 86400 * 100; // a day ago
    addInterface("ethernet", 6, 1500, 100000000, bytes({0x00, 0x80, 0x2d, 0x4f, 0x1a, 0x2b}), boot, 4.1e8,
                 2.9e9);
    addInterface("atm", 37, 9180, 8000000, "", boot, 3.2e9, 4.9e8);
    addInterface("ppp channel 1", 23, 1500, 8000000, "", pppUp, 3.1e9, 4.6e8);
    addInterface("ppp1", 23, 1492, 8000000, "", pppUp, 3.05e9, 4.5e8);
    addInterface("lo", 24, 16436, 0, "", boot, 2.1e6, 2.1e6);
    // Lively defaults: downloads of ~200 kB/s through the WAN, ~30 kB/s upstream.
    interfaces[LanIf - 1] = {31000, 205000, 700};
    interfaces[AtmIf - 1] = {212000, 33000, 600};
    interfaces[PppIf - 1] = {206000, 31500, 620};
    interfaces[WanIf - 1] = {200000, 30000, 640};
    interfaces[LoopIf - 1] = {40, 40, 80};

    // ip (scalars first: the rates are set from the traffic below)
    putInt(toOid(scalar(Ip, 1)), 1, Access::ReadWrite); // forwarding
    mib.find(toOid(scalar(Ip, 1)))->minInt = 1;
    mib.find(toOid(scalar(Ip, 1)))->maxInt = 2;
    putInt(toOid(scalar(Ip, 2)), 64, Access::ReadWrite); // default TTL
    mib.find(toOid(scalar(Ip, 2)))->minInt = 1;
    mib.find(toOid(scalar(Ip, 2)))->maxInt = 255;
    const double ipStart[] = {0, 0, 0, 7.3e6, 12, 310, 6.7e6, 4, 2100, 5.9e5, 4.4e5, 0, 17};
    for (int n = 3; n <= 12; ++n)
        putCounter(toOid(scalar(Ip, n)), ipStart[n]);
    putInt(toOid(scalar(Ip, 13)), 60); // reassembly time-out
    putCounter(toOid(scalar(Ip, 14)), 52);
    putCounter(toOid(scalar(Ip, 15)), 26);
    putCounter(toOid(scalar(Ip, 16)), 0);
    putCounter(toOid(scalar(Ip, 17)), 3);
    putCounter(toOid(scalar(Ip, 18)), 0);
    putCounter(toOid(scalar(Ip, 19)), 6);
    putCounter(toOid(scalar(Ip, 23)), 0);

    // ipAddrTable: the LAN and the WAN address.
    auto addAddr = [&](const std::string& a, int ifIndex, const std::string& mask) {
        const std::string e = mib::ipAddrEntry;
        putIp(child(e + ".1", a), a);
        putInt(child(e + ".2", a), ifIndex);
        putIp(child(e + ".3", a), mask);
        putInt(child(e + ".4", a), 1);
        putInt(child(e + ".5", a), 65535);
    };
    addAddr("192.168.0.1", LanIf, "255.255.255.0");
    addAddr("203.0.113.57", WanIf, "255.255.255.255");

    // ipRouteTable
    addRoute("0.0.0.0", WanIf, 1, "203.0.113.1", 4, 3, 0, "0.0.0.0");
    addRoute("127.0.0.0", LoopIf, 0, "127.0.0.1", 3, 2, 0, "255.0.0.0");
    addRoute("192.168.0.0", LanIf, 0, "192.168.0.1", 3, 2, 0, "255.255.255.0");
    addRoute("203.0.113.1", WanIf, 0, "203.0.113.57", 3, 2, 0, "255.255.255.255");
    addRoute("239.0.0.0", LanIf, 1, "192.168.0.1", 3, 2, 0, "255.0.0.0");

    // ipNetToMediaTable: computers on the LAN (hardware addresses with control bytes too).
    addArp(LanIf, bytes({0x00, 0x0c, 0x6e, 0x12, 0x0a, 0x0d}), "192.168.0.100", 3);
    addArp(LanIf, bytes({0x00, 0x11, 0x2f, 0x8a, 0x33, 0x9c}), "192.168.0.101", 3);
    addArp(LanIf, bytes({0x00, 0x50, 0xba, 0x07, 0x1f, 0x40}), "192.168.0.20", 4);

    // icmp: 26 counters
    const double icmpStart[] = {0,    2310, 14,   1650, 210, 3, 0, 11, 402, 18, 2, 0, 0, 0,
                                2890, 0,    1960, 9,    0,   0, 0, 0,  402, 0,  0, 0, 0};
    for (int n = 1; n <= 26; ++n)
        putCounter(toOid(scalar(Icmp, n)), icmpStart[n]);

    // tcp
    putInt(toOid(scalar(Tcp, 1)), 4); // vanj
    putInt(toOid(scalar(Tcp, 2)), 200);
    putInt(toOid(scalar(Tcp, 3)), 120000);
    putInt(toOid(scalar(Tcp, 4)), -1); // no fixed limit
    putCounter(toOid(scalar(Tcp, 5)), 48, 0.002);
    putCounter(toOid(scalar(Tcp, 6)), 1311, 0.01);
    putCounter(toOid(scalar(Tcp, 7)), 3);
    putCounter(toOid(scalar(Tcp, 8)), 21);
    putCounter(toOid(scalar(Tcp, 9)), 0, 0, ber::Gauge);
    putCounter(toOid(scalar(Tcp, 10)), 2.2e5);
    putCounter(toOid(scalar(Tcp, 11)), 2.5e5);
    putCounter(toOid(scalar(Tcp, 12)), 140);
    putCounter(toOid(scalar(Tcp, 14)), 2);
    putCounter(toOid(scalar(Tcp, 15)), 640);
    addTcp("0.0.0.0", 23, "0.0.0.0", 0, 2);               // telnet, listen
    addTcp("0.0.0.0", 80, "0.0.0.0", 0, 2);               // web configuration, listen
    addTcp("192.168.0.1", 23, "192.168.0.100", 1047, 5);  // established
    addTcp("192.168.0.1", 80, "192.168.0.100", 1052, 11); // timeWait
    addTcp("192.168.0.1", 80, "192.168.0.101", 49210, 5); // established
    addTcp("203.0.113.57", 1031, "198.51.100.7", 80, 8);  // closeWait
    updateTcpCurrEstab();

    // udp; the DNS relay listens on loopback and on the internal bridge address 10.0.0.1, two entries
    // that differ only in the first address number.
    putCounter(toOid(scalar(Udp, 1)), 8.1e4);
    putCounter(toOid(scalar(Udp, 2)), 930);
    putCounter(toOid(scalar(Udp, 3)), 0);
    putCounter(toOid(scalar(Udp, 4)), 7.9e4);
    addUdp("0.0.0.0", 67);
    addUdp("0.0.0.0", 161);
    addUdp("0.0.0.0", 520);
    addUdp("10.0.0.1", 53);
    addUdp("127.0.0.1", 53);

    // snmp: counters 1-29 (7 and 23 are not used), then the authentication-trap switch.
    for (int n = 1; n <= 29; ++n) {
        if (n != 7 && n != 23) putCounter(toOid(scalar(Snmp, n)), 0);
    }
    putInt(toOid(scalar(Snmp, 30)), 2, Access::ReadWrite); // disabled
    mib.find(toOid(scalar(Snmp, 30)))->minInt = 1;
    mib.find(toOid(scalar(Snmp, 30)))->maxInt = 2;

    // D-Link enterprise objects.
    putText(toOid(mib::firmware), "V3.00B01T02.EU.20040317");
    putInt(toOid(mib::adslMode), 3);
    putText(toOid(mib::adslUpRate), quoted("832"));
    putText(toOid(mib::adslDownRate), quoted("8000"));
    putInt(toOid(mib::adslTrellisCoding), 1); // trellis coding on
    putInt(toOid(mib::adslStatus), 2);
    putText(toOid(mib::adslUpAttenuation), "12.5");
    putText(toOid(mib::adslDownAttenuation), "23.0");
    putText(toOid(mib::adslUpSnr), "24.0");
    putText(toOid(mib::adslDownSnr), "11.5");
    putText(toOid(mib::adslUpPower), "12.1");
    putText(toOid(mib::adslDownPower), "19.6");
    putIp(toOid(mib::lanAddress), "192.168.0.1", Access::ReadWrite);
    putIp(toOid(mib::wanAddress), "203.0.113.57");
    putInt(toOid(mib::pvcIndex), 1);         // connection index
    putInt(toOid(mib::pvcEncapsulation), 2); // encapsulation: PPPoA
    putInt(toOid(mib::vpi), 8, Access::ReadWrite);
    mib.find(toOid(mib::vpi))->minInt = 0;
    mib.find(toOid(mib::vpi))->maxInt = 255;
    putInt(toOid(mib::vci), 35, Access::ReadWrite);
    mib.find(toOid(mib::vci))->minInt = 0;
    mib.find(toOid(mib::vci))->maxInt = 65535;
    putText(toOid(mib::pppUser), quoted("kestrel@isp.example"));
    putText(toOid(mib::pppPassword), quoted("wv7-tarn"));

    for (int i = 1; i <= static_cast<int>(interfaces.size()); ++i)
        applyTraffic(i);
}

} // namespace sim
