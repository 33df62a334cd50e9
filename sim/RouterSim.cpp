// Router: the public, locked face of the router's state.
#include "sim/RouterSim.h"

#include "net/core/SnmpBer.h"
#include "sim/RouterState.h"

#include <stdexcept>

namespace sim {

std::string ifOid(int column, int ifIndex) {
    return std::string(mib::ifEntry) + "." + std::to_string(column) + "." + std::to_string(ifIndex);
}

// ---------------------------------------------------------------------------------------------------------
// State helpers.

Oid Router::State::toOid(const std::string& text) {
    auto oid = parseOid(text);
    if (!oid) throw std::invalid_argument("not an object identifier: \"" + text + "\"");
    return *oid;
}

Oid Router::State::child(const Oid& base, std::initializer_list<std::uint32_t> arcs) {
    Oid oid = base;
    oid.insert(oid.end(), arcs.begin(), arcs.end());
    return oid;
}

Oid Router::State::child(const std::string& base, const std::string& suffix) {
    return toOid(suffix.empty() ? base : base + "." + suffix);
}

void Router::State::put(const Oid& oid, int tag, const std::string& value, Access access) {
    mib.put(oid, tag, value, access);
}

void Router::State::putInt(const Oid& oid, std::int64_t v, Access access) {
    mib.put(oid, ber::Integer, std::to_string(v), access);
}

void Router::State::putText(const Oid& oid, const std::string& v, Access access) {
    mib.put(oid, ber::OctetString, v, access);
}

void Router::State::putIp(const Oid& oid, const std::string& v, Access access) {
    mib.put(oid, ber::IpAddress, v, access);
}

void Router::State::putCounter(const Oid& oid, double start, double perSecond, int tag) {
    mib.put(oid, tag, "0", Access::ReadOnly);
    Cell* c = mib.find(oid);
    mib.setNumber(*c, start);
    c->rate = perSecond;
}

void Router::State::bump(const Oid& oid, std::uint32_t by) {
    Cell* c = mib.find(oid);
    if (!c || !isUnsignedTag(c->tag)) return;
    mib.setRate(*c, c->rate); // folds the growth so far into the base
    c->base += by;
}

void Router::State::bumpSnmp(int column, std::uint32_t by) {
    static const Oid snmp = toOid(mib::snmpGroup);
    bump(child(snmp, {static_cast<std::uint32_t>(column), 0}), by);
}

std::uint32_t Router::State::uptime() const {
    static const Oid oid = toOid(mib::sysUpTime);
    const Cell* c = mib.find(oid);
    return c && isUnsignedTag(c->tag) ? mib.numberNow(*c) : 0;
}

void Router::State::checkIfIndex(int ifIndex) const {
    if (ifIndex < 1 || ifIndex > static_cast<int>(interfaces.size()))
        throw std::out_of_range("no interface " + std::to_string(ifIndex));
}

void Router::State::applyTraffic(int ifIndex) {
    const Interface& i = interfaces[static_cast<std::size_t>(ifIndex - 1)];
    const Cell* oper = mib.find(toOid(ifOid(IfOperStatus, ifIndex)));
    const bool up = oper && ber::TextToInt(oper->text) == 1;
    const double in = up ? i.inBytesPerSec : 0;
    const double out = up ? i.outBytesPerSec : 0;
    const double pktIn = i.bytesPerPacket > 0 ? in / i.bytesPerPacket : 0;
    const double pktOut = i.bytesPerPacket > 0 ? out / i.bytesPerPacket : 0;
    auto rate = [&](int column, double r) {
        if (Cell* c = mib.find(toOid(ifOid(column, ifIndex)))) mib.setRate(*c, r);
    };
    rate(IfInOctets, in);
    rate(IfOutOctets, out);
    rate(IfInUcastPkts, pktIn * 0.97);
    rate(IfInNUcastPkts, pktIn * 0.03);
    rate(IfOutUcastPkts, pktOut * 0.98);
    rate(IfOutNUcastPkts, pktOut * 0.02);
    updateGroupRates();
}

void Router::State::updateGroupRates() {
    double pktIn = 0, pktOut = 0;
    for (std::size_t k = 0; k < interfaces.size(); ++k) {
        const Cell* oper = mib.find(toOid(ifOid(IfOperStatus, static_cast<int>(k + 1))));
        if (!oper || ber::TextToInt(oper->text) != 1 || interfaces[k].bytesPerPacket <= 0) continue;
        pktIn += interfaces[k].inBytesPerSec / interfaces[k].bytesPerPacket;
        pktOut += interfaces[k].outBytesPerSec / interfaces[k].bytesPerPacket;
    }
    auto rate = [&](const char* oid, double r) {
        if (Cell* c = mib.find(toOid(oid))) mib.setRate(*c, r);
    };
    // The router forwards most of what it receives; a little is for itself (DNS relay, telnet, SNMP).
    rate(mib::ipInReceives, pktIn);
    rate(mib::ipForwDatagrams, pktIn * 0.92);
    rate(mib::ipInDelivers, pktIn * 0.08);
    rate(mib::ipOutRequests, pktOut * 0.06);
    rate(mib::ipInDiscards, pktIn * 0.0005);
    rate(mib::tcpInSegs, pktIn * 0.03);
    rate(mib::tcpOutSegs, pktOut * 0.03);
    rate(mib::tcpRetransSegs, pktOut * 0.0003);
    rate(mib::udpInDatagrams, pktIn * 0.05);
    rate(mib::udpOutDatagrams, pktOut * 0.05);
    rate(mib::udpNoPorts, pktIn * 0.001);
    rate(mib::icmpInMsgs, pktIn * 0.002);
    rate(mib::icmpInEchos, pktIn * 0.001);
    rate(mib::icmpOutMsgs, pktIn * 0.002);
    rate(mib::icmpOutEchoReps, pktIn * 0.001);
}

void Router::State::setOper(int ifIndex, int status) {
    const Oid oper = toOid(ifOid(IfOperStatus, ifIndex));
    const Cell* old = mib.find(oper);
    const bool changed = !old || ber::TextToInt(old->text) != status;
    putInt(oper, status);
    if (changed) mib.put(toOid(ifOid(IfLastChange, ifIndex)), ber::TimeTicks, std::to_string(uptime()));
    applyTraffic(ifIndex);
}

void Router::State::afterSet(const Oid& oid) {
    // ifAdminStatus.i: the interface goes down when told to and comes back up with it.
    static const Oid entry = toOid(mib::ifEntry);
    if (oid.size() == entry.size() + 2 && std::equal(entry.begin(), entry.end(), oid.begin()) &&
        oid[entry.size()] == IfAdminStatus) {
        const int ifIndex = static_cast<int>(oid.back());
        if (ifIndex >= 1 && ifIndex <= static_cast<int>(interfaces.size())) {
            const auto admin = ber::TextToInt(mib.find(oid)->text);
            setOper(ifIndex, admin == 1 ? 1 : admin == 3 ? 3 : 2);
        }
    }
}

void Router::State::logName(const std::string& name) {
    requestLog.push_back(name);
    requestLogBytes += name.size();
    while (requestLog.size() > MaxLogged || requestLogBytes > MaxLoggedBytes) {
        requestLogBytes -= requestLog.front().size();
        requestLog.pop_front();
    }
}

namespace {
std::size_t requestBytes(const Router::Request& r) {
    std::size_t n = r.community.size() + sizeof r;
    for (const std::string& name : r.names)
        n += name.size() + sizeof name;
    return n;
}
} // namespace

void Router::State::logRequest(Request request) {
    requestsBytes += requestBytes(request);
    requests.push_back(std::move(request));
    while (requests.size() > 1 && (requests.size() > MaxLogged || requestsBytes > MaxLoggedBytes)) {
        requestsBytes -= requestBytes(requests.front());
        requests.pop_front();
    }
}

void Router::State::updateTcpCurrEstab() {
    static const Oid column = toOid(std::string(mib::tcpConnEntry) + ".1");
    std::uint32_t n = 0;
    for (auto it = mib.cells().lower_bound(column); it != mib.cells().end(); ++it) {
        if (it->first.size() < column.size() || !std::equal(column.begin(), column.end(), it->first.begin()))
            break;
        const auto state = ber::TextToInt(it->second.text);
        if (state == 5 || state == 8) // established, closeWait
            ++n;
    }
    if (Cell* c = mib.find(toOid(mib::tcpCurrEstab))) mib.setNumber(*c, n);
}

// ---------------------------------------------------------------------------------------------------------
// Router.

Router::Router() : m_state(std::make_unique<State>()) {
    m_state->buildDefaults();
}

Router::~Router() = default;

void Router::set(const std::string& oid, int tag, const std::string& value) {
    const Oid o = State::toOid(oid);
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(o, tag, value);
}

void Router::define(const std::string& oid, int tag, const std::string& value, Access access) {
    const Oid o = State::toOid(oid);
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(o, tag, value, access);
}

void Router::setAccess(const std::string& oid, Access access) {
    const Oid o = State::toOid(oid);
    std::lock_guard lock(m_state->mutex);
    if (Cell* c = m_state->mib.find(o)) c->access = access;
}

void Router::erase(const std::string& oid) {
    const Oid o = State::toOid(oid);
    std::lock_guard lock(m_state->mutex);
    m_state->mib.erase(o);
}

std::size_t Router::eraseSubtree(const std::string& oid) {
    const Oid o = State::toOid(oid);
    std::lock_guard lock(m_state->mutex);
    return m_state->mib.eraseSubtree(o);
}

std::optional<std::pair<int, std::string>> Router::get(const std::string& oid) const {
    const auto o = parseOid(oid);
    if (!o) return std::nullopt;
    std::lock_guard lock(m_state->mutex);
    const Cell* c = m_state->mib.find(*o);
    if (!c) return std::nullopt;
    return std::make_pair(c->tag, m_state->mib.valueText(*c));
}

std::optional<std::string> Router::nextOid(const std::string& oid) const {
    const auto o = parseOid(oid);
    if (!o) return std::nullopt;
    std::lock_guard lock(m_state->mutex);
    const Oid* n = m_state->mib.next(*o);
    if (!n) return std::nullopt;
    return oidText(*n);
}

std::vector<Router::Binding> Router::walk(const std::string& subtree) const {
    const Oid prefix = State::toOid(subtree);
    std::lock_guard lock(m_state->mutex);
    std::vector<Binding> out;
    for (auto it = m_state->mib.cells().lower_bound(prefix); it != m_state->mib.cells().end(); ++it) {
        if (it->first.size() < prefix.size() || !std::equal(prefix.begin(), prefix.end(), it->first.begin()))
            break;
        out.push_back({oidText(it->first), it->second.tag, m_state->mib.valueText(it->second)});
    }
    return out;
}

bool Router::exists(const std::string& oid) const {
    const auto o = parseOid(oid);
    std::lock_guard lock(m_state->mutex);
    return o && m_state->mib.find(*o);
}

bool Router::isWritable(const std::string& oid) const {
    const auto o = parseOid(oid);
    std::lock_guard lock(m_state->mutex);
    const Cell* c = o ? m_state->mib.find(*o) : nullptr;
    return c && c->access == Access::ReadWrite;
}

void Router::setCommunities(const std::string& readOnly, const std::string& readWrite) {
    std::lock_guard lock(m_state->mutex);
    m_state->readCommunity = readOnly;
    m_state->writeCommunity = readWrite;
}

std::string Router::readCommunity() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->readCommunity;
}

std::string Router::writeCommunity() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->writeCommunity;
}

void Router::setReadOnlySetError(ReadOnlySetError e) {
    std::lock_guard lock(m_state->mutex);
    m_state->readOnlySetError = e;
}

int Router::addInterface(const std::string& descr, int ifType, int mtu, std::uint32_t speed,
                         const std::string& physAddress) {
    std::lock_guard lock(m_state->mutex);
    return m_state->addInterface(descr, ifType, mtu, speed, physAddress, m_state->uptime(), 0, 0);
}

int Router::interfaceCount() const {
    std::lock_guard lock(m_state->mutex);
    return static_cast<int>(m_state->interfaces.size());
}

void Router::setIfDescr(int ifIndex, const std::string& descr) {
    std::lock_guard lock(m_state->mutex);
    m_state->checkIfIndex(ifIndex);
    m_state->putText(State::toOid(ifOid(IfDescr, ifIndex)), descr);
}

void Router::setOperStatus(int ifIndex, int status) {
    std::lock_guard lock(m_state->mutex);
    m_state->checkIfIndex(ifIndex);
    m_state->setOper(ifIndex, status);
}

void Router::setPppLink(bool up) {
    std::lock_guard lock(m_state->mutex);
    for (int i : {PppIf, WanIf}) {
        if (i <= static_cast<int>(m_state->interfaces.size())) m_state->setOper(i, up ? 1 : 2);
    }
}

int Router::operStatus(int ifIndex) const {
    std::lock_guard lock(m_state->mutex);
    m_state->checkIfIndex(ifIndex);
    const Cell* c = m_state->mib.find(State::toOid(ifOid(IfOperStatus, ifIndex)));
    return c ? static_cast<int>(ber::TextToInt(c->text)) : 0;
}

void Router::setOctets(int ifIndex, std::uint32_t in, std::uint32_t out) {
    std::lock_guard lock(m_state->mutex);
    m_state->checkIfIndex(ifIndex);
    if (Cell* c = m_state->mib.find(State::toOid(ifOid(IfInOctets, ifIndex)))) m_state->mib.setNumber(*c, in);
    if (Cell* c = m_state->mib.find(State::toOid(ifOid(IfOutOctets, ifIndex))))
        m_state->mib.setNumber(*c, out);
}

void Router::setTraffic(int ifIndex, double inBytesPerSec, double outBytesPerSec) {
    std::lock_guard lock(m_state->mutex);
    m_state->checkIfIndex(ifIndex);
    auto& i = m_state->interfaces[static_cast<std::size_t>(ifIndex - 1)];
    i.inBytesPerSec = std::max(0.0, inBytesPerSec);
    i.outBytesPerSec = std::max(0.0, outBytesPerSec);
    m_state->applyTraffic(ifIndex);
}

void Router::setUptime(std::uint32_t ticks) {
    std::lock_guard lock(m_state->mutex);
    const Oid oid = State::toOid(mib::sysUpTime);
    m_state->putCounter(oid, ticks, 100, ber::TimeTicks);
}

std::uint32_t Router::uptime() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->uptime();
}

void Router::advance(double seconds) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.advance(seconds);
}

void Router::restart() {
    std::lock_guard lock(m_state->mutex);
    MibStore& mib = m_state->mib;
    for (auto& [oid, cell] : mib.cells()) {
        if (cell.tag == ber::Counter) mib.setNumber(cell, 0);
    }
    m_state->putCounter(State::toOid(mib::sysUpTime), 0, 100, ber::TimeTicks);
    for (int i = 1; i <= static_cast<int>(m_state->interfaces.size()); ++i) {
        const Oid last = State::toOid(ifOid(IfLastChange, i));
        if (mib.find(last)) mib.put(last, ber::TimeTicks, "0");
    }
}

void Router::setSilent(bool silent) {
    std::lock_guard lock(m_state->mutex);
    m_state->silent = silent;
}

bool Router::silent() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->silent;
}

void Router::setResponseDelayMs(int ms) {
    std::lock_guard lock(m_state->mutex);
    m_state->responseDelayMs = std::max(0, ms);
}

int Router::responseDelayMs() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->responseDelayMs;
}

void Router::setAdslMode(int mode) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(State::toOid(mib::adslMode), ber::Integer, std::to_string(mode));
}

void Router::setAdslStatus(int status) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(State::toOid(mib::adslStatus), ber::Integer, std::to_string(status));
}

void Router::setAdslRates(const std::string& upKbps, const std::string& downKbps) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(State::toOid(mib::adslUpRate), ber::OctetString, m_state->quoted(upKbps));
    m_state->mib.put(State::toOid(mib::adslDownRate), ber::OctetString, m_state->quoted(downKbps));
}

void Router::setAdslAttenuation(const std::string& up, const std::string& down) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(State::toOid(mib::adslUpAttenuation), ber::OctetString, up);
    m_state->mib.put(State::toOid(mib::adslDownAttenuation), ber::OctetString, down);
}

void Router::setAdslSnr(const std::string& up, const std::string& down) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(State::toOid(mib::adslUpSnr), ber::OctetString, up);
    m_state->mib.put(State::toOid(mib::adslDownSnr), ber::OctetString, down);
}

void Router::setAdslOutputPower(const std::string& up, const std::string& down) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.put(State::toOid(mib::adslUpPower), ber::OctetString, up);
    m_state->mib.put(State::toOid(mib::adslDownPower), ber::OctetString, down);
}

void Router::setQuotedTexts(bool quoted) {
    std::lock_guard lock(m_state->mutex);
    m_state->quotedTexts = quoted;
}

void Router::makeLargeRouteTable(int n) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.eraseSubtree(State::toOid(mib::ipRouteTable));
    if (n <= 0) return;
    // Default route, the LAN, the ISP's peer, then host routes pushed by the ISP.
    m_state->addRoute("0.0.0.0", WanIf, 1, "203.0.113.1", 4, 3, 0, "0.0.0.0");
    int made = 1;
    if (made < n) {
        m_state->addRoute("192.168.0.0", LanIf, 0, "192.168.0.1", 3, 2, 0, "255.255.255.0");
        ++made;
    }
    for (int k = 0; made < n; ++k, ++made) {
        // 10.b.c.0/24 networks via the WAN, in a stable order that does not match the walk order.
        const int b = (k * 37) % 250 + 1;
        const int c = k / 250;
        m_state->addRoute("10." + std::to_string(b) + "." + std::to_string(c) + ".0", WanIf, 2 + k % 5,
                          "203.0.113.1", 4, 8, 30 + k % 600, "255.255.255.0");
    }
}

void Router::makeLargeTcpTable(int n) {
    std::lock_guard lock(m_state->mutex);
    m_state->mib.eraseSubtree(State::toOid(mib::tcpConnTable));
    static const int states[] = {5, 5, 5, 11, 5, 8, 4, 5, 9, 5}; // mostly established
    for (int k = 0; k < n; ++k) {
        if (k < 2) {
            m_state->addTcp("0.0.0.0", k == 0 ? 23 : 80, "0.0.0.0", 0, 2); // listeners
            continue;
        }
        const int host = 100 + (k % 50);
        const int port = 1024 + k;
        m_state->addTcp("192.168.0.1", k % 3 ? 80 : 23, "192.168.0." + std::to_string(host), port,
                        states[k % 10]);
    }
    m_state->updateTcpCurrEstab();
}

void Router::addTcpConnection(const std::string& localAddr, int localPort, const std::string& remAddr,
                              int remPort, int state) {
    std::lock_guard lock(m_state->mutex);
    m_state->addTcp(localAddr, localPort, remAddr, remPort, state);
    m_state->updateTcpCurrEstab();
}

void Router::addUdpListener(const std::string& localAddr, int localPort) {
    std::lock_guard lock(m_state->mutex);
    m_state->addUdp(localAddr, localPort);
}

void Router::eraseCell(const std::string& columnOid, const std::string& instance) {
    const Oid o = State::child(columnOid, instance);
    std::lock_guard lock(m_state->mutex);
    m_state->mib.erase(o);
}

std::vector<std::string> Router::requestLog() const {
    std::lock_guard lock(m_state->mutex);
    return {m_state->requestLog.begin(), m_state->requestLog.end()};
}

std::vector<Router::Request> Router::requests() const {
    std::lock_guard lock(m_state->mutex);
    return {m_state->requests.begin(), m_state->requests.end()};
}

void Router::clearRequestLog() {
    std::lock_guard lock(m_state->mutex);
    m_state->requestLog.clear();
    m_state->requests.clear();
    m_state->requestLogBytes = m_state->requestsBytes = 0;
}

std::uint64_t Router::datagramsReceived() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->received;
}

std::uint64_t Router::datagramsAnswered() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->answered;
}

} // namespace sim
