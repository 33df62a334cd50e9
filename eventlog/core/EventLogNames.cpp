// Names of the event-log transfer: file name pattern, name checks, computer address.
#include "eventlog/core/EventLogNames.h"

#include <algorithm>

namespace eventlog {

std::string FileNameAt(const QDateTime& localTime) {
    return localTime.toString(QStringLiteral("'event'yyMMdd'_'HHmm'.log'")).toStdString();
}

bool IsPlainFileName(std::string_view name) {
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    return !name.empty() && name.find('/') == std::string_view::npos &&
           name.find("..") == std::string_view::npos && std::none_of(name.begin(), name.end(), control);
}

bool IsLoopbackAddress(std::string_view dotted) {
    return dotted.starts_with("127.");
}

std::string ChooseComputerAddress(const std::vector<std::string>& hostNameAddresses,
                                  const std::string& routeAddress) {
    const auto usable = [](const std::string& a) {
        return !a.empty() && a != "0.0.0.0" && !IsLoopbackAddress(a);
    };
    const auto found = std::find_if(hostNameAddresses.begin(), hostNameAddresses.end(), usable);
    if (found != hostNameAddresses.end()) return *found;
    return usable(routeAddress) ? routeAddress : std::string();
}

} // namespace eventlog
