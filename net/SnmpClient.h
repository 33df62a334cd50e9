// SNMPv1 client over UDP: one request and at most one response per exchange, no retries.
// All three operations are synchronous and never throw.
#pragma once

#include "net/core/SnmpBer.h"

#include <string>
#include <vector>

// Process-wide transport settings. The program keeps port 161 and the 5000 ms time-out;
// tests point the client at a stand-in on an ephemeral loopback port and shorten the wait.
namespace snmpconfig {
void setPort(unsigned short port);
unsigned short port();
void setTimeoutMs(int ms);
int timeoutMs();
} // namespace snmpconfig

// One request object: its own UDP socket (fresh ephemeral port), a query and a reply.
class TSNMPSend {
public:
    TSNMPSend();
    ~TSNMPSend();
    TSNMPSend(const TSNMPSend&) = delete;
    TSNMPSend& operator=(const TSNMPSend&) = delete;

    std::string TargetHost = "127.0.0.1";
    std::string TargetPort;          // "161" unless snmpconfig says otherwise
    std::string LocalInterface = "0.0.0.0";
    int Timeout;                     // milliseconds; 5000 unless snmpconfig says otherwise
    TSNMPRec Query;
    TSNMPRec Reply;

    // Sends Query, waits for one datagram and decodes it into Reply.
    bool SendRequest();

private:
    int m_socket = -1;
};

bool SnmpGetValue(const std::string& oid, const std::string& community, const std::string& host,
                  std::string& value);
bool SnmpSetValue(const std::string& oid, const std::string& community, const std::string& host,
                  const std::string& value, int valueType);
bool SnmpWalkTable(const std::string& baseOid, const std::string& community, const std::string& host,
                   std::vector<std::string>& lines);
