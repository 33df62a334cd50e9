// SNMPv1 messages: BER encoding and lenient decoding, value texts.
#include "net/core/SnmpBer.h"

#include "net/core/Oid.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace ber {

namespace {

constexpr std::uint8_t kConstructed = 0x20;

void AppendDecimal(std::string& out, std::uint64_t value) {
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void AppendSigned(std::string& out, std::int64_t value) {
    char digits[21];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
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

// The text of an item into out (its old text replaced); false when the item is a value that does not
// fit its tag (see ValueFits).
bool AssignItemText(std::string& out, const ItemReader::Item& item) {
    out.clear();
    if (!item.complete) return true;
    if (item.tag & kConstructed) {
        out.assign(item.content);
        return true;
    }
    return AppendValueText(out, item.tag, item.content);
}

// Writes a message from its end towards its start, so that every length is known before its header is
// written and nothing is built twice. Positions are counted from the end, so they survive growth.
class BackWriter {
public:
    explicit BackWriter(std::string& out) : m_out(out) {
        if (m_out.size() < 512) m_out.resize(512);
        m_pos = m_out.size();
    }
    std::size_t mark() const { return m_out.size() - m_pos; }
    void byte(std::uint8_t b) {
        room(1);
        m_out[--m_pos] = static_cast<char>(b);
    }
    void bytes(std::string_view b) {
        room(b.size());
        m_pos -= b.size();
        if (!b.empty()) std::memcpy(&m_out[m_pos], b.data(), b.size());
    }
    // The tag and length octets of the item whose content was written since mark.
    void header(std::uint8_t tag, std::size_t since) {
        std::uint64_t length = mark() - since;
        if (length < 0x80) {
            byte(static_cast<std::uint8_t>(length));
        } else {
            std::uint8_t n = 0;
            for (; length != 0; length >>= 8, ++n)
                byte(static_cast<std::uint8_t>(length & 0xFF));
            byte(static_cast<std::uint8_t>(0x80 + n));
        }
        byte(tag);
    }
    void integer(std::int64_t value) { // as EncodeIntegerContent
        if (value < 0) {
            const auto v = static_cast<std::uint32_t>(value);
            for (int shift = 0; shift < 32; shift += 8)
                byte(static_cast<std::uint8_t>((v >> shift) & 0xFF));
            return;
        }
        auto v = static_cast<std::uint64_t>(value);
        std::uint8_t top = 0;
        do {
            top = static_cast<std::uint8_t>(v & 0xFF);
            byte(top);
            v >>= 8;
        } while (v != 0);
        if (top >= 0x80) byte(0);
    }
    void base128(std::uint64_t value) {
        byte(static_cast<std::uint8_t>(value & 0x7F));
        for (value >>= 7; value != 0; value >>= 7)
            byte(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
    }
    void oid(std::string_view dotted) { // as EncodeOidContent
        constexpr std::size_t kInline = 64;
        std::uint64_t inlineArcs[kInline];
        std::vector<std::uint64_t> moreArcs;
        std::uint64_t* arcs = inlineArcs;
        const std::size_t count = static_cast<std::size_t>(std::count(dotted.begin(), dotted.end(), '.')) + 1;
        if (count > kInline) {
            moreArcs.resize(count);
            arcs = moreArcs.data();
        }
        std::string_view rest = dotted;
        for (std::size_t i = 0; i < count; ++i)
            arcs[i] = snmpoid::ParseArc(snmpoid::TakeArc(rest)).value_or(0);
        for (std::size_t i = count; i-- > 2;)
            base128(arcs[i]);
        base128(arcs[0] * 40 + (count > 1 ? arcs[1] : 0));
    }
    void value(std::uint8_t tag, std::string_view text) { // the item EncodeValue gives
        const std::size_t start = mark();
        switch (tag) {
        case Boolean:
        case Integer:
        case Enumerated:
            integer(TextToInt(text));
            break;
        case Null:
            break;
        case ObjectId:
            oid(text);
            break;
        case IpAddress:
            bytes(EncodeIpAddressContent(text));
            break;
        case Counter:
        case Gauge:
        case TimeTicks:
            integer(static_cast<std::uint32_t>(TextToInt(text)));
            break;
        default:
            bytes(text);
            break;
        }
        header(tag, start);
    }
    // The message written, at the end of the string.
    std::string_view written() const { return std::string_view(m_out).substr(m_pos); }

private:
    void room(std::size_t n) {
        if (n <= m_pos) return;
        const std::size_t more = std::max(n, m_out.size());
        m_out.insert(0, more, '\0');
        m_pos += more;
    }

    std::string& m_out;
    std::size_t m_pos;
};

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

// The item-by-item forms below are the reference for the message encoder above.
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
    std::string out;
    AppendOidText(out, content);
    return out;
}

bool AppendOidText(std::string& out, std::string_view content) {
    if (content.empty()) return true;
    const std::size_t start = out.size();
    const auto first = static_cast<std::uint8_t>(content[0]);
    AppendDecimal(out, first / 40);
    out.push_back('.');
    AppendDecimal(out, first % 40);
    std::uint64_t arc = 0;
    bool pending = false;
    for (std::size_t i = 1; i < content.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(content[i]);
        arc = (arc << 7) | (byte & 0x7F);
        if (arc > snmpoid::kMaxArc) { // would alias a smaller arc
            out.resize(start);
            return false;
        }
        pending = true;
        if (!(byte & 0x80)) {
            out.push_back('.');
            AppendDecimal(out, arc);
            arc = 0;
            pending = false;
        }
    }
    // A last group without its end byte still names an arc.
    if (pending) {
        out.push_back('.');
        AppendDecimal(out, arc);
    }
    return true;
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
    std::string out;
    AppendValueText(out, tag, content);
    return out;
}

bool AppendValueText(std::string& out, std::uint8_t tag, std::string_view content) {
    if (IsNumberTag(tag)) {
        const std::optional<std::int64_t> value = DecodeNumber(tag, content);
        if (value) AppendSigned(out, *value);
        return value.has_value();
    }
    switch (tag) {
    case IpAddress:
        for (std::size_t i = 0; i < content.size(); ++i) {
            if (i) out.push_back('.');
            AppendDecimal(out, static_cast<std::uint8_t>(content[i]));
        }
        return true;
    case ObjectId:
        return AppendOidText(out, content);
    case Null:
        return true;
    default:
        out.append(content);
        return true;
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
    std::string buffer;
    return std::string(EncodeInto(buffer));
}

std::string_view TSNMPRec::EncodeInto(std::string& buffer) const {
    ber::BackWriter w(buffer);
    const std::size_t message = w.mark();
    const std::size_t pdu = w.mark();
    const std::size_t list = w.mark();
    for (auto mib = MIBList.rbegin(); mib != MIBList.rend(); ++mib) {
        const std::size_t binding = w.mark();
        w.value(static_cast<std::uint8_t>(mib->ValueType), mib->Value);
        const std::size_t name = w.mark();
        w.oid(mib->OID);
        w.header(ber::ObjectId, name);
        w.header(ber::Sequence, binding);
    }
    w.header(ber::Sequence, list);
    for (const int number : {ErrorIndex, ErrorStatus, ID}) {
        const std::size_t item = w.mark();
        w.integer(number);
        w.header(ber::Integer, item);
    }
    w.header(static_cast<std::uint8_t>(PDUType), pdu);
    const std::size_t community = w.mark();
    w.bytes(Community);
    w.header(ber::OctetString, community);
    const std::size_t version = w.mark();
    w.integer(Version);
    w.header(ber::Integer, version);
    w.header(ber::Sequence, message);
    return w.written();
}

bool TSNMPRec::DecodeBuf(std::string_view datagram) {
    // The bindings' strings are kept and refilled, so that a walk decodes every answer into the same
    // memory.
    Version = 0;
    PDUType = 0;
    ErrorStatus = 0;
    ErrorIndex = 0;
    if (datagram.size() < 2 || !(static_cast<std::uint8_t>(datagram[0]) & ber::kConstructed)) {
        Clear();
        return false;
    }
    ber::ItemReader reader(datagram, 1);
    std::uint64_t outerLength = 0;
    if (!reader.readLength(outerLength) || outerLength > datagram.size() ||
        datagram.size() < outerLength + 2) {
        Clear();
        return false;
    }
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
    Version = number(reader.next());
    ber::AssignItemText(Community, reader.next());
    const ber::ItemReader::Item pdu = reader.next();
    PDUType = pdu.tag;
    ID = number(reader.next());
    ErrorStatus = number(reader.next());
    ErrorIndex = number(reader.next());
    reader.next(); // the binding list
    std::size_t bindings = 0;
    while (reader.pos() < end && fits) {
        reader.next(); // the binding
        const ber::ItemReader::Item name = reader.next();
        const ber::ItemReader::Item value = reader.next();
        if (bindings == MIBList.size()) MIBList.emplace_back();
        TSNMPMib& mib = MIBList[bindings++];
        fits = ber::AssignItemText(mib.OID, name) && fits;
        fits = ber::AssignItemText(mib.Value, value) && fits;
        mib.ValueType = value.tag;
    }
    MIBList.resize(bindings);
    if (!fits) Clear();
    return fits;
}
