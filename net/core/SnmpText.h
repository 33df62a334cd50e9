// Texts between the window and the SNMP client: the client carries bytes, the window shows QString.
#pragma once

#include <QString>

#include <optional>
#include <string>

namespace snmptext {

// Bytes from the router: UTF-8 when they are valid UTF-8, otherwise Latin-1, so every byte shows.
QString fromRouter(const std::string& bytes);
// Texts sent to the router: UTF-8.
std::string toRouter(const QString& text);

// A number as the router's integer, counter and tick values arrive: decimal digits with an optional
// sign, no blanks, within 64 bits. Anything else (an empty text, hexadecimal) gives nothing.
std::optional<qint64> parseDecimal(const QString& text);

// The router's texts travel in double quotes; shown, every double-quote character is removed.
QString withoutQuotes(const QString& text);

// An ifTable object: "1.3.6.1.2.1.2.2.1." column "." row (see mib::IfColumn).
QString ifColumnOid(int column, const QString& row);

} // namespace snmptext
