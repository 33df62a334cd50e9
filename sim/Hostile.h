// The stand-in's hostile behaviours: for each of its services, at most one misbehaviour at a time,
// chosen by name through the control command "hostile". Off, every service behaves as usual.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class Service { Snmp, Telnet, Tftp, Http };

struct HostileCase {
    std::string_view name;
    std::string_view what;
};

// The cases each service knows, in the order "hostile help" lists them.
const std::vector<HostileCase>& hostileCases(Service service);
std::string_view serviceName(Service service);
// "snmp", "telnet", "tftp", "http" to the service; false for another word.
bool parseService(std::string_view word, Service& service);

// The case in force for each service ("" when it behaves).
struct HostileCases {
    std::array<std::string, 4> current;
    std::string& operator[](Service s) { return current[static_cast<std::size_t>(s)]; }
    const std::string& operator[](Service s) const { return current[static_cast<std::size_t>(s)]; }
};

} // namespace sim
