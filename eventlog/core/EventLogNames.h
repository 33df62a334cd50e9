// Names of the event-log transfer: the stored file's name, the checks on a requested name and the
// computer address the router is told to upload to.
#pragma once

#include <QDateTime>

#include <string>
#include <string_view>
#include <vector>

namespace eventlog {

// "event" yyMMdd "_" HHmm ".log" of the given local time: 14 March 2005 09:30 gives event050314_0930.log.
std::string FileNameAt(const QDateTime& localTime);

// A name that can only mean a file directly inside the directory: not empty, no "/", no "..", no
// control character.
bool IsPlainFileName(std::string_view name);

// 127.0.0.0/8 in dotted form.
bool IsLoopbackAddress(std::string_view dotted);
// The address to give the router: the first of the host name's addresses that is neither loopback
// nor 0.0.0.0, else the route's source address under the same rule, else "".
std::string ChooseComputerAddress(const std::vector<std::string>& hostNameAddresses,
                                  const std::string& routeAddress);

} // namespace eventlog
