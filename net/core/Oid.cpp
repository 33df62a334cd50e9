#include "net/core/Oid.h"

namespace snmpoid {

std::optional<std::uint32_t> ParseArc(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kMaxArc) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::string_view TakeArc(std::string_view& dotted) {
    const std::size_t dot = dotted.find('.');
    const std::string_view arc = dotted.substr(0, dot);
    dotted = dot == std::string_view::npos ? std::string_view{} : dotted.substr(dot + 1);
    return arc;
}

std::optional<Arcs> Parse(std::string_view dotted) {
    if (!dotted.empty() && dotted.front() == '.') dotted.remove_prefix(1);
    if (dotted.empty()) return std::nullopt;
    Arcs arcs;
    while (true) {
        const bool last = dotted.find('.') == std::string_view::npos;
        const std::optional<std::uint32_t> arc = ParseArc(TakeArc(dotted));
        if (!arc) return std::nullopt;
        arcs.push_back(*arc);
        if (last) return arcs;
    }
}

std::string Text(const Arcs& arcs) {
    std::string text;
    for (std::size_t i = 0; i < arcs.size(); ++i) {
        if (i) text += '.';
        text += std::to_string(arcs[i]);
    }
    return text;
}

} // namespace snmpoid
