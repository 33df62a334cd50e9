// Any datagram a TFTP peer (or anyone) sends to the receiver: reading it as a request, data, an
// acknowledgement or an error must stay inside the datagram, and what was read must encode again.
#include "eventlog/core/EventLogNames.h"
#include "net/core/TftpPacket.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    (void)tftp::OpcodeOf(datagram);
    if (const auto request = tftp::ParseRequest(datagram)) {
        if (request->fileName.size() + request->mode.size() + 2 > size) __builtin_trap();
        (void)tftp::IsOctetMode(request->mode);
        (void)eventlog::IsPlainFileName(request->fileName);
        const std::string again = tftp::EncodeRequest(request->opcode, request->fileName, request->mode);
        if (tftp::ParseRequest(again)->fileName != request->fileName) __builtin_trap();
    }
    if (const auto block = tftp::ParseData(datagram)) {
        if (block->bytes.size() + tftp::HeaderSize != size) __builtin_trap();
        if (tftp::EncodeData(block->block, block->bytes) != datagram) __builtin_trap();
    }
    if (const auto error = tftp::ParseError(datagram)) {
        const std::string again = tftp::EncodeError(error->code, error->message);
        if (tftp::ParseError(again)->message != error->message) __builtin_trap();
    }
    if (const auto ack = tftp::ParseAck(datagram)) (void)tftp::EncodeAck(*ack);
    return 0;
}
