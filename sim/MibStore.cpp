#include "sim/MibStore.h"

#include "net/core/SnmpBer.h"

#include <chrono>
#include <cmath>

namespace sim {

namespace {
constexpr double TwoTo32 = 4294967296.0;

std::uint32_t parseUnsigned(const std::string& text) {
    // Decimal text; anything else (or a value above 32 bits) counts modulo 2^32 as far as it goes.
    std::uint64_t v = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        v = (v * 10 + static_cast<std::uint64_t>(text[i] - '0')) & 0xFFFFFFFFFFull;
    return static_cast<std::uint32_t>(v & 0xFFFFFFFFu);
}
} // namespace

bool isUnsignedTag(int tag) {
    return tag == ber::Counter || tag == ber::Gauge || tag == ber::TimeTicks;
}

MibStore::MibStore() = default;

double MibStore::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count() + m_offset;
}

void MibStore::advance(double seconds) {
    if (seconds > 0) m_offset += seconds;
}

void MibStore::put(const Oid& oid, int tag, const std::string& value) {
    auto it = m_cells.find(oid);
    if (it == m_cells.end()) {
        put(oid, tag, value, Access::ReadOnly);
        return;
    }
    Cell& c = it->second;
    c.tag = tag;
    c.text = value;
    if (isUnsignedTag(tag)) {
        c.base = parseUnsigned(value);
        c.since = now();
    } else {
        c.rate = 0;
    }
}

void MibStore::put(const Oid& oid, int tag, const std::string& value, Access access) {
    Cell c;
    c.tag = tag;
    c.text = value;
    c.access = access;
    if (isUnsignedTag(tag)) {
        c.base = parseUnsigned(value);
        c.since = now();
    }
    m_cells[oid] = c;
}

bool MibStore::erase(const Oid& oid) {
    return m_cells.erase(oid) > 0;
}

std::size_t MibStore::eraseSubtree(const Oid& prefix) {
    std::size_t n = 0;
    auto it = m_cells.lower_bound(prefix);
    while (it != m_cells.end() && it->first.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), it->first.begin())) {
        it = m_cells.erase(it);
        ++n;
    }
    return n;
}

Cell* MibStore::find(const Oid& oid) {
    auto it = m_cells.find(oid);
    return it == m_cells.end() ? nullptr : &it->second;
}

const Cell* MibStore::find(const Oid& oid) const {
    auto it = m_cells.find(oid);
    return it == m_cells.end() ? nullptr : &it->second;
}

const Oid* MibStore::next(const Oid& oid) const {
    auto it = m_cells.upper_bound(oid);
    return it == m_cells.end() ? nullptr : &it->first;
}

std::uint32_t MibStore::numberNow(const Cell& cell) const {
    double v = cell.base;
    if (cell.rate != 0) v += cell.rate * (now() - cell.since);
    if (v < 0) v = 0;
    if (cell.tag == ber::Gauge) return v >= TwoTo32 - 1 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(v);
    v = std::fmod(std::floor(v), TwoTo32);
    return static_cast<std::uint32_t>(v);
}

std::string MibStore::valueText(const Cell& cell) const {
    if (isUnsignedTag(cell.tag)) return std::to_string(numberNow(cell));
    return cell.text;
}

void MibStore::setNumber(Cell& cell, double value) {
    cell.base = value;
    cell.since = now();
}

void MibStore::setRate(Cell& cell, double perSecond) {
    if (!isUnsignedTag(cell.tag)) return;
    // Keep the fraction accumulated so far so that slow rates still move.
    double v = cell.base + cell.rate * (now() - cell.since);
    if (cell.tag == ber::Gauge)
        v = std::min(v, TwoTo32 - 1);
    else
        v = std::fmod(v, TwoTo32);
    cell.base = v < 0 ? 0 : v;
    cell.since = now();
    cell.rate = perSecond;
}

} // namespace sim
