// The stand-in's control language: one command per line, one answer line per command, beginning
// "ok" or "error". Scripts, the demo and out-of-process tests drive a running stand-in with it
// (through ControlServer's Unix-domain socket, or `kestrune-router-sim ctl`).
//
// Commands (ifIndex is the interface row number, OIDs are dotted decimal):
//   help                                 the command names
//   ping                                 ok pong
//   get <oid>                            ok <type> <value>       (error when the object does not exist)
//   next <oid>                           ok <oid> <type> <value> (error at the end of the MIB)
//   set <oid> <type> <value...>          creates or replaces an object (value: rest of the line)
//   erase <oid>                          the object is gone
//   erasetree <oid>                      the object and everything below it are gone (ok <count>)
//   erasecell <column-oid> <instance>    one table cell is gone
//   writable <oid> on|off                whether SNMP sets may change the object
//   traffic <ifIndex> <in/s> <out/s>     octet counters grow at these byte rates while the interface is up
//   octets <ifIndex> <in> <out>          octet counters now (they wrap modulo 2^32)
//   oper <ifIndex> up|down|testing|<n>   ifOperStatus (ifLastChange follows)
//   link up|down                         the PPP link: ifOperStatus of "ppp channel 1" and "ppp1"
//   descr <ifIndex> <text...>            ifDescr
//   uptime [<ticks>]                     sysUpTime now (ok <ticks>), or set it
//   advance <seconds>                    the router's clock jumps forward
//   restart                              sysUpTime and every counter back to 0
//   silent on|off                        stop (or resume) answering SNMP at all
//   delay <ms>                           wait this long before every SNMP answer (0: at once)
//   community <read-only> <read-write>   the accepted communities
//   adsl mode|status <n>                 ADSL modulation mode (3 = G.DMT) / line status (2 = Showtime)
//   adsl rates <up> <down>               line rates in kbit/s (sent in double quotes while "quoted" is on)
//   adsl attenuation|snr|power <up> <down>
//   adsl quoted on|off
//   routes <n>                           a route table of n rows
//   tcpconns <n>                         a TCP connection table of n rows
//   log                                  ok <count> <name> <name> ... (request names since the last clear)
//   log clear
//   stats                                ok received <n> answered <n>
//   hostile [help]                       the hostile case of each service (help: every case)
//   hostile snmp|telnet|tftp|http <case>|off
// Types: integer, string, hex (octet string given as hex digits), oid, ipaddress, counter, gauge,
// timeticks, null, opaque, or a BER tag number (e.g. 0x41). `get` shows octet strings holding control
// or non-ASCII bytes as "hex <digits>", so its answer can be fed back to `set`.
#pragma once

#include "sim/RouterSim.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The blank-separated words of a command line.
std::vector<std::string> commandWords(std::string_view line);

class ControlProtocol {
public:
    explicit ControlProtocol(Router& router);

    // Runs one command line (trailing CR/LF ignored) and returns the answer line without a newline.
    std::string execute(std::string_view line);

    // More commands, added by the services the program runs (e.g. "port" for the SNMP agent's port).
    // args: the words after the command name; rest: the text after the command name and one blank.
    using Handler = std::function<std::string(const std::vector<std::string>& args, std::string_view rest)>;
    void addCommand(const std::string& name, Handler handler);

    // Type names as the protocol knows them.
    static std::optional<int> parseType(std::string_view name);
    static std::string typeName(int tag);
    // "<type> <value>" the way get answers (hex for unprintable octet strings).
    static std::string formatValue(int tag, const std::string& value);

private:
    Router& m_router;
    std::map<std::string, Handler> m_commands;
};

// "hostile ...": switches a service's misbehaviour (sim/Hostile.h).
void addHostileCommands(ControlProtocol& protocol, Router& router);

} // namespace sim
