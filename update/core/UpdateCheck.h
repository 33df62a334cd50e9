// The version file's reading rule, the comparison of versions and the message the update check shows.
#pragma once

#include <string>
#include <string_view>

namespace updatecheck {

struct VersionFile {
    std::string version;  // line 1
    std::string released; // line 2
    std::string expected; // line 3, optional
};

// Each value runs up to the first CR, LF or byte 0 (or to the end); the CRs and LFs after it are
// skipped, so blank lines do not count. Byte 0 ends the text. Missing values are empty; nothing is
// trimmed.
VersionFile readVersionFile(std::string_view body);

// Negative, 0 or positive as a is older than, the same as or newer than b. The dot-separated parts are
// compared from the left: two numbers by value (equal values spelt differently, such as 01 and 1, then
// by their text), anything else as text byte by byte; when every part agrees, the version with fewer
// parts is the older. 0 only for identical texts.
int compareVersions(std::string_view a, std::string_view b);

// The message for the fetched file against the program's own version (lines broken by a lone CR).
std::string updateMessage(const VersionFile& file, std::string_view programVersion);

} // namespace updatecheck
