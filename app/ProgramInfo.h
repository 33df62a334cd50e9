// The program's own facts: its version (from the build), and the router's factory address and the
// read-write community it starts with.
#pragma once

#include <QString>

#ifndef KESTRUNE_VERSION
#error "KESTRUNE_VERSION comes from the build (the CMake project version)"
#endif

namespace program {
inline const QString Version = QStringLiteral(KESTRUNE_VERSION);
inline const QString DefaultRouterAddress = QStringLiteral("192.168.0.1");
inline const QString DefaultCommunity = QStringLiteral("quorbex");
} // namespace program
