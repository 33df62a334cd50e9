// The router endpoint model.
#include "net/RouterEndpoint.h"

bool RouterEndpoint::assign(QString& field, const QString& value) {
    if (field == value) return false;
    field = value;
    emit changed();
    return true;
}

void RouterEndpoint::setAddress(const QString& address) {
    assign(m_address, address);
}

void RouterEndpoint::setCommunity(const QString& community) {
    assign(m_community, community);
}

void RouterEndpoint::setWriteCommunity(const QString& community) {
    assign(m_writeCommunity, community);
}
