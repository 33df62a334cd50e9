// Texts between the window and the SNMP client: the client carries bytes, the window shows QString.
#pragma once

#include <QString>

#include <string>

namespace snmptext {

// Bytes from the router: UTF-8 when they are valid UTF-8, otherwise Latin-1, so every byte shows.
QString fromRouter(const std::string& bytes);
// Texts sent to the router: UTF-8.
std::string toRouter(const QString& text);

} // namespace snmptext
