#include "net/core/SnmpBer.h"

#include "net/core/Oid.h"

#include <limits>

namespace ber {

namespace {

constexpr std::uint8_t kConstructed = 0x20;

std::string Decimal(std::uint64_t value) {
    return std::to_string(value);
}

bool IsNumberTag(std::uint8_t tag) {
    return tag == Boolean || tag == Integer || tag == Enumerated || tag == Counter || tag == Gauge ||
           tag == TimeTicks;
}

void AppendBase128(std::string& out, std::uint64_t value) {
    char groups[10];
    int count = 0;
    do {
        groups[count++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<char>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

// Sequential, lenient reader of BER items inside one datagram. Every length is checked against the
// datagram before use, and every read moves forward by at least one byte until the end is reached.
class ItemReader {
public:
    explicit ItemReader(std::string_view data, std::size_t pos = 0) : m_data(data), m_pos(pos) {}

    std::size_t pos() const { return m_pos; }

    struct Item {
        std::uint8_t tag = 0;
        std::string_view content; // empty when the item runs past the end of the datagram
        bool complete = false;
    };

    // Reads one item. A constructed item leaves the position at the start of its content; a primitive
    // one moves past it. An item that runs past the end of the datagram yields no content and leaves
    // the position right after its header (at the end when the header itself is cut short), so the
    // items inside a cut-short message are still read one by one. Every call that starts before the
    // end moves forward by at least the tag byte.
    Item next() {
        Item item;
        if (m_pos >= m_data.size()) return item;
        item.tag = static_cast<std::uint8_t>(m_data[m_pos++]);
        std::uint64_t length = 0;
        if (!readLength(length)) {
            m_pos = m_data.size();
            return item;
        }
        if (length > m_data.size() - m_pos) return item; // reading goes on right after the header

        item.content = m_data.substr(m_pos, static_cast<std::size_t>(length));
        item.complete = true;
        if (!(item.tag & kConstructed)) m_pos += static_cast<std::size_t>(length);
        return item;
    }

    // Length octets at the current position; false when they run past the end of the datagram.
    bool readLength(std::uint64_t& length) { return ReadLength(m_data, m_pos, length); }

private:
    std::string_view m_data;
    std::size_t m_pos;
};

std::string ItemText(const ItemReader::Item& item) {
    if (!item.complete) return {};
    if (item.tag & kConstructed) return std::string(item.content);
    return ValueToText(item.tag, item.content);
}

} // namespace

std::string EncodeLength(std::uint64_t length) {
    if (length < 0x80) return std::string(1, static_cast<char>(length));
    std::string bytes;
    while (length != 0) {
        bytes.insert(bytes.begin(), static_cast<char>(length & 0xFF));
        length >>= 8;
    }
    return static_cast<char>(0x80 + bytes.size()) + bytes;
}

bool ReadLength(std::string_view data, std::size_t& pos, std::uint64_t& length) {
    if (pos >= data.size()) return false;
    const auto first = static_cast<std::uint8_t>(data[pos++]);
    if (first < 0x80) {
        length = first;
        return true;
    }
    const std::size_t n = first & 0x7F;
    if (n > data.size() - pos) return false;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < n; ++i, ++pos) {
        // Anything longer than the datagram is as good as infinite; saturate instead of overflowing.
        if (value > (std::numeric_limits<std::uint64_t>::max() >> 8))
            value = std::numeric_limits<std::uint64_t>::max();
        else
            value = (value << 8) | static_cast<std::uint8_t>(data[pos]);
    }
    length = value;
    return true;
}

std::string EncodeIntegerContent(std::int64_t value) {
    std::string bytes;
    if (value < 0) {
        const auto v = static_cast<std::uint32_t>(value);
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
        return bytes;
    }
    auto v = static_cast<std::uint64_t>(value);
    do {
        bytes.insert(bytes.begin(), static_cast<char>(v & 0xFF));
        v >>= 8;
    } while (v != 0);
    if (static_cast<std::uint8_t>(bytes[0]) >= 0x80) bytes.insert(bytes.begin(), '\0');
    return bytes;
}

std::string EncodeUnsignedContent(std::uint32_t value) {
    return EncodeIntegerContent(value);
}

std::string EncodeOidContent(std::string_view dotted) {
    std::vector<std::uint64_t> arcs;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = dotted.find('.', start);
        arcs.push_back(
            snmpoid::ParseArc(dotted.substr(start, dot == std::string_view::npos ? dot : dot - start))
                .value_or(0));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    std::string out;
    // The first two arcs share one sub-identifier (arcs are 32-bit, so the sum fits).
    AppendBase128(out, arcs[0] * 40 + (arcs.size() > 1 ? arcs[1] : 0));
    for (std::size_t i = 2; i < arcs.size(); ++i)
        AppendBase128(out, arcs[i]);
    return out;
}

std::string EncodeIpAddressContent(std::string_view text) {
    // The first three parts end at the next "." (or take what is left when there is none); the fourth
    // part is whatever follows the third ".". Missing parts are empty and so 0.
    std::string out;
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        std::string_view piece;
        if (start <= text.size()) {
            const std::size_t dot = part < 3 ? text.find('.', start) : std::string_view::npos;
            piece = text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
            start = dot == std::string_view::npos ? text.size() + 1 : dot + 1;
        }
        out.push_back(static_cast<char>(static_cast<std::uint64_t>(TextToInt(piece)) & 0xFF));
    }
    return out;
}

std::string EncodeItem(std::uint8_t tag, std::string_view content) {
    std::string out(1, static_cast<char>(tag));
    out += EncodeLength(content.size());
    out.append(content);
    return out;
}

std::string EncodeValue(std::uint8_t tag, std::string_view text) {
    switch (tag) {
    case Boolean:
    case Integer:
    case Enumerated:
        return EncodeItem(tag, EncodeIntegerContent(TextToInt(text)));
    case Null:
        return EncodeItem(tag, {});
    case ObjectId:
        return EncodeItem(tag, EncodeOidContent(text));
    case IpAddress:
        return EncodeItem(tag, EncodeIpAddressContent(text));
    case Counter:
    case Gauge:
    case TimeTicks:
        return EncodeItem(tag, EncodeUnsignedContent(static_cast<std::uint32_t>(TextToInt(text))));
    default:
        return EncodeItem(tag, text);
    }
}

std::string DecodeOidContent(std::string_view content) {
    if (content.empty()) return {};
    const auto first = static_cast<std::uint8_t>(content[0]);
    std::string out = Decimal(first / 40) + "." + Decimal(first % 40);
    std::uint64_t arc = 0;
    bool pending = false;
    for (std::size_t i = 1; i < content.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(content[i]);
        arc = (arc << 7) | (byte & 0x7F);
        if (arc > snmpoid::kMaxArc) return {}; // would alias a smaller arc
        pending = true;
        if (!(byte & 0x80)) {
            out += "." + Decimal(arc);
            arc = 0;
            pending = false;
        }
    }
    // A last group without its end byte still names an arc.
    if (pending) out += "." + Decimal(arc);
    return out;
}

std::optional<std::int64_t> DecodeNumber(std::uint8_t tag, std::string_view content) {
    constexpr std::int64_t kMaxUnsigned = 0xFFFFFFFF;
    switch (tag) {
    case Boolean:
    case Integer:
    case Enumerated: {
        // Two's complement: start from the sign, stop as soon as the value leaves 32 bits.
        std::int64_t value = !content.empty() && static_cast<std::uint8_t>(content[0]) >= 0x80 ? -1 : 0;
        for (unsigned char byte : content) {
            value = value * 256 + byte;
            if (value > std::numeric_limits<std::int32_t>::max() ||
                value < std::numeric_limits<std::int32_t>::min())
                return std::nullopt;
        }
        return value;
    }
    case Counter:
    case Gauge:
    case TimeTicks: {
        std::int64_t value = 0;
        for (unsigned char byte : content) {
            value = value * 256 + byte;
            if (value > kMaxUnsigned) return std::nullopt;
        }
        return value;
    }
    default:
        return std::nullopt;
    }
}

bool ValueFits(std::uint8_t tag, std::string_view content) {
    if (IsNumberTag(tag)) return DecodeNumber(tag, content).has_value();
    if (tag == ObjectId) return content.empty() || !DecodeOidContent(content).empty();
    return true;
}

std::string ValueToText(std::uint8_t tag, std::string_view content) {
    if (IsNumberTag(tag)) {
        const std::optional<std::int64_t> value = DecodeNumber(tag, content);
        return value ? std::to_string(*value) : std::string();
    }
    switch (tag) {
    case IpAddress: {
        std::string out;
        for (std::size_t i = 0; i < content.size(); ++i) {
            if (i) out.push_back('.');
            out += Decimal(static_cast<std::uint8_t>(content[i]));
        }
        return out;
    }
    case ObjectId:
        return DecodeOidContent(content);
    case Null:
        return {};
    default:
        return std::string(content);
    }
}

std::int64_t TextToInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return 0;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (magnitude > (limit - digit) / 10) return 0;
        magnitude = magnitude * 10 + digit;
    }
    if (negative)
        return magnitude == (std::uint64_t{1} << 63) ? std::numeric_limits<std::int64_t>::min()
                                                     : -static_cast<std::int64_t>(magnitude);
    return static_cast<std::int64_t>(magnitude);
}

} // namespace ber

void TSNMPRec::Clear() {
    Version = 0;
    PDUType = 0;
    ErrorStatus = 0;
    ErrorIndex = 0;
    Community.clear();
    MIBList.clear();
}

void TSNMPRec::MIBAdd(std::string oid, std::string value, int valueType) {
    MIBList.push_back(TSNMPMib{std::move(oid), std::move(value), valueType});
}

std::string TSNMPRec::EncodeBuf() const {
    std::string bindings;
    for (const TSNMPMib& mib : MIBList) {
        const std::string name = ber::EncodeItem(ber::ObjectId, ber::EncodeOidContent(mib.OID));
        bindings += ber::EncodeItem(
            ber::Sequence, name + ber::EncodeValue(static_cast<std::uint8_t>(mib.ValueType), mib.Value));
    }
    std::string pdu = ber::EncodeItem(ber::Integer, ber::EncodeIntegerContent(ID));
    pdu += ber::EncodeItem(ber::Integer, ber::EncodeIntegerContent(ErrorStatus));
    pdu += ber::EncodeItem(ber::Integer, ber::EncodeIntegerContent(ErrorIndex));
    pdu += ber::EncodeItem(ber::Sequence, bindings);
    std::string message = ber::EncodeItem(ber::Integer, ber::EncodeIntegerContent(Version));
    message += ber::EncodeItem(ber::OctetString, Community);
    message += ber::EncodeItem(static_cast<std::uint8_t>(PDUType), pdu);
    return ber::EncodeItem(ber::Sequence, message);
}

bool TSNMPRec::DecodeBuf(std::string_view datagram) {
    Clear();
    if (datagram.size() < 2 || !(static_cast<std::uint8_t>(datagram[0]) & ber::kConstructed)) return false;
    ber::ItemReader reader(datagram, 1);
    std::uint64_t outerLength = 0;
    if (!reader.readLength(outerLength) || outerLength > datagram.size() || datagram.size() < outerLength + 2)
        return false;
    // The bindings run to the end of the outer content (never past the datagram).
    const std::size_t end = std::min<std::uint64_t>(datagram.size(), reader.pos() + outerLength);

    // Header numbers straight from their content; one that does not fit makes the message malformed.
    bool fits = true;
    auto number = [&fits](const ber::ItemReader::Item& item) {
        if (!item.complete || item.tag != ber::Integer) return 0; // not a number: 0
        const std::optional<std::int64_t> value = ber::DecodeNumber(ber::Integer, item.content);
        fits = fits && value;
        return static_cast<int>(value.value_or(0));
    };
    auto text = [&fits](const ber::ItemReader::Item& item) {
        fits = fits &&
               (!item.complete || (item.tag & ber::kConstructed) || ber::ValueFits(item.tag, item.content));
        return ber::ItemText(item);
    };
    Version = number(reader.next());
    Community = ber::ItemText(reader.next());
    const ber::ItemReader::Item pdu = reader.next();
    PDUType = pdu.tag;
    ID = number(reader.next());
    ErrorStatus = number(reader.next());
    ErrorIndex = number(reader.next());
    reader.next(); // the binding list
    while (reader.pos() < end && fits) {
        reader.next(); // the binding
        const ber::ItemReader::Item name = reader.next();
        const ber::ItemReader::Item value = reader.next();
        MIBAdd(text(name), text(value), value.tag);
    }
    if (!fits) Clear();
    return fits;
}
