// The help keywords of the program: which help page (and anchor) belongs to each page, sub-page and menu
// item.
#pragma once

#include <QString>

#include <array>
#include <string_view>

namespace helpkw {

inline constexpr std::string_view HelpFile = "kestrune.html"; // the contents page, also the main window's
inline constexpr std::string_view Index = "index.html";       // "Search for Help On..."
inline constexpr std::string_view System = "110.html";
inline constexpr std::string_view Quota = "120.html";
inline constexpr std::string_view Adsl = "130.html";
inline constexpr std::string_view AdslConnectionLog = "130.html#adslconnectionlog";
inline constexpr std::string_view AdslModeLog = "130.html#defaultconnectionmodelog";
inline constexpr std::string_view Interfaces = "140.html";
inline constexpr std::string_view Ip = "150.html";
inline constexpr std::string_view IpAddressTable = "150.html#ipaddresstable";
inline constexpr std::string_view IpRouteTable = "150.html#iproutetable";
inline constexpr std::string_view IpNetToMediaTable = "150.html#ipnettomediatable";
inline constexpr std::string_view Icmp = "160.html";
inline constexpr std::string_view Tcp = "170.html";
inline constexpr std::string_view TcpConnectionTable = "170.html#tcpconnectiontable";
inline constexpr std::string_view Udp = "180.html";
inline constexpr std::string_view Snmp = "190.html";
inline constexpr std::string_view Misc = "200.html";
inline constexpr std::string_view Debug = "210.html";
inline constexpr std::string_view LineHistory = "220.html"; // the Line history window

inline constexpr std::array All{HelpFile,
                                Index,
                                System,
                                Quota,
                                Adsl,
                                AdslConnectionLog,
                                AdslModeLog,
                                Interfaces,
                                Ip,
                                IpAddressTable,
                                IpRouteTable,
                                IpNetToMediaTable,
                                Icmp,
                                Tcp,
                                TcpConnectionTable,
                                Udp,
                                Snmp,
                                Misc,
                                Debug,
                                LineHistory};

// A keyword as the window's texts hold it.
inline QString text(std::string_view keyword) {
    return QString::fromLatin1(keyword.data(), static_cast<qsizetype>(keyword.size()));
}

} // namespace helpkw
