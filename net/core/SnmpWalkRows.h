// Building the text lines of a table walk from the names and values the agent returns. Pure: no
// sockets, so every rule can be checked on its own.
//
// Each value is keyed by the part of its name that follows the base and the next arc (the column):
// with a table entry as base the key is the instance, so one line holds one table row; with a table
// as base the key is "column.instance", so each value has a line of its own; with a group as base the
// group's scalars (all keyed "0") share one line. Lines keep the order in which their keys first
// appeared, and each holds its values in walk order as comma-separated quoted texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace snmpwalk {

// True when name lies in the subtree of baseOid: it equals baseOid or continues it after a "." (every
// name lies under the empty base, the root).
// (A plain text prefix test would wrongly keep 1.3.6.1.2.1.25.1 inside a walk of 1.3.6.1.2.1.2.)
bool InSubtree(std::string_view baseOid, std::string_view name);

// Compares two dotted names arc by arc as numbers (the order of get-next): negative, zero or positive.
// An arc that is not a number sorts as 0; a name that is a proper prefix of the other sorts first.
int CompareOids(std::string_view a, std::string_view b);

// Trims blanks and control bytes (everything up to 0x20) at both ends.
std::string_view Trim(std::string_view text);

// The row key of name within a walk of baseOid: the text after the first occurrence of baseOid + "."
// (the whole name when it does not occur), trimmed; then the text after its first ".", trimmed, or
// the empty text when there is no ".".
std::string RowKey(std::string_view baseOid, std::string_view name);

// A value holding any byte 0x00-0x08 or 0x0A-0x1F is replaced by its lowercase hexadecimal form (two
// digits per byte, no separators); any other value is returned unchanged (a tab stays text).
std::string HexIfControl(std::string_view value);

// The value enclosed in double quotes, every double quote inside it doubled.
std::string Quote(std::string_view value);

// The lines of one walk, filled value by value.
class WalkRows {
public:
    explicit WalkRows(std::string baseOid) : m_base(std::move(baseOid)), m_marker(m_base + ".") {}

    // Adds one value (as the client returned it) under the row of name.
    void Add(std::string_view name, std::string_view value);

    const std::vector<std::string>& Lines() const { return m_lines; }
    std::vector<std::string> TakeLines() { return std::move(m_lines); }

private:
    // The line of key; a new key gets a new, empty line.
    std::string& LineOf(std::string_view key);
    void GrowSlots();

    // Open addressing over the keys: a slot holds a key's hash and its line + 1 (0 while empty). The
    // keys lie end to end in m_keys, the key of line i ending at m_keyEnds[i].
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t linePlusOne = 0;
    };
    std::string m_base;
    std::string m_marker; // m_base + "."
    std::vector<Slot> m_slots;
    std::string m_keys;
    std::vector<std::size_t> m_keyEnds;
    std::vector<std::string> m_lines;
};

} // namespace snmpwalk
