// The SNMPv1 agent's answers (RFC 1157), without the socket: Router::answer.
//
// - Only a well-formed SNMPv1 message is answered: a datagram that is not exactly one BER message of the
//   RFC 1157 shape, another version, an unknown community, a set with the read-only community, or a PDU
//   that is not a request gets no answer at all (and counts in the snmp group as a real agent counts it).
// - get: every name must be an object; otherwise noSuchName with the index of the first bad binding and
//   the request's bindings echoed (a get carries NULL values, so the names come back with NULL).
// - get-next: the first object after each name in lexicographic order; noSuchName past the last one.
// - set: all bindings are checked before any is applied (all or nothing). A missing object gives
//   noSuchName; an object that exists but is not writable gives readOnly (or noSuchName when the router
//   is told to behave like agents that follow RFC 1157's procedures to the letter); a value of another
//   type, out of range or too long gives badValue.
// - A response that would not fit into maxMessageSize becomes tooBig, bindings echoed, index 0.
#include "net/core/SnmpBer.h"
#include "sim/RouterState.h"

#include <cstdint>

namespace sim {

namespace {

// Walks BER items to check that a datagram is exactly one SNMPv1-shaped message with definite lengths.
class Shape {
public:
    explicit Shape(std::string_view data) : m_data(data) {}

    bool message() {
        std::size_t end = 0;
        if (!header(0x30, m_data.size(), end) || end != m_data.size()) return false;
        std::size_t pduEnd = 0;
        if (!primitive(ber::Integer, end) || !primitive(ber::OctetString, end)) return false;
        const auto pduTag = peekTag();
        if (pduTag < 0xA0 || pduTag > 0xA4 || !header(static_cast<std::uint8_t>(pduTag), end, pduEnd) ||
            pduEnd != end)
            return false;
        if (pduTag == 0xA4) return true; // traps are dropped anyway; their inner shape does not matter
        for (int i = 0; i < 3; ++i) {
            if (!primitive(ber::Integer, pduEnd)) return false;
        }
        std::size_t listEnd = 0;
        if (!header(0x30, pduEnd, listEnd) || listEnd != pduEnd) return false;
        while (m_pos < listEnd) {
            std::size_t bindEnd = 0;
            if (!header(0x30, listEnd, bindEnd) || !primitive(ber::ObjectId, bindEnd)) return false;
            const int valueTag = peekTag();
            if (valueTag < 0 || (valueTag & 0x20) || !primitive(static_cast<std::uint8_t>(valueTag), bindEnd))
                return false;
            if (m_pos != bindEnd) return false;
        }
        return m_pos == listEnd;
    }

private:
    int peekTag() const { return m_pos < m_data.size() ? static_cast<std::uint8_t>(m_data[m_pos]) : -1; }

    // Reads tag and length; the content must end by `limit`. Leaves the position at the content.
    bool header(std::uint8_t tag, std::size_t limit, std::size_t& contentEnd) {
        if (m_pos >= limit || static_cast<std::uint8_t>(m_data[m_pos]) != tag) return false;
        ++m_pos;
        if (m_pos >= limit) return false;
        const auto first = static_cast<std::uint8_t>(m_data[m_pos]);
        if (first == 0x80 || first > 0x84) return false; // indefinite or absurd length
        std::uint64_t length = 0;
        if (!ber::ReadLength(m_data.substr(0, limit), m_pos, length) || length > limit - m_pos) return false;
        contentEnd = m_pos + static_cast<std::size_t>(length);
        return true;
    }

    bool primitive(std::uint8_t tag, std::size_t limit) {
        std::size_t end = 0;
        if (!header(tag, limit, end)) return false;
        const std::size_t len = end - m_pos;
        if (tag == ber::Integer && (len == 0 || len > 5)) return false;
        if (tag == ber::ObjectId && len == 0) return false;
        m_pos = end;
        return true;
    }

    std::string_view m_data;
    std::size_t m_pos = 0;
};

// snmp group counter columns (RFC 1213).
enum SnmpCounter : int {
    InPkts = 1,
    OutPkts = 2,
    InBadVersions = 3,
    InBadCommunityNames = 4,
    InBadCommunityUses = 5,
    InASNParseErrs = 6,
    InTotalReqVars = 13,
    InTotalSetVars = 14,
    InGetRequests = 15,
    InGetNexts = 16,
    InSetRequests = 17,
    InGetResponses = 18,
    InTraps = 19,
    OutTooBigs = 20,
    OutNoSuchNames = 21,
    OutBadValues = 22,
    OutGenErrs = 24,
    OutGetResponses = 28,
};

bool validIpText(const std::string& text) {
    int parts = 0;
    std::size_t i = 0;
    while (true) {
        std::size_t start = i;
        int v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3)
            v = v * 10 + (text[i++] - '0');
        if (i == start || v > 255) return false;
        ++parts;
        if (i == text.size()) return parts == 4;
        if (text[i] != '.' || parts == 4) return false;
        ++i;
    }
}

// Checks one set binding against its object; 0 when it may be applied.
int checkSet(const Router::State& s, const Cell* cell, const TSNMPMib& b) {
    if (!cell) return ber::NoSuchName;
    if (cell->access != Access::ReadWrite)
        return s.readOnlySetError == ReadOnlySetError::ReadOnly ? ber::ReadOnly : ber::NoSuchName;
    if (b.ValueType != cell->tag) return ber::BadValue;
    switch (cell->tag) {
    case ber::Integer: {
        const std::int64_t v = ber::TextToInt(b.Value);
        if (v < cell->minInt || v > cell->maxInt) return ber::BadValue;
        break;
    }
    case ber::OctetString:
        if (b.Value.size() > cell->maxLength) return ber::BadValue;
        break;
    case ber::IpAddress:
        if (!validIpText(b.Value)) return ber::BadValue;
        break;
    default:
        break;
    }
    return ber::NoError;
}

} // namespace

std::size_t Router::maxMessageSize() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->maxMessageSize;
}

void Router::setMaxMessageSize(std::size_t bytes) {
    std::lock_guard lock(m_state->mutex);
    m_state->maxMessageSize = std::max<std::size_t>(bytes, 64);
}

std::optional<std::string> Router::answer(std::string_view datagram) {
    std::lock_guard lock(m_state->mutex);
    State& s = *m_state;
    ++s.received;
    if (s.silent) return std::nullopt;
    s.bumpSnmp(InPkts);

    TSNMPRec req;
    if (!Shape(datagram).message() || !req.DecodeBuf(datagram)) {
        s.bumpSnmp(InASNParseErrs);
        return std::nullopt;
    }
    if (req.Version != 0) {
        s.bumpSnmp(InBadVersions);
        return std::nullopt;
    }

    Request record;
    record.pduType = req.PDUType;
    record.community = req.Community;
    for (const TSNMPMib& b : req.MIBList) {
        record.names.push_back(b.OID);
        s.logName(b.OID);
    }
    s.logRequest(std::move(record));

    const bool writer = req.Community == s.writeCommunity;
    const bool reader = writer || req.Community == s.readCommunity;
    if (!reader) {
        s.bumpSnmp(InBadCommunityNames);
        return std::nullopt;
    }
    switch (req.PDUType) {
    case ber::GetRequest:
        s.bumpSnmp(InGetRequests);
        break;
    case ber::GetNextRequest:
        s.bumpSnmp(InGetNexts);
        break;
    case ber::SetRequest:
        s.bumpSnmp(InSetRequests);
        if (!writer) {
            s.bumpSnmp(InBadCommunityUses);
            return std::nullopt;
        }
        break;
    case ber::GetResponse:
        s.bumpSnmp(InGetResponses);
        return std::nullopt;
    case ber::Trap:
        s.bumpSnmp(InTraps);
        return std::nullopt;
    default:
        s.bumpSnmp(InASNParseErrs);
        return std::nullopt;
    }

    TSNMPRec resp;
    resp.Version = 0;
    resp.Community = req.Community;
    resp.PDUType = ber::GetResponse;
    resp.ID = req.ID;
    auto fail = [&](int status, int index) {
        resp.ErrorStatus = status;
        resp.ErrorIndex = index;
        resp.MIBList = req.MIBList;
    };

    if (req.PDUType == ber::SetRequest) {
        std::vector<std::pair<Oid, const TSNMPMib*>> apply;
        for (std::size_t i = 0; i < req.MIBList.size() && resp.ErrorStatus == 0; ++i) {
            const TSNMPMib& b = req.MIBList[i];
            const auto oid = parseOid(b.OID);
            const Cell* cell = oid ? s.mib.find(*oid) : nullptr;
            if (const int e = checkSet(s, cell, b))
                fail(e, static_cast<int>(i + 1));
            else
                apply.emplace_back(*oid, &b);
        }
        if (resp.ErrorStatus == 0) {
            for (const auto& [oid, b] : apply) {
                const std::string value =
                    b->ValueType == ber::Integer ? std::to_string(ber::TextToInt(b->Value)) : b->Value;
                s.mib.put(oid, b->ValueType, value);
                s.afterSet(oid);
                resp.MIBAdd(b->OID, value, b->ValueType);
            }
            s.bumpSnmp(InTotalSetVars, static_cast<std::uint32_t>(apply.size()));
        }
    } else {
        for (std::size_t i = 0; i < req.MIBList.size() && resp.ErrorStatus == 0; ++i) {
            const TSNMPMib& b = req.MIBList[i];
            auto oid = parseOid(b.OID);
            if (!oid && req.PDUType == ber::GetNextRequest && b.OID.empty())
                oid = Oid{}; // an empty name comes before every object
            const Oid* name = nullptr;
            const Cell* cell = nullptr;
            if (oid) {
                name =
                    req.PDUType == ber::GetRequest ? (s.mib.find(*oid) ? &*oid : nullptr) : s.mib.next(*oid);
                cell = name ? s.mib.find(*name) : nullptr;
            }
            if (!cell)
                fail(ber::NoSuchName, static_cast<int>(i + 1));
            else
                resp.MIBAdd(req.PDUType == ber::GetRequest ? b.OID : oidText(*name), s.mib.valueText(*cell),
                            cell->tag);
        }
        if (resp.ErrorStatus == 0) s.bumpSnmp(InTotalReqVars, static_cast<std::uint32_t>(req.MIBList.size()));
    }

    std::string out = resp.EncodeBuf();
    if (out.size() > s.maxMessageSize) {
        fail(ber::TooBig, 0);
        out = resp.EncodeBuf();
        s.bumpSnmp(OutTooBigs);
    } else if (resp.ErrorStatus == ber::NoSuchName) {
        s.bumpSnmp(OutNoSuchNames);
    } else if (resp.ErrorStatus == ber::BadValue) {
        s.bumpSnmp(OutBadValues);
    }
    s.bumpSnmp(OutGetResponses);
    s.bumpSnmp(OutPkts);
    ++s.answered;
    s.requests.back().answered = true;
    return out;
}

} // namespace sim
