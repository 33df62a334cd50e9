// The program's own facts: its version (from the build), and the router's factory address and the
// read-write community it starts with.
#pragma once

#include "net/core/ProgramVersion.h"

#include <QString>

namespace program {
inline const QString Version = QString::fromLatin1(kVersion);
inline const QString DefaultRouterAddress = QStringLiteral("192.168.0.1");
inline const QString DefaultCommunity = QStringLiteral("quorbex");
} // namespace program
