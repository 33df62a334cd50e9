// The router's MIB: objects in lexicographic OID order, each with a BER tag and a value, an access
// and set limits. Counter, Gauge and TimeTicks objects may grow at a rate with the store's clock,
// so sysUpTime and the traffic counters advance by themselves. Not thread-safe: Router guards it.
#pragma once

#include "sim/RouterSim.h"

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// True for the tags whose value is an unsigned 32-bit number (Counter, Gauge, TimeTicks).
bool isUnsignedTag(int tag);

struct Cell {
    int tag = 0;
    std::string text; // value of non-numeric tags (Integer and the rest keep their text too)
    Access access = Access::ReadOnly;
    // Unsigned tags: value = base + rate * (now - since), wrapping modulo 2^32 (Gauge stops at the top).
    double base = 0;
    double since = 0;
    double rate = 0;
    // Limits checked by sets.
    std::int64_t minInt = std::numeric_limits<std::int64_t>::min();
    std::int64_t maxInt = std::numeric_limits<std::int64_t>::max();
    std::size_t maxLength = std::numeric_limits<std::size_t>::max();
};

class MibStore {
public:
    MibStore();

    // The store's clock in seconds: a steady clock plus whatever advance() added.
    double now() const;
    void advance(double seconds);

    // Creates or replaces the value; an existing object keeps access, limits and rate.
    void put(const Oid& oid, int tag, const std::string& value);
    void put(const Oid& oid, int tag, const std::string& value, Access access);
    bool erase(const Oid& oid);
    std::size_t eraseSubtree(const Oid& prefix);
    Cell* find(const Oid& oid);
    const Cell* find(const Oid& oid) const;
    // First object strictly after oid.
    const Oid* next(const Oid& oid) const;
    // Value text now (numbers advanced to now).
    std::string valueText(const Cell& cell) const;
    std::uint32_t numberNow(const Cell& cell) const;
    // Unsigned objects only: sets the value now, or the growth rate (value so far kept).
    void setNumber(Cell& cell, double value);
    void setRate(Cell& cell, double perSecond);

    const std::map<Oid, Cell>& cells() const { return m_cells; }
    std::map<Oid, Cell>& cells() { return m_cells; }

private:
    std::map<Oid, Cell> m_cells;
    double m_offset = 0;
};

} // namespace sim
