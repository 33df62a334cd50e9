// Version file reading, version comparison and the update message.
#include "update/core/UpdateCheck.h"

#include <algorithm>
#include <vector>

namespace updatecheck {

namespace {

bool isNumber(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int compareText(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int compareNumbers(std::string_view a, std::string_view b) {
    const auto significant = [](std::string_view s) {
        const std::size_t first = s.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view() : s.substr(first);
    };
    const std::string_view x = significant(a), y = significant(b);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    if (const int c = compareText(x, y)) return c;
    return compareText(a, b);
}

bool isAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<std::string_view> parts(std::string_view v) {
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t dot = v.find('.');
        out.push_back(v.substr(0, dot));
        if (dot == std::string_view::npos) return out;
        v.remove_prefix(dot + 1);
    }
}

} // namespace

VersionFile readVersionFile(std::string_view body) {
    body = body.substr(0, body.find('\0'));
    VersionFile file;
    std::string* targets[] = {&file.version, &file.released, &file.expected};
    std::size_t pos = 0;
    for (std::string* target : targets) {
        const std::size_t end = std::min(body.find_first_of("\r\n", pos), body.size());
        target->assign(body.substr(pos, end - pos));
        pos = std::min(body.find_first_not_of("\r\n", end), body.size());
    }
    return file;
}

int compareVersions(std::string_view a, std::string_view b) {
    const auto pa = parts(a), pb = parts(b);
    for (std::size_t i = 0; i < std::min(pa.size(), pb.size()); ++i) {
        const int c =
            isNumber(pa[i]) && isNumber(pb[i]) ? compareNumbers(pa[i], pb[i]) : compareText(pa[i], pb[i]);
        if (c != 0) return c;
    }
    return pa.size() == pb.size() ? 0 : pa.size() < pb.size() ? -1 : 1;
}

std::string updateMessage(const VersionFile& file, std::string_view programVersion) {
    const std::string own(programVersion);
    const int c = compareVersions(file.version, programVersion);
    if (c > 0)
        return "You are using version " + own + "\r\rA new version (" + file.version + ") is available!" +
               "\r" + "It was released on " + file.released + "." + "\r" + "\r" +
               "Please visit the Kestrune Utility web site to download it.";
    if (c == 0) {
        std::string m = "You are already using the latest version (" + file.version + ")" + "\r" +
                        "which was released on " + file.released + ".";
        if (file.expected.size() > 4) m += "\r\rA new version is expected " + file.expected;
        return m;
    }
    return "You are already using a later version (" + own + ")\rthan the version (" + file.version +
           ") which is publicly" + "\r" + "available!";
}

bool isDottedVersion(std::string_view text) {
    const std::vector<std::string_view> p = parts(text);
    const auto word = [](std::string_view s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), isAlnum);
    };
    return p.size() >= 2 && std::all_of(p.begin(), p.end(), word) && text.front() >= '0' &&
           text.front() <= '9';
}

Verdict verdictFor(std::string_view body, std::string_view programVersion) {
    if (body.size() > kMaxVersionFileBytes) return {true, kTooLargeText};
    const VersionFile file = readVersionFile(body);
    if (!file.version.empty() && !isDottedVersion(file.version)) return {false, kNotVersionFileText};
    return {false, updateMessage(file, programVersion)};
}

} // namespace updatecheck
