// SNMPv1 messages and their BER encoding (RFC 1157). Pure: no sockets.
//
// Every value travels as text: requests carry the value text and its BER tag, and response
// values are turned into display texts by ValueToText. Byte strings are std::string and may
// hold any byte, NUL included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ber {

enum Tag : std::uint8_t {
    Boolean = 0x01,
    Integer = 0x02,
    OctetString = 0x04,
    Null = 0x05,
    ObjectId = 0x06,
    Enumerated = 0x0A,
    Sequence = 0x30,
    IpAddress = 0x40,
    Counter = 0x41,
    Gauge = 0x42,
    TimeTicks = 0x43,
    Opaque = 0x44,
};

enum PduType : int {
    GetRequest = 0xA0,
    GetNextRequest = 0xA1,
    GetResponse = 0xA2,
    SetRequest = 0xA3,
    Trap = 0xA4,
};

enum ErrorStatus : int { NoError = 0, TooBig = 1, NoSuchName = 2, BadValue = 3, ReadOnly = 4, GenErr = 5 };

// Length octets, definite form: short below 128, else 0x80+n and n big-endian bytes.
std::string EncodeLength(std::uint64_t length);
// Reads the length octets at data[pos] (short or long form, long form big-endian and saturating at
// 2^64-1) and moves pos past them; false when they run past the end of data.
bool ReadLength(std::string_view data, std::size_t& pos, std::uint64_t& length);
// INTEGER content: fewest bytes for 0 and positive values (0x00 in front when the top bit is set);
// a negative value is always four bytes of two's complement.
std::string EncodeIntegerContent(std::int64_t value);
// Unsigned content for Counter, Gauge and TimeTicks (0x00 in front when the top bit is set).
std::string EncodeUnsignedContent(std::uint32_t value);
// OBJECT IDENTIFIER content from dotted text; an arc that is not a number counts as 0.
std::string EncodeOidContent(std::string_view dotted);
// IpAddress content: always four bytes, each part modulo 256.
std::string EncodeIpAddressContent(std::string_view text);
// Tag, length and content.
std::string EncodeItem(std::uint8_t tag, std::string_view content);
// The value item of a binding, from its text and tag (all tags of the table; unknown tags carry the bytes).
std::string EncodeValue(std::uint8_t tag, std::string_view text);

// The number an INTEGER, BOOLEAN or ENUMERATED content holds (two's complement, signed 32-bit range), or a
// Counter, Gauge or TimeTicks content (unsigned, 0 to 2^32-1); empty content is 0. nullopt when the
// number lies outside its type, whatever the number of bytes, and for every other tag.
std::optional<std::int64_t> DecodeNumber(std::uint8_t tag, std::string_view content);
// True when content is a well-formed value of its tag: numbers inside their type and object identifier
// arcs of at most 32 bits. A message holding anything else is malformed.
bool ValueFits(std::uint8_t tag, std::string_view content);

// Response value content to display text (empty for a value that does not fit its tag).
std::string ValueToText(std::uint8_t tag, std::string_view content);
// Dotted text of OBJECT IDENTIFIER content; empty when an arc does not fit in 32 bits.
std::string DecodeOidContent(std::string_view content);
// The same texts appended to out; false (and nothing appended) for a value that does not fit its tag.
bool AppendValueText(std::string& out, std::uint8_t tag, std::string_view content);
bool AppendOidText(std::string& out, std::string_view content);

// Decimal text to integer the way the client reads numbers: optional sign and digits, else 0.
std::int64_t TextToInt(std::string_view text);

} // namespace ber

// A variable binding: dotted name without a leading dot, value text and BER tag of the value.
struct TSNMPMib {
    std::string OID;
    std::string Value;
    int ValueType = ber::Null;
};

// An SNMPv1 message; owns its bindings.
struct TSNMPRec {
    int Version = 0;
    std::string Community;
    int PDUType = 0;
    int ID = 1;
    int ErrorStatus = 0;
    int ErrorIndex = 0;
    std::vector<TSNMPMib> MIBList;

    // Resets version, PDU type, error status and index to 0, empties the community and the bindings;
    // keeps the request id.
    void Clear();
    void MIBAdd(std::string oid, std::string value, int valueType);
    std::string EncodeBuf() const;
    // The same bytes written at the end of buffer, whose memory is kept from one call to the next; the
    // view is valid until buffer changes.
    std::string_view EncodeInto(std::string& buffer) const;
    // Lenient decoding of one datagram; never reads outside it. False when it cannot be a message, or when
    // a header number, a name or a value does not fit its type (see ber::ValueFits).
    bool DecodeBuf(std::string_view datagram);
};
