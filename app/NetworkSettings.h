// The transports' settings the window is made with: SNMP, HTTP, TFTP and telnet, each the program's
// defaults unless its maker gives others.
#pragma once

#include "net/HttpClient.h"
#include "net/SnmpSettings.h"
#include "net/TftpServer.h"
#include "telnet/TelnetJobs.h"

struct NetworkSettings {
    SnmpSettings snmp;
    HttpSettings http;
    TftpSettings tftp;
    TelnetSettings telnet;
};
