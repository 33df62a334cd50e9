// kestrune-tftp-receive: the program's TFTP receiver on a loopback port, storing COUNT uploads into
// DIR (used by scripts/bench-tftp.sh against tftpd-hpa).
#include "net/TftpServer.h"
#include "net/core/TftpPacket.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kestrune-tftp-receive PORT DIR COUNT\n");
        return 2;
    }
    TTFTPSend server;
    server.LocalInterface = "127.0.0.1";
    server.TargetPort = argv[1];
    for (int stored = 0; stored < std::atoi(argv[3]);) {
        std::uint16_t opcode = 0;
        std::string name;
        if (!server.AwaitRequest(opcode, name)) {
            if (!server.SocketError.empty()) return std::fprintf(stderr, "%s\n", server.SocketError.c_str()), 1;
            continue;
        }
        if (opcode != tftp::WriteRequest || !server.ReceiveUpload()) continue;
        std::ofstream(std::string(argv[2]) + "/" + name, std::ios::binary) << server.Data;
        ++stored;
    }
    return 0;
}
