// SNMP through the router endpoint.
#include "net/RouterSession.h"

#include "net/SnmpClient.h"
#include "net/core/SnmpText.h"

namespace {
bool getValue(const QString& host, const QString& community, const QString& oid, QString& value,
              const std::function<void()>& idle, const SnmpSettings& settings) {
    std::string bytes;
    const bool ok = SnmpGetValue(oid.toStdString(), snmptext::toRouter(community), snmptext::toRouter(host),
                                 bytes, idle, settings);
    value = snmptext::fromRouter(bytes);
    return ok;
}
} // namespace

SnmpSettings RouterSession::snmpSettings() const {
    const std::lock_guard lock(m_snmpSettingsMutex);
    return m_snmpSettings;
}

void RouterSession::setSnmpSettings(const SnmpSettings& settings) {
    const std::lock_guard lock(m_snmpSettingsMutex);
    m_snmpSettings = settings;
}

bool RouterSession::get(const QString& oid, QString& value) {
    return getValue(m_endpoint.address(), m_endpoint.community(), oid, value, m_idle, snmpSettings());
}

bool RouterSession::getFrom(const QString& host, const QString& oid, QString& value) {
    return getValue(host, m_endpoint.community(), oid, value, m_idle, snmpSettings());
}

bool RouterSession::getWithCommunity(const QString& community, const QString& oid, QString& value) {
    return getValue(m_endpoint.address(), community, oid, value, m_idle, snmpSettings());
}

bool RouterSession::set(const QString& oid, const QString& value, int valueType) {
    return SnmpSetValue(oid.toStdString(), snmptext::toRouter(m_endpoint.community()),
                        snmptext::toRouter(m_endpoint.address()), snmptext::toRouter(value), valueType,
                        m_idle, snmpSettings());
}

bool RouterSession::walk(const QString& baseOid, QStringList& lines) {
    std::vector<std::string> raw;
    const bool ok = SnmpWalkTable(baseOid.toStdString(), snmptext::toRouter(m_endpoint.community()),
                                  snmptext::toRouter(m_endpoint.address()), raw, m_idle, snmpSettings());
    lines.clear();
    lines.reserve(static_cast<qsizetype>(raw.size()));
    for (const std::string& line : raw)
        lines.append(snmptext::fromRouter(line));
    return ok;
}
