// Object identifiers as dotted text and as arcs: the one reader of arc numbers for the codec, the
// walk and the router stand-in. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snmpoid {

using Arcs = std::vector<std::uint32_t>;

// The largest sub-identifier: every arc is an unsigned 32-bit number.
inline constexpr std::uint64_t kMaxArc = 0xFFFFFFFFu;

// One arc: decimal digits only, at most kMaxArc; nullopt for anything else (empty, sign, letters).
std::optional<std::uint32_t> ParseArc(std::string_view text);

// Takes the text of the next arc (up to the next "." or the end) off the front of dotted.
std::string_view TakeArc(std::string_view& dotted);

// Dotted decimal (a leading dot allowed) to arcs; nullopt for empty text, an empty arc, or an arc that
// ParseArc refuses.
std::optional<Arcs> Parse(std::string_view dotted);

// Arcs to dotted decimal, no leading dot.
std::string Text(const Arcs& arcs);

} // namespace snmpoid
