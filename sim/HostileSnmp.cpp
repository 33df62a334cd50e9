// The SNMP agent's hostile answers: each case turns the agent's correct answer into the datagrams
// a broken or malicious agent would send instead.
#include "net/core/SnmpBer.h"
#include "sim/RouterState.h"

#include <functional>

namespace sim {

namespace {

// Bytes 0x80 to 0xFF, repeating, n of them.
std::string highBitBytes(std::size_t n) {
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>(0x80 | (i * 37 % 128));
    return out;
}

// The outer SEQUENCE's length made 16 bytes longer than the message carries.
std::string longerThanItIs(std::string reply) {
    if (reply.size() < 4) return reply;
    const auto first = static_cast<std::uint8_t>(reply[1]);
    const std::size_t at = first < 0x80 ? 1 : 1 + (first & 0x7f); // last byte of the length field
    if (at >= reply.size()) return reply;
    reply[at] = static_cast<char>(static_cast<std::uint8_t>(reply[at]) + 16);
    return reply;
}

std::string reencoded(const std::string& reply, const std::function<void(TSNMPRec&)>& change) {
    TSNMPRec rec;
    if (!rec.DecodeBuf(reply)) return reply;
    change(rec);
    return rec.EncodeBuf();
}

} // namespace

void Router::setHostile(Service service, const std::string& caseName) {
    std::lock_guard lock(m_state->mutex);
    m_state->hostile[service] = caseName;
    if (service == Service::Snmp) m_state->hostileAnswers = 0;
}

std::string Router::hostile(Service service) const {
    std::lock_guard lock(m_state->mutex);
    return m_state->hostile[service];
}

std::vector<std::string> Router::hostileSnmpReplies(const std::string& reply) {
    std::string how;
    int answered = 0;
    {
        std::lock_guard lock(m_state->mutex);
        how = m_state->hostile[Service::Snmp];
        answered = m_state->hostileAnswers++;
    }
    if (how.empty()) return {reply};
    if (how == "truncated") return {reply.substr(0, reply.size() / 2)};
    if (how == "wronglength") return {longerThanItIs(reply)};
    if (how == "wrongid") return {reencoded(reply, [](TSNMPRec& r) { r.ID += 1; })};
    if (how == "wrongpdu") return {reencoded(reply, [](TSNMPRec& r) { r.PDUType = ber::GetRequest; })};
    if (how == "highbit")
        return {reencoded(reply, [](TSNMPRec& r) {
            for (TSNMPMib& b : r.MIBList) {
                b.ValueType = ber::OctetString;
                b.Value = highBitBytes(24);
            }
        })};
    if (how == "huge")
        return {reencoded(reply, [](TSNMPRec& r) {
            if (r.MIBList.empty()) return;
            r.MIBList.resize(1);
            r.MIBList[0].ValueType = ber::OctetString;
            r.MIBList[0].Value = std::string(60000, 'A');
        })};
    if (how == "repeat") return std::vector<std::string>(50, reply);
    if (how == "garbage") return {highBitBytes(reply.size())};
    if (how == "stall") return answered < 2 ? std::vector<std::string>{reply} : std::vector<std::string>{};
    return {reply};
}

} // namespace sim
