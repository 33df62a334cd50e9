// The program's name and version (the version comes from the build: the CMake project version), as
// the window shows them, the update check compares them and the web client names itself.
#pragma once

#ifndef KESTRUNE_VERSION
#error "KESTRUNE_VERSION comes from the build (the CMake project version)"
#endif

namespace program {
inline constexpr const char* kName = "Kestrune Utility";
inline constexpr const char* kVersion = KESTRUNE_VERSION;
} // namespace program
