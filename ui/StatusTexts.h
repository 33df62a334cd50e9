// The status line texts that every router page shares. Every status text begins with a blank.
#pragma once

#include <QString>

namespace statustext {
inline const QString Ready = QStringLiteral(" Ready");
inline const QString Busy = QStringLiteral(" Busy ... please wait");
inline const QString ReadError = QStringLiteral(" Error: Check IP address and/or SNMP community name");
inline const QString SetNotReadBack = QStringLiteral(" Error: The value was set but could not be read back");
} // namespace statustext
