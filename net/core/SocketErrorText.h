// The error texts of the program's TCP clients: time-outs and socket errors as the user reads them.
#pragma once

#include <string>
#include <string_view>

namespace socketerror {

inline constexpr const char* kConnectTimedOut = "Connect timed out.";
inline constexpr const char* kReadTimedOut = "Read timed out.";

// "Socket Error # <code>\r\n<description>", the description ended by a full stop.
std::string text(int code, std::string_view description);
// The same for an errno value, with the system's description.
std::string fromErrno(int code);

} // namespace socketerror
