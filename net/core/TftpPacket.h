// TFTP packets (RFC 1350): building and reading the five packet kinds, no sockets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tftp {

enum Opcode : std::uint16_t { ReadRequest = 1, WriteRequest = 2, Data = 3, Ack = 4, Error = 5 };

inline constexpr std::size_t BlockSize = 512;
inline constexpr std::size_t HeaderSize = 4;

// Error codes of RFC 1350.
enum ErrorCode : std::uint16_t {
    NotDefined = 0,
    FileNotFound = 1,
    AccessViolation = 2,
    DiskFull = 3,
    IllegalOperation = 4,
    UnknownTransferId = 5,
    FileExists = 6,
    NoSuchUser = 7
};

// The receiver's answer to a data packet that is not the expected block (spelled as peers know it).
inline constexpr const char* WrongBlockText = "Unexcepted serial#";

// Big-endian 16-bit number at offset (the datagram must hold offset + 2 bytes).
std::uint16_t ReadU16(std::string_view datagram, std::size_t offset);
// The opcode of a datagram, 0 when it is shorter than 2 bytes.
std::uint16_t OpcodeOf(std::string_view datagram);

// A read or write request: opcode, file name up to the first byte 0, mode up to the next byte 0 or the end.
struct Request {
    std::uint16_t opcode = 0;
    std::string fileName;
    std::string mode;
};
// Nothing for a datagram shorter than 4 bytes; any opcode is read.
std::optional<Request> ParseRequest(std::string_view datagram);
// The mode compared in lower case with "octet".
bool IsOctetMode(std::string_view mode);

// A data packet's block number and bytes; nothing when it is not a data packet of at least 4 bytes.
struct DataBlock {
    std::uint16_t block = 0;
    std::string_view bytes;
};
std::optional<DataBlock> ParseData(std::string_view datagram);

// An error packet's code and message (up to the first byte 0); nothing when it is not one.
struct ErrorPacket {
    std::uint16_t code = 0;
    std::string message;
};
std::optional<ErrorPacket> ParseError(std::string_view datagram);

// An acknowledgement's block number; nothing when it is not an acknowledgement of at least 4 bytes.
std::optional<std::uint16_t> ParseAck(std::string_view datagram);

std::string EncodeRequest(std::uint16_t opcode, std::string_view fileName, std::string_view mode);
std::string EncodeData(std::uint16_t block, std::string_view bytes);
std::string EncodeAck(std::uint16_t block);
std::string EncodeError(std::uint16_t code, std::string_view message);

} // namespace tftp
