// The program's name and version, as the update check compares it and the web client names itself.
#pragma once

namespace program {
inline constexpr const char* kName = "Kestrune Utility";
inline constexpr const char* kVersion = "1.2.0.1";
} // namespace program
