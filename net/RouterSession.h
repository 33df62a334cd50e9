// SNMP with the router endpoint: gets, sets and walks with the texts converted for display, and the
// router's interface rows that the System page's discovery found (the pages and monitors read them).
#pragma once

#include "net/RouterEndpoint.h"
#include "net/SnmpSettings.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <mutex>
#include <utility>

// The interface rows of the router's ifTable that the program follows ("0": not found yet).
struct RouterInterfaces {
    qint32 IfNumber = 0;
    QString LanIfIndex = QStringLiteral("0");
    QString PppIfIndex = QStringLiteral("0");
    QString WanIfIndex = QStringLiteral("0");
    QString LanIfIndexValue, PppIfIndexValue, WanIfIndexValue;
};

class RouterSession {
public:
    // `snmpSettings`: the transport's settings, the program's unless given.
    explicit RouterSession(RouterEndpoint& endpoint, const SnmpSettings& snmpSettings = {})
        : m_endpoint(endpoint), m_snmpSettings(snmpSettings) {}
    RouterSession(const RouterSession&) = delete;
    RouterSession& operator=(const RouterSession&) = delete;

    RouterEndpoint& endpoint() { return m_endpoint; }
    const RouterEndpoint& endpoint() const { return m_endpoint; }
    RouterInterfaces& interfaces() { return m_interfaces; }
    const RouterInterfaces& interfaces() const { return m_interfaces; }

    // Runs between the slices of every wait for an answer (the window's event processing).
    void setIdleHook(std::function<void()> hook) { m_idle = std::move(hook); }
    const std::function<void()>& idleHook() const { return m_idle; }

    // The transport's settings, read at each exchange; they may be changed from any thread.
    SnmpSettings snmpSettings() const;
    void setSnmpSettings(const SnmpSettings& settings);

    bool get(const QString& oid, QString& value);
    // A get from another address with the endpoint's community (a changed router address read back).
    bool getFrom(const QString& host, const QString& oid, QString& value);
    bool set(const QString& oid, const QString& value, int valueType);
    bool walk(const QString& baseOid, QStringList& lines);
    // A get with another community at the endpoint's address (which password does the router hold?).
    bool getWithCommunity(const QString& community, const QString& oid, QString& value);

private:
    RouterEndpoint& m_endpoint;
    RouterInterfaces m_interfaces;
    std::function<void()> m_idle;
    mutable std::mutex m_snmpSettingsMutex; // guards m_snmpSettings
    SnmpSettings m_snmpSettings;
};
