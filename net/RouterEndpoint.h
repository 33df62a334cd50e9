// The router the program talks to: its address, the community its reads and sets use, and the write
// community (the router's telnet password) as the password job knows it. Edits show and write it;
// every SNMP read and the command-line jobs take it from here.
#pragma once

#include <QObject>
#include <QString>

class RouterEndpoint : public QObject {
    Q_OBJECT
public:
    explicit RouterEndpoint(QObject* parent = nullptr) : QObject(parent) {}

    QString address() const { return m_address; }
    QString community() const { return m_community; }
    QString writeCommunity() const { return m_writeCommunity; }

    // Each emits changed() when the value really changes.
    void setAddress(const QString& address);
    void setCommunity(const QString& community);
    void setWriteCommunity(const QString& community);

signals:
    void changed();

private:
    bool assign(QString& field, const QString& value);
    QString m_address, m_community, m_writeCommunity;
};
