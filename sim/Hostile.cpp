// The hostile cases' catalogue and the control command that switches them.
#include "sim/Hostile.h"

#include "sim/ControlProtocol.h"

namespace sim {

const std::vector<HostileCase>& hostileCases(Service service) {
    static const std::vector<HostileCase> snmp = {
        {"truncated", "every answer cut in half"},
        {"wronglength", "the message's length claims 16 bytes more than it carries"},
        {"wrongid", "answers carry another request id"},
        {"wrongpdu", "a get-request comes back instead of a response"},
        {"highbit", "every value an octet string of bytes with the high bit set"},
        {"huge", "answers of about 60000 bytes (one value that long)"},
        {"repeat", "every answer sent 50 times"},
        {"garbage", "bytes with the high bit set instead of the answer"},
        {"stall", "answers the first two requests, then no more"},
    };
    static const std::vector<HostileCase> telnet = {
        {"stall", "the greeting stops half-way and nothing more comes"},
        {"close", "the connection closes right after the password"},
        {"endless", "after the password, text that never ends and never a prompt"},
        {"huge", "a 2 MiB line before every answer"},
        {"highbit", "every answer's letters with the high bit set"},
        {"badiac", "an unterminated option negotiation before the greeting"},
    };
    static const std::vector<HostileCase> tftp = {
        {"truncated", "a write request cut before its mode"},
        {"badopcode", "a packet of opcode 9 instead of the write request"},
        {"wrongblock", "block 1, then block 3 instead of 2"},
        {"oversize", "data blocks of 1400 bytes"},
        {"stall", "stops after half the blocks"},
        {"highbit", "a file name of bytes with the high bit set"},
        {"endless", "full blocks for ever (until block 65535)"},
    };
    static const std::vector<HostileCase> http = {
        {"truncated", "Content-Length 1000, 10 bytes, then the connection closes"},
        {"badstatus", "a status line that is not HTTP"},
        {"badlength", "Content-Length: -5"},
        {"endless", "a body without a length that never ends"},
        {"huge", "a header line of 4 MiB"},
        {"stall", "the headers and half the body, then silence (60 s)"},
        {"highbit", "a body of bytes with the high bit set"},
        {"redirectloop", "302 to the same address, for ever"},
        {"silent", "accepts and never answers (60 s)"},
    };
    switch (service) {
    case Service::Snmp:
        return snmp;
    case Service::Telnet:
        return telnet;
    case Service::Tftp:
        return tftp;
    case Service::Http:
        break;
    }
    return http;
}

std::string_view serviceName(Service service) {
    static constexpr std::string_view names[] = {"snmp", "telnet", "tftp", "http"};
    return names[static_cast<std::size_t>(service)];
}

bool parseService(std::string_view word, Service& service) {
    for (Service s : {Service::Snmp, Service::Telnet, Service::Tftp, Service::Http}) {
        if (serviceName(s) == word) {
            service = s;
            return true;
        }
    }
    return false;
}

namespace {

bool knownCase(Service service, std::string_view name) {
    for (const HostileCase& c : hostileCases(service)) {
        if (c.name == name) return true;
    }
    return false;
}

std::string helpText() {
    std::string out = "ok";
    for (Service s : {Service::Snmp, Service::Telnet, Service::Tftp, Service::Http}) {
        out += std::string(" ") + std::string(serviceName(s)) + ":";
        for (const HostileCase& c : hostileCases(s))
            out += " " + std::string(c.name) + " (" + std::string(c.what) + ")";
        out += ";";
    }
    return out;
}

std::string stateText(const Router& router) {
    std::string out = "ok";
    for (Service s : {Service::Snmp, Service::Telnet, Service::Tftp, Service::Http}) {
        const std::string c = router.hostile(s);
        out += " " + std::string(serviceName(s)) + " " + (c.empty() ? "off" : c);
    }
    return out;
}

} // namespace

void addHostileCommands(ControlProtocol& protocol, Router& router) {
    protocol.addCommand("hostile", [&router](const std::vector<std::string>& args, std::string_view) {
        if (args.empty()) return stateText(router);
        if (args.size() == 1 && args[0] == "help") return helpText();
        Service service;
        if (args.size() == 2 && parseService(args[0], service) &&
            (args[1] == "off" || knownCase(service, args[1]))) {
            router.setHostile(service, args[1] == "off" ? "" : args[1]);
            return stateText(router);
        }
        return std::string("error usage: hostile [help] | hostile snmp|telnet|tftp|http <case>|off");
    });
}

} // namespace sim
