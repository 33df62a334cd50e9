// TFTP packets (RFC 1350): building and reading the five packet kinds, no sockets.
#include "net/core/TftpPacket.h"

namespace tftp {

namespace {

std::string U16(std::uint16_t value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

// The text from offset up to the next byte 0 (or the end); offset moves past that byte 0.
std::string_view ZeroEnded(std::string_view datagram, std::size_t& offset) {
    if (offset >= datagram.size()) return {};
    const std::size_t end = datagram.find('\0', offset);
    const std::size_t stop = end == std::string_view::npos ? datagram.size() : end;
    const std::string_view text = datagram.substr(offset, stop - offset);
    offset = stop + 1;
    return text;
}

} // namespace

std::uint16_t ReadU16(std::string_view datagram, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(datagram[offset]) << 8 |
                                      static_cast<unsigned char>(datagram[offset + 1]));
}

std::uint16_t OpcodeOf(std::string_view datagram) {
    return datagram.size() < 2 ? 0 : ReadU16(datagram, 0);
}

std::optional<Request> ParseRequest(std::string_view datagram) {
    if (datagram.size() < HeaderSize) return std::nullopt;
    Request request;
    request.opcode = ReadU16(datagram, 0);
    std::size_t offset = 2;
    request.fileName = ZeroEnded(datagram, offset);
    request.mode = ZeroEnded(datagram, offset);
    return request;
}

bool IsOctetMode(std::string_view mode) {
    static constexpr std::string_view Octet = "octet";
    if (mode.size() != Octet.size()) return false;
    for (std::size_t i = 0; i < mode.size(); ++i) {
        const char c = mode[i] >= 'A' && mode[i] <= 'Z' ? static_cast<char>(mode[i] - 'A' + 'a') : mode[i];
        if (c != Octet[i]) return false;
    }
    return true;
}

std::optional<DataBlock> ParseData(std::string_view datagram) {
    if (datagram.size() < HeaderSize || ReadU16(datagram, 0) != Data) return std::nullopt;
    return DataBlock{ReadU16(datagram, 2), datagram.substr(HeaderSize)};
}

std::optional<ErrorPacket> ParseError(std::string_view datagram) {
    if (datagram.size() < HeaderSize || ReadU16(datagram, 0) != Error) return std::nullopt;
    std::size_t offset = HeaderSize;
    return ErrorPacket{ReadU16(datagram, 2), std::string(ZeroEnded(datagram, offset))};
}

std::optional<std::uint16_t> ParseAck(std::string_view datagram) {
    if (datagram.size() < HeaderSize || ReadU16(datagram, 0) != Ack) return std::nullopt;
    return ReadU16(datagram, 2);
}

std::string EncodeRequest(std::uint16_t opcode, std::string_view fileName, std::string_view mode) {
    std::string packet = U16(opcode);
    packet.append(fileName).push_back('\0');
    packet.append(mode).push_back('\0');
    return packet;
}

std::string EncodeData(std::uint16_t block, std::string_view bytes) {
    return U16(Data) + U16(block) + std::string(bytes);
}

std::string EncodeAck(std::uint16_t block) {
    return U16(Ack) + U16(block);
}

std::string EncodeError(std::uint16_t code, std::string_view message) {
    std::string packet = U16(Error) + U16(code);
    packet.append(message).push_back('\0');
    return packet;
}

} // namespace tftp
