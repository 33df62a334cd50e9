#include "sim/ControlProtocol.h"

#include "net/core/SnmpBer.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace sim {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start) out.emplace_back(line.substr(start, i - start));
    }
    return out;
}

// The text after the first n words and the one blank that follows the n-th.
std::string_view restAfter(std::string_view line, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t w = 0; w < n; ++w) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
    }
    if (i < line.size()) ++i; // the separating blank
    return line.substr(std::min(i, line.size()));
}

struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

long long toInteger(const std::string& text, const char* what) {
    long long v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size())
        throw CommandError(std::string("bad ") + what + " \"" + text + "\"");
    return v;
}

double toNumber(const std::string& text, const char* what) {
    std::size_t used = 0;
    double v = 0;
    try {
        v = std::stod(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used != text.size() || !std::isfinite(v))
        throw CommandError(std::string("bad ") + what + " \"" + text + "\"");
    return v;
}

std::uint32_t toU32(const std::string& text, const char* what) {
    const long long v = toInteger(text, what);
    if (v < 0 || v > 0xFFFFFFFFll) throw CommandError(std::string(what) + " out of range: " + text);
    return static_cast<std::uint32_t>(v);
}

bool toSwitch(const std::string& text) {
    if (text == "on" || text == "1" || text == "true" || text == "yes") return true;
    if (text == "off" || text == "0" || text == "false" || text == "no") return false;
    throw CommandError("expected on or off, not \"" + text + "\"");
}

void need(const std::vector<std::string>& args, std::size_t n, const char* usage) {
    if (args.size() < n) throw CommandError(std::string("usage: ") + usage);
}

std::string hexOf(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string fromHex(std::string_view text) {
    std::string out;
    std::string digits;
    for (char c : text) {
        if (isBlank(c) || c == ':' || c == '-') continue;
        digits += c;
    }
    if (digits.size() % 2) throw CommandError("odd number of hex digits");
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        unsigned v = 0;
        const auto [p, ec] = std::from_chars(digits.data() + i, digits.data() + i + 2, v, 16);
        if (ec != std::errc() || p != digits.data() + i + 2)
            throw CommandError("bad hex digits \"" + digits.substr(i, 2) + "\"");
        out += static_cast<char>(v);
    }
    return out;
}

bool printable(const std::string& s) {
    for (unsigned char c : s) {
        if (c < 0x20 || c >= 0x7F) return false;
    }
    return true;
}

} // namespace

std::vector<std::string> commandWords(std::string_view line) {
    return words(line);
}

std::optional<int> ControlProtocol::parseType(std::string_view name) {
    static const std::map<std::string, int, std::less<>> names = {
        {"integer", ber::Integer},    {"int", ber::Integer},         {"string", ber::OctetString},
        {"octets", ber::OctetString}, {"text", ber::OctetString},    {"hex", ber::OctetString},
        {"oid", ber::ObjectId},       {"ipaddress", ber::IpAddress}, {"ip", ber::IpAddress},
        {"counter", ber::Counter},    {"gauge", ber::Gauge},         {"timeticks", ber::TimeTicks},
        {"null", ber::Null},          {"opaque", ber::Opaque},
    };
    if (auto it = names.find(name); it != names.end()) return it->second;
    unsigned v = 0;
    const bool hex = name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X');
    const char* first = name.data() + (hex ? 2 : 0);
    const auto [p, ec] = std::from_chars(first, name.data() + name.size(), v, hex ? 16 : 10);
    if (ec == std::errc() && p == name.data() + name.size() && v > 0 && v < 256 && !(v & 0x20))
        return static_cast<int>(v);
    return std::nullopt;
}

std::string ControlProtocol::typeName(int tag) {
    switch (tag) {
    case ber::Integer:
        return "integer";
    case ber::OctetString:
        return "string";
    case ber::ObjectId:
        return "oid";
    case ber::IpAddress:
        return "ipaddress";
    case ber::Counter:
        return "counter";
    case ber::Gauge:
        return "gauge";
    case ber::TimeTicks:
        return "timeticks";
    case ber::Null:
        return "null";
    case ber::Opaque:
        return "opaque";
    default: {
        char buf[8];
        std::snprintf(buf, sizeof buf, "0x%02x", tag & 0xFF);
        return buf;
    }
    }
}

std::string ControlProtocol::formatValue(int tag, const std::string& value) {
    if (tag == ber::OctetString && !printable(value)) return "hex " + hexOf(value);
    return typeName(tag) + " " + value;
}

ControlProtocol::ControlProtocol(Router& router) : m_router(router) {
    addHostileCommands(*this, router);
}

void ControlProtocol::addCommand(const std::string& name, Handler handler) {
    m_commands[name] = std::move(handler);
}

std::string ControlProtocol::execute(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    const std::vector<std::string> w = words(line);
    if (w.empty()) return "error empty command";
    const std::string& cmd = w[0];
    const std::vector<std::string> args(w.begin() + 1, w.end());
    Router& r = m_router;
    auto ifIndexOf = [&](const std::string& text) {
        const long long i = toInteger(text, "interface");
        if (i < 1 || i > r.interfaceCount()) throw CommandError("no interface " + text);
        return static_cast<int>(i);
    };
    auto oidOf = [](const std::string& text) {
        if (!parseOid(text)) throw CommandError("bad object identifier \"" + text + "\"");
        return text;
    };
    try {
        if (auto it = m_commands.find(cmd); it != m_commands.end())
            return it->second(args, restAfter(line, 1));
        if (cmd == "help") {
            std::string names =
                "ok help ping get next set erase erasetree erasecell writable traffic octets oper descr "
                "link uptime advance restart silent delay community adsl routes tcpconns log stats";
            for (const auto& [name, handler] : m_commands)
                names += " " + name;
            return names;
        }
        if (cmd == "ping") return "ok pong";
        if (cmd == "get") {
            need(args, 1, "get <oid>");
            const auto v = r.get(oidOf(args[0]));
            if (!v) return "error no such object " + args[0];
            return "ok " + formatValue(v->first, v->second);
        }
        if (cmd == "next") {
            need(args, 1, "next <oid>");
            const auto n = r.nextOid(oidOf(args[0]));
            const auto v = n ? r.get(*n) : std::nullopt;
            if (!v) return "error end of MIB after " + args[0];
            return "ok " + *n + " " + formatValue(v->first, v->second);
        }
        if (cmd == "set") {
            need(args, 2, "set <oid> <type> <value>");
            const auto tag = parseType(args[1]);
            if (!tag) throw CommandError("unknown type \"" + args[1] + "\"");
            std::string value(restAfter(line, 3));
            if (args[1] == "hex") value = fromHex(value);
            r.set(oidOf(args[0]), *tag, value);
            return "ok";
        }
        if (cmd == "erase") {
            need(args, 1, "erase <oid>");
            const bool existed = r.exists(oidOf(args[0]));
            r.erase(args[0]);
            return existed ? "ok" : "ok (there was no such object)";
        }
        if (cmd == "erasetree") {
            need(args, 1, "erasetree <oid>");
            return "ok " + std::to_string(r.eraseSubtree(oidOf(args[0])));
        }
        if (cmd == "erasecell") {
            need(args, 2, "erasecell <column-oid> <instance>");
            oidOf(args[0] + "." + args[1]);
            r.eraseCell(args[0], args[1]);
            return "ok";
        }
        if (cmd == "writable") {
            need(args, 2, "writable <oid> on|off");
            if (!r.exists(oidOf(args[0]))) return "error no such object " + args[0];
            r.setAccess(args[0], toSwitch(args[1]) ? Access::ReadWrite : Access::ReadOnly);
            return "ok";
        }
        if (cmd == "traffic") {
            need(args, 3, "traffic <ifIndex> <in bytes/s> <out bytes/s>");
            const double in = toNumber(args[1], "rate"), out = toNumber(args[2], "rate");
            if (in < 0 || out < 0) throw CommandError("rates cannot be negative");
            r.setTraffic(ifIndexOf(args[0]), in, out);
            return "ok";
        }
        if (cmd == "octets") {
            need(args, 3, "octets <ifIndex> <in> <out>");
            r.setOctets(ifIndexOf(args[0]), toU32(args[1], "counter"), toU32(args[2], "counter"));
            return "ok";
        }
        if (cmd == "oper") {
            need(args, 2, "oper <ifIndex> up|down|testing|<n>");
            const std::string& s = args[1];
            const int status = s == "up"        ? 1
                               : s == "down"    ? 2
                               : s == "testing" ? 3
                                                : static_cast<int>(toInteger(s, "status"));
            r.setOperStatus(ifIndexOf(args[0]), status);
            return "ok";
        }
        if (cmd == "link") {
            need(args, 1, "link up|down");
            if (args[0] != "up" && args[0] != "down") throw CommandError("usage: link up|down");
            r.setPppLink(args[0] == "up");
            return "ok";
        }
        if (cmd == "descr") {
            need(args, 1, "descr <ifIndex> <text>");
            r.setIfDescr(ifIndexOf(args[0]), std::string(restAfter(line, 2)));
            return "ok";
        }
        if (cmd == "uptime") {
            if (!args.empty()) r.setUptime(toU32(args[0], "ticks"));
            return "ok " + std::to_string(r.uptime());
        }
        if (cmd == "advance") {
            need(args, 1, "advance <seconds>");
            const double s = toNumber(args[0], "seconds");
            if (s < 0) throw CommandError("the clock only goes forward");
            r.advance(s);
            return "ok";
        }
        if (cmd == "restart") {
            r.restart();
            return "ok";
        }
        if (cmd == "silent") {
            need(args, 1, "silent on|off");
            r.setSilent(toSwitch(args[0]));
            return "ok";
        }
        if (cmd == "delay") {
            need(args, 1, "delay <ms>");
            const long long ms = toInteger(args[0], "delay");
            if (ms < 0 || ms > 600000) throw CommandError("delay out of range: " + args[0]);
            r.setResponseDelayMs(static_cast<int>(ms));
            return "ok";
        }
        if (cmd == "community") {
            need(args, 2, "community <read-only> <read-write>");
            r.setCommunities(args[0], args[1]);
            return "ok";
        }
        if (cmd == "adsl") {
            need(args, 2, "adsl mode|status|rates|attenuation|snr|power|quoted ...");
            const std::string& what = args[0];
            if (what == "mode" || what == "status") {
                const int v = static_cast<int>(toInteger(args[1], what.c_str()));
                what == "mode" ? r.setAdslMode(v) : r.setAdslStatus(v);
                return "ok";
            }
            if (what == "quoted") {
                r.setQuotedTexts(toSwitch(args[1]));
                return "ok";
            }
            need(args, 3, "adsl rates|attenuation|snr|power <up> <down>");
            if (what == "rates")
                r.setAdslRates(args[1], args[2]);
            else if (what == "attenuation")
                r.setAdslAttenuation(args[1], args[2]);
            else if (what == "snr")
                r.setAdslSnr(args[1], args[2]);
            else if (what == "power")
                r.setAdslOutputPower(args[1], args[2]);
            else
                throw CommandError("unknown adsl figure \"" + what + "\"");
            return "ok";
        }
        if (cmd == "routes" || cmd == "tcpconns") {
            need(args, 1, "routes|tcpconns <n>");
            const long long n = toInteger(args[0], "count");
            if (n < 0 || n > 100000) throw CommandError("count out of range: " + args[0]);
            cmd == "routes" ? r.makeLargeRouteTable(static_cast<int>(n))
                            : r.makeLargeTcpTable(static_cast<int>(n));
            return "ok";
        }
        if (cmd == "log") {
            if (!args.empty()) {
                if (args[0] != "clear") throw CommandError("usage: log [clear]");
                r.clearRequestLog();
                return "ok";
            }
            const auto names = r.requestLog();
            std::string out = "ok " + std::to_string(names.size());
            for (const auto& n : names)
                out += " " + n;
            return out;
        }
        if (cmd == "stats")
            return "ok received " + std::to_string(r.datagramsReceived()) + " answered " +
                   std::to_string(r.datagramsAnswered());
        return "error unknown command \"" + cmd + "\" (try help)";
    } catch (const std::exception& e) {
        return std::string("error ") + e.what();
    }
}

} // namespace sim
