// Walk lines: row keys, the value rules and the get-next order of names.
#include "net/core/SnmpWalkRows.h"

#include "net/core/Oid.h"

#include <algorithm>
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
    // One pass over each name: each arc ends at the next "." (whether one follows tells whether more
    // arcs come) or at the end.
    std::size_t i = 0;
    std::size_t j = 0;
    bool aMore = !a.empty();
    bool bMore = !b.empty();
    while (aMore && bMore) {
        const std::size_t aEnd = std::min(a.find('.', i), a.size());
        const std::size_t bEnd = std::min(b.find('.', j), b.size());
        const std::uint64_t x = ArcOrder(a.substr(i, aEnd - i));
        const std::uint64_t y = ArcOrder(b.substr(j, bEnd - j));
        if (x != y) return x < y ? -1 : 1;
        aMore = aEnd < a.size();
        bMore = bEnd < b.size();
        i = aEnd + 1;
        j = bEnd + 1;
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

namespace {

// RowKey with the marker (baseOid + ".") made once, as a view into name.
std::string_view KeyAfter(std::string_view marker, std::string_view name) {
    const std::size_t at = name.find(marker);
    const std::string_view rest = Trim(at == std::string_view::npos ? name : name.substr(at + marker.size()));
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return {};
    return Trim(rest.substr(dot + 1));
}

bool HasControl(std::string_view value) {
    for (unsigned char c : value)
        if (IsControl(c)) return true;
    return false;
}

// Quote(HexIfControl(value)) appended to out.
void AppendQuoted(std::string& out, std::string_view value) {
    out.push_back('"');
    if (HasControl(value)) {
        static const char digits[] = "0123456789abcdef";
        for (unsigned char c : value) {
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 0x0F]);
        }
    } else {
        for (char c : value) {
            out.push_back(c);
            if (c == '"') out.push_back('"');
        }
    }
    out.push_back('"');
}

} // namespace

std::string RowKey(std::string_view baseOid, std::string_view name) {
    return std::string(KeyAfter(std::string(baseOid) + ".", name));
}

std::string HexIfControl(std::string_view value) {
    if (!HasControl(value)) return std::string(value);
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

namespace {

// FNV-1a: keys are short runs of digits and dots.
std::uint32_t KeyHash(std::string_view key) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : key)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

} // namespace

void WalkRows::Add(std::string_view name, std::string_view value) {
    std::string& line = LineOf(KeyAfter(m_marker, name));
    if (!line.empty()) line.push_back(',');
    AppendQuoted(line, value);
}

std::string& WalkRows::LineOf(std::string_view key) {
    // At most half the slots in use, so that every probe run ends at an empty slot soon.
    if (m_slots.size() < 2 * (m_lines.size() + 1)) GrowSlots();
    const std::uint32_t hash = KeyHash(key);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.linePlusOne == 0) {
            slot = Slot{hash, static_cast<std::uint32_t>(m_lines.size() + 1)};
            m_keys.append(key);
            m_keyEnds.push_back(m_keys.size());
            return m_lines.emplace_back();
        }
        if (slot.hash != hash) continue;
        const std::size_t line = slot.linePlusOne - 1;
        const std::size_t start = line == 0 ? 0 : m_keyEnds[line - 1];
        if (std::string_view(m_keys).substr(start, m_keyEnds[line] - start) == key) return m_lines[line];
    }
}

void WalkRows::GrowSlots() {
    std::vector<Slot> slots(std::max<std::size_t>(64, m_slots.size() * 2));
    const std::size_t mask = slots.size() - 1;
    for (const Slot& slot : m_slots) {
        if (slot.linePlusOne == 0) continue;
        std::size_t i = slot.hash & mask;
        while (slots[i].linePlusOne != 0)
            i = (i + 1) & mask;
        slots[i] = slot;
    }
    m_slots = std::move(slots);
}

} // namespace snmpwalk
