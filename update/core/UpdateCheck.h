// The version file's reading rule, the comparison of versions and the message the update check shows.
#pragma once

#include <cstddef>
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

// A version file is a few short lines; a larger reply is refused.
inline constexpr std::size_t kMaxVersionFileBytes = 64 * 1024;
inline constexpr const char* kTooLargeText = "The server's reply is larger than 64 KiB.";
inline constexpr const char* kNotVersionFileText = "The server's reply is not a version file.";

// Two or more parts of ASCII letters and digits joined by single dots, the first part beginning with
// a digit: 1.2.0.1, 1.2.0.1b.
bool isDottedVersion(std::string_view text);

// What the check shows for a fetched body.
struct Verdict {
    bool error; // true: the general error report; false: the plain message box
    std::string text;
};
// A body larger than kMaxVersionFileBytes is an error; a first line that is neither empty nor a
// dotted version is not a version file; anything else gets its update message.
Verdict verdictFor(std::string_view body, std::string_view programVersion);

} // namespace updatecheck
