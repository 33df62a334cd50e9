#include "net/core/SnmpWalkRows.h"

#include "net/core/Oid.h"

#include <cstdint>

namespace snmpwalk {

namespace {

// One arc of a dotted name in get-next order: its number; digits beyond 32 bits sort after every arc,
// anything else as 0.
std::uint64_t ArcOrder(std::string_view arc) {
    if (const std::optional<std::uint32_t> value = snmpoid::ParseArc(arc)) return *value;
    return !arc.empty() && arc.find_first_not_of("0123456789") == std::string_view::npos
               ? snmpoid::kMaxArc + 1
               : 0;
}

bool IsControl(unsigned char c) {
    return c <= 0x08 || (c >= 0x0A && c <= 0x1F);
}

} // namespace

bool InSubtree(std::string_view baseOid, std::string_view name) {
    if (baseOid.empty()) return true; // the root holds everything
    if (name.substr(0, baseOid.size()) != baseOid) return false;
    return name.size() == baseOid.size() || name[baseOid.size()] == '.';
}

int CompareOids(std::string_view a, std::string_view b) {
    bool aMore = !a.empty();
    bool bMore = !b.empty();
    while (aMore && bMore) {
        aMore = a.find('.') != std::string_view::npos;
        bMore = b.find('.') != std::string_view::npos;
        const std::uint64_t x = ArcOrder(snmpoid::TakeArc(a));
        const std::uint64_t y = ArcOrder(snmpoid::TakeArc(b));
        if (x != y) return x < y ? -1 : 1;
    }
    if (aMore == bMore) return 0;
    return aMore ? 1 : -1;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

std::string RowKey(std::string_view baseOid, std::string_view name) {
    const std::string marker = std::string(baseOid) + ".";
    const std::size_t at = name.find(marker);
    const std::string_view rest = Trim(at == std::string_view::npos ? name : name.substr(at + marker.size()));
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return {};
    return std::string(Trim(rest.substr(dot + 1)));
}

std::string HexIfControl(std::string_view value) {
    bool control = false;
    for (unsigned char c : value)
        control = control || IsControl(c);
    if (!control) return std::string(value);
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(value.size() * 2);
    for (unsigned char c : value) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 0x0F]);
    }
    return hex;
}

std::string Quote(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 2);
    out.push_back('"');
    for (char c : value) {
        out.push_back(c);
        if (c == '"') out.push_back('"');
    }
    out.push_back('"');
    return out;
}

void WalkRows::Add(std::string_view name, std::string_view value) {
    std::string key = RowKey(m_base, name);
    auto [it, isNew] = m_lineOfKey.try_emplace(std::move(key), m_lines.size());
    if (isNew) m_lines.emplace_back();
    std::string& line = m_lines[it->second];
    if (!line.empty()) line.push_back(',');
    line += Quote(HexIfControl(value));
}

} // namespace snmpwalk
