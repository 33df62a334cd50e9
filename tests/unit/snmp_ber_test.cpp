// BER codec of the SNMPv1 client: encoding, lenient decoding, value texts and robustness.
#include "net/core/SnmpBer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out.push_back(' ');
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

// A GetResponse as an agent sends it, built by hand (not with the encoder under test).
std::string ResponseDatagram() {
    // 30 L 02 01 00 04 06 "public" A2 L 02 01 07 02 01 00 02 01 00 30 L 30 L 06 08 2B06010201010500 04 04
    // "rtr1"
    std::string binding =
        Bytes({0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x00, 0x04, 0x04}) + "rtr1";
    binding = Bytes({0x30, static_cast<int>(binding.size())}) + binding;
    std::string list = Bytes({0x30, static_cast<int>(binding.size())}) + binding;
    std::string pdu = Bytes({0x02, 0x01, 0x07, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00}) + list;
    pdu = Bytes({0xA2, static_cast<int>(pdu.size())}) + pdu;
    std::string message = Bytes({0x02, 0x01, 0x00, 0x04, 0x06}) + "public" + pdu;
    return Bytes({0x30, static_cast<int>(message.size())}) + message;
}

} // namespace

TEST(SnmpBer, GetRequestEncodesToTheWireBytes) {
    TSNMPRec query;
    query.Clear();
    query.Community = "quorbx";
    query.PDUType = ber::GetRequest;
    query.MIBAdd("1.3.6.1.2.1.1.5.0", "", ber::Null);
    const std::string wire = query.EncodeBuf();
    const std::string expected =
        Bytes({0x30, 0x26, 0x02, 0x01, 0x00, 0x04, 0x06}) + "quorbx" +
        Bytes({0xA0, 0x19, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0E, 0x30,
               0x0C, 0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x00, 0x05, 0x00});
    EXPECT_EQ(wire.size(), 40u);
    EXPECT_EQ(Hex(wire), Hex(expected));
}

TEST(SnmpBer, MessageRecordLifecycle) {
    TSNMPRec rec;
    EXPECT_EQ(rec.ID, 1);
    rec.Version = 3;
    rec.Community = "x";
    rec.PDUType = ber::SetRequest;
    rec.ID = 9;
    rec.ErrorStatus = 2;
    rec.ErrorIndex = 1;
    rec.MIBAdd("1.3", "v", ber::OctetString);
    rec.Clear();
    EXPECT_EQ(rec.Version, 0);
    EXPECT_EQ(rec.Community, "");
    EXPECT_EQ(rec.PDUType, 0);
    EXPECT_EQ(rec.ErrorStatus, 0);
    EXPECT_EQ(rec.ErrorIndex, 0);
    EXPECT_TRUE(rec.MIBList.empty());
    EXPECT_EQ(rec.ID, 9) << "clearing keeps the request id";
}

TEST(SnmpBer, LengthsAndIntegers) {
    EXPECT_EQ(Hex(ber::EncodeLength(0)), "00");
    EXPECT_EQ(Hex(ber::EncodeLength(127)), "7F");
    EXPECT_EQ(Hex(ber::EncodeLength(128)), "81 80");
    EXPECT_EQ(Hex(ber::EncodeLength(255)), "81 FF");
    EXPECT_EQ(Hex(ber::EncodeLength(256)), "82 01 00");
    EXPECT_EQ(Hex(ber::EncodeLength(0x123456)), "83 12 34 56");

    EXPECT_EQ(Hex(ber::EncodeIntegerContent(0)), "00");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(1)), "01");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(127)), "7F");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(128)), "00 80");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(200)), "00 C8");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(256)), "01 00");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(2147483647)), "7F FF FF FF");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(-1)), "FF FF FF FF");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(-128)), "FF FF FF 80");
    EXPECT_EQ(Hex(ber::EncodeIntegerContent(-2147483648LL)), "80 00 00 00");
    EXPECT_EQ(Hex(ber::EncodeUnsignedContent(4294967295u)), "00 FF FF FF FF");
    EXPECT_EQ(Hex(ber::EncodeUnsignedContent(0)), "00");

    EXPECT_EQ(ber::TextToInt("42"), 42);
    EXPECT_EQ(ber::TextToInt("-17"), -17);
    EXPECT_EQ(ber::TextToInt("+5"), 5);
    EXPECT_EQ(ber::TextToInt(""), 0);
    EXPECT_EQ(ber::TextToInt("-"), 0);
    EXPECT_EQ(ber::TextToInt("12a"), 0);
    EXPECT_EQ(ber::TextToInt(" 12"), 0);
    EXPECT_EQ(ber::TextToInt("99999999999999999999"), 0);
    EXPECT_EQ(ber::TextToInt("-9223372036854775808"), INT64_MIN);

    // Set values: INTEGER from its text, the VPI/VCI way.
    EXPECT_EQ(Hex(ber::EncodeValue(ber::Integer, "35")), "02 01 23");
    EXPECT_EQ(Hex(ber::EncodeValue(ber::Integer, "-1")), "02 04 FF FF FF FF");
    EXPECT_EQ(Hex(ber::EncodeValue(ber::Integer, "abc")), "02 01 00");
    EXPECT_EQ(Hex(ber::EncodeValue(ber::OctetString, "ab")), "04 02 61 62");
    EXPECT_EQ(Hex(ber::EncodeValue(ber::Null, "ignored")), "05 00");
    EXPECT_EQ(Hex(ber::EncodeValue(ber::TimeTicks, "2147483648")), "43 05 00 80 00 00 00");
    EXPECT_EQ(Hex(ber::EncodeValue(ber::OctetString, std::string(200, 'x'))).substr(0, 8), "04 81 C8");
}

TEST(SnmpBer, ObjectIdentifierArcs) {
    EXPECT_EQ(Hex(ber::EncodeOidContent("1.3.6.1.4.1.171")), "2B 06 01 04 01 81 2B");
    EXPECT_EQ(Hex(ber::EncodeOidContent("1.3.6.1.2.1.1.5.0")), "2B 06 01 02 01 01 05 00");
    EXPECT_EQ(Hex(ber::EncodeOidContent("1.3.128")), "2B 81 00");
    EXPECT_EQ(Hex(ber::EncodeOidContent("1.3.16384")), "2B 81 80 00");
    EXPECT_EQ(Hex(ber::EncodeOidContent("1.3.4294967295")), "2B 8F FF FF FF 7F");
    EXPECT_EQ(Hex(ber::EncodeOidContent("2.100.3")), "81 34 03");
    EXPECT_EQ(Hex(ber::EncodeOidContent("1.3.x.7")), "2B 00 07") << "an arc that is not a number is 0";
    EXPECT_EQ(Hex(ber::EncodeOidContent("1.3.4294967296")), "2B 00")
        << "beyond 32 bits is not a sub-identifier";

    EXPECT_EQ(ber::ValueToText(ber::ObjectId, Bytes({0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0x2B})),
              "1.3.6.1.4.1.171");
    EXPECT_EQ(ber::DecodeOidContent(Bytes({0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x00})),
              "1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(ber::DecodeOidContent(Bytes({0x2B, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F})), "1.3.4294967295");
    EXPECT_EQ(ber::DecodeOidContent(Bytes({0x00})), "0.0");
    EXPECT_EQ(ber::DecodeOidContent(Bytes({0x52, 0x01})), "2.2.1");
    EXPECT_EQ(ber::DecodeOidContent(""), "");
    // A last group whose end byte is missing still gives its arc.
    EXPECT_EQ(ber::DecodeOidContent(Bytes({0x2B, 0x06, 0x81})), "1.3.6.1");
    // An arc beyond 32 bits (endless continuation bytes, or 2^32 that would alias arc 0) has no text.
    EXPECT_EQ(ber::DecodeOidContent(Bytes({0x2B}) + std::string(1000, '\xFF')), "");
    EXPECT_EQ(ber::DecodeOidContent(Bytes({0x2B, 0x90, 0x80, 0x80, 0x80, 0x00})), "");

    // Round trip of every name the program walks or reads.
    for (const char* oid :
         {"1.3.6.1.2.1.2", "1.3.6.1.2.1.4.20", "1.3.6.1.2.1.7.5.1.1", "1.3.6.1.4.1.171.11.1.1.1.0",
          "1.3.6.1.2.1.6.13.1.1.192.168.0.1.23.10.0.0.2.1027"})
        EXPECT_EQ(ber::DecodeOidContent(ber::EncodeOidContent(oid)), oid);
}

TEST(SnmpBer, IpAddressOctetsModulo256) {
    EXPECT_EQ(Hex(ber::EncodeIpAddressContent("192.168.0.1")), "C0 A8 00 01");
    EXPECT_EQ(Hex(ber::EncodeIpAddressContent("10.1.2.300")), "0A 01 02 2C");
    EXPECT_EQ(Hex(ber::EncodeIpAddressContent("256.257.-1.1")), "00 01 FF 01");
    EXPECT_EQ(Hex(ber::EncodeIpAddressContent("10.1.2")), "0A 01 02 00");
    EXPECT_EQ(Hex(ber::EncodeIpAddressContent("1.2.3.4.5")), "01 02 03 00") << "the fourth part is the rest";
    EXPECT_EQ(Hex(ber::EncodeIpAddressContent("a.b.c.d")), "00 00 00 00");
    EXPECT_EQ(Hex(ber::EncodeIpAddressContent("")), "00 00 00 00");
    EXPECT_EQ(Hex(ber::EncodeValue(ber::IpAddress, "10.1.2.300")), "40 04 0A 01 02 2C");

    EXPECT_EQ(ber::ValueToText(ber::IpAddress, Bytes({0xC0, 0xA8, 0x00, 0x01})), "192.168.0.1");
    EXPECT_EQ(ber::ValueToText(ber::IpAddress, Bytes({0x0A, 0x00, 0x00, 0xFF})), "10.0.0.255");
    EXPECT_EQ(ber::ValueToText(ber::IpAddress, ""), "");
}

TEST(SnmpBer, ValueToTextRules) {
    // Counter, Gauge, TimeTicks: unsigned.
    EXPECT_EQ(ber::ValueToText(ber::Counter, Bytes({0xFF, 0xFF, 0xFF, 0xFF})), "4294967295");
    EXPECT_EQ(ber::ValueToText(ber::Counter, Bytes({0x00, 0xFF, 0xFF, 0xFF, 0xFF})), "4294967295");
    EXPECT_EQ(ber::ValueToText(ber::TimeTicks, Bytes({0x00, 0x80, 0x00, 0x00, 0x00})), "2147483648");
    EXPECT_EQ(ber::ValueToText(ber::TimeTicks, Bytes({0x80, 0x00, 0x00, 0x00})), "2147483648");
    EXPECT_EQ(ber::ValueToText(ber::Gauge, Bytes({0x00})), "0");
    EXPECT_EQ(ber::ValueToText(ber::Gauge, Bytes({0x01, 0x00})), "256");
    EXPECT_EQ(ber::ValueToText(ber::Counter, ""), "0");
    // INTEGER, BOOLEAN, ENUMERATED: signed 32-bit.
    EXPECT_EQ(ber::ValueToText(ber::Integer, Bytes({0xFF})), "-1");
    EXPECT_EQ(ber::ValueToText(ber::Integer, Bytes({0x00, 0x80})), "128");
    EXPECT_EQ(ber::ValueToText(ber::Integer, Bytes({0x80})), "-128");
    EXPECT_EQ(ber::ValueToText(ber::Integer, Bytes({0xFF, 0x7F})), "-129");
    EXPECT_EQ(ber::ValueToText(ber::Integer, Bytes({0x7F, 0xFF, 0xFF, 0xFF})), "2147483647");
    EXPECT_EQ(ber::ValueToText(ber::Integer, Bytes({0x80, 0x00, 0x00, 0x00})), "-2147483648");
    EXPECT_EQ(ber::ValueToText(ber::Integer, Bytes({0x01, 0x00, 0x00, 0x00, 0x05})), "")
        << "beyond 32 bits: no number";
    EXPECT_EQ(ber::ValueToText(ber::Integer, ""), "0");
    EXPECT_EQ(ber::ValueToText(ber::Boolean, Bytes({0xFF})), "-1");
    EXPECT_EQ(ber::ValueToText(ber::Enumerated, Bytes({0x02})), "2");
    // NULL, strings and unknown tags.
    EXPECT_EQ(ber::ValueToText(ber::Null, ""), "");
    EXPECT_EQ(ber::ValueToText(ber::Null, "junk"), "");
    const std::string raw = Bytes({'a', 0x00, 0x0D, 0x0A, 0x09, 0xFF, ' '});
    EXPECT_EQ(ber::ValueToText(ber::OctetString, raw), raw) << "bytes unchanged, no trimming";
    EXPECT_EQ(ber::ValueToText(ber::Opaque, raw), raw);
    EXPECT_EQ(ber::ValueToText(0x46, raw), raw);
    EXPECT_EQ(ber::ValueToText(0x80, raw), raw);
}

TEST(SnmpBer, DecodesAnAgentResponse) {
    TSNMPRec reply;
    reply.ID = 55;
    ASSERT_TRUE(reply.DecodeBuf(ResponseDatagram()));
    EXPECT_EQ(reply.Version, 0);
    EXPECT_EQ(reply.Community, "public");
    EXPECT_EQ(reply.PDUType, ber::GetResponse);
    EXPECT_EQ(reply.ID, 7);
    EXPECT_EQ(reply.ErrorStatus, 0);
    EXPECT_EQ(reply.ErrorIndex, 0);
    ASSERT_EQ(reply.MIBList.size(), 1u);
    EXPECT_EQ(reply.MIBList[0].OID, "1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(reply.MIBList[0].Value, "rtr1");
    EXPECT_EQ(reply.MIBList[0].ValueType, ber::OctetString);
}

TEST(SnmpBer, NumbersAndNamesOutsideTheirTypeAreMalformed) {
    // The response datagram with its request id, name or value replaced (lengths kept by hand).
    auto with = [](std::string_view from, const std::string& to) {
        std::string d = ResponseDatagram();
        const std::string item(from);
        const std::size_t at = d.find(item);
        d.replace(at, item.size(), to);
        const int grow = static_cast<int>(to.size()) - static_cast<int>(item.size());
        for (std::size_t length : {std::size_t{1}, std::size_t{14}, std::size_t{25}, std::size_t{27}})
            if (length < at) d[length] = static_cast<char>(d[length] + grow);
        return d;
    };
    const std::string id = Bytes({0x02, 0x01, 0x07});
    const std::string name = Bytes({0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x00});
    const std::string value = Bytes({0x04, 0x04}) + "rtr1";
    struct Case {
        std::string_view from;
        std::string to;
        bool fits;
    };
    const Case cases[] = {
        {value, Bytes({0x02, 0x09, 0x01, 0, 0, 0, 0, 0, 0, 0, 0x04}), false}, // 2^64 + 4
        {value, Bytes({0x02, 0x05, 0x00, 0x80, 0, 0, 0}), false},             // 2^31
        {value, Bytes({0x41, 0x05, 0x01, 0, 0, 0, 0}), false},                // Counter 2^32
        {value, Bytes({0x06, 0x06, 0x2B, 0x90, 0x80, 0x80, 0x80, 0x00}), false},
        {id, Bytes({0x02, 0x05, 0x01, 0, 0, 0, 0x07}), false},
        {name, Bytes({0x06, 0x0C, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x05, 0x90, 0x80, 0x80, 0x80, 0x00}),
         false},
        {value, Bytes({0x02, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), true}, // -1, sign repeated
        {value, Bytes({0x41, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}), true},
        {name, Bytes({0x06, 0x06, 0x2B, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}), true}, // arc 2^32 - 1
    };
    for (const Case& c : cases) {
        TSNMPRec rec;
        EXPECT_EQ(rec.DecodeBuf(with(c.from, c.to)), c.fits) << Hex(c.to);
        if (!c.fits) {
            EXPECT_TRUE(rec.MIBList.empty()) << Hex(c.to);
        }
    }
    EXPECT_EQ(ber::DecodeNumber(ber::Integer, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF})), -1);
    EXPECT_EQ(ber::DecodeNumber(ber::Gauge, Bytes({0x00, 0xFF, 0xFF, 0xFF, 0xFF})), 4294967295);
    EXPECT_EQ(ber::DecodeNumber(ber::OctetString, "1"), std::nullopt);
}

TEST(SnmpBer, EncodeDecodeRoundTrip) {
    TSNMPRec out;
    out.Community = std::string("c\0m", 3);
    out.PDUType = ber::GetResponse;
    out.ID = 70000;
    out.ErrorStatus = ber::NoSuchName;
    out.ErrorIndex = 2;
    out.MIBAdd("1.3.6.1.2.1.1.3.0", "4294967295", ber::TimeTicks);
    out.MIBAdd("1.3.6.1.2.1.4.20.1.1.10.0.0.1", "10.0.0.1", ber::IpAddress);
    out.MIBAdd("1.3.6.1.2.1.2.2.1.8.1", "-3", ber::Integer);
    out.MIBAdd("1.3.6.1.2.1.1.2.0", "1.3.6.1.4.1.171.10", ber::ObjectId);
    out.MIBAdd("1.3.6.1.2.1.1.1.0", std::string(300, 'd'), ber::OctetString);
    out.MIBAdd("1.3.6.1.2.1.2.2.1.10.4", "123456789", ber::Counter);
    out.MIBAdd("1.3.6.1.2.1.1.5.0", "", ber::Null);
    TSNMPRec in;
    ASSERT_TRUE(in.DecodeBuf(out.EncodeBuf()));
    EXPECT_EQ(in.Community, out.Community);
    EXPECT_EQ(in.PDUType, out.PDUType);
    EXPECT_EQ(in.ID, out.ID);
    EXPECT_EQ(in.ErrorStatus, out.ErrorStatus);
    EXPECT_EQ(in.ErrorIndex, out.ErrorIndex);
    ASSERT_EQ(in.MIBList.size(), out.MIBList.size());
    for (std::size_t i = 0; i < in.MIBList.size(); ++i) {
        EXPECT_EQ(in.MIBList[i].OID, out.MIBList[i].OID) << i;
        EXPECT_EQ(in.MIBList[i].Value, out.MIBList[i].Value) << i;
        EXPECT_EQ(in.MIBList[i].ValueType, out.MIBList[i].ValueType) << i;
    }
}

TEST(SnmpBer, LenientDecodingRules) {
    TSNMPRec rec;
    // Refused outright: too short, not constructed, outer length beyond the datagram.
    EXPECT_FALSE(rec.DecodeBuf(""));
    EXPECT_FALSE(rec.DecodeBuf(Bytes({0x30})));
    EXPECT_FALSE(rec.DecodeBuf(Bytes({0x02, 0x00})));
    EXPECT_FALSE(rec.DecodeBuf(Bytes({0x30, 0x05, 0x02, 0x01})));
    EXPECT_FALSE(rec.DecodeBuf(Bytes({0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF})));
    EXPECT_FALSE(rec.DecodeBuf(Bytes({0x30, 0xFF, 0xFF})));
    // The smallest acceptable message: nothing inside.
    EXPECT_TRUE(rec.DecodeBuf(Bytes({0x30, 0x00})));
    EXPECT_TRUE(rec.MIBList.empty());

    // Any constructed first tag is accepted, and fields are read in order whatever their tags.
    std::string message = ResponseDatagram();
    message[0] = static_cast<char>(0x21);
    ASSERT_TRUE(rec.DecodeBuf(message));
    EXPECT_EQ(rec.Community, "public");
    EXPECT_EQ(rec.MIBList.size(), 1u);

    // A value that runs past the end of the datagram yields the empty text; the name before it stays.
    std::string overlong = ResponseDatagram();
    const std::size_t valueTag = overlong.find(Bytes({0x04, 0x04}) + "rtr1");
    ASSERT_NE(valueTag, std::string::npos);
    overlong[valueTag + 1] = 0x10;
    ASSERT_TRUE(rec.DecodeBuf(overlong));
    // (reading goes on after the cut-short header, so the value's bytes may make up further bindings)
    ASSERT_GE(rec.MIBList.size(), 1u);
    EXPECT_EQ(rec.MIBList[0].OID, "1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(rec.MIBList[0].Value, "");
    EXPECT_EQ(rec.MIBList[0].ValueType, ber::OctetString);
    // The outer length must fit: the same message cut short by one byte is refused.
    EXPECT_FALSE(rec.DecodeBuf(ResponseDatagram().substr(0, ResponseDatagram().size() - 1)));
    // The check counts two header bytes, so with a long-form outer length the datagram may end early;
    // what is missing reads empty.
    std::string longOuter = ResponseDatagram();
    longOuter.insert(1, 1, static_cast<char>(0x81));
    longOuter.resize(longOuter.size() - 1);
    ASSERT_TRUE(rec.DecodeBuf(longOuter));
    EXPECT_EQ(rec.Community, "public");
    EXPECT_EQ(rec.ID, 7);
    ASSERT_GE(rec.MIBList.size(), 1u);
    EXPECT_EQ(rec.MIBList[0].OID, "1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(rec.MIBList[0].Value, "");

    // A header field that is not a number reads as 0.
    std::string oddId = ResponseDatagram();
    const std::size_t idTag = oddId.find(Bytes({0x02, 0x01, 0x07}));
    ASSERT_NE(idTag, std::string::npos);
    oddId[idTag] = 0x04; // the request id as an OCTET STRING holding byte 7
    ASSERT_TRUE(rec.DecodeBuf(oddId));
    EXPECT_EQ(rec.ID, 0);

    // Long-form lengths, with and without leading zero bytes, are read big-endian.
    const std::string longForm =
        Bytes({0x30, 0x82, 0x00, 0x0B, 0x02, 0x81, 0x01, 0x00, 0x04, 0x83, 0x00, 0x00, 0x02, 'a', 'b'});
    ASSERT_TRUE(rec.DecodeBuf(longForm));
    EXPECT_EQ(rec.Community, "ab");

    // Decoding clears what the record held before.
    rec.MIBAdd("1.3", "x", ber::OctetString);
    EXPECT_TRUE(rec.DecodeBuf(Bytes({0x30, 0x00})));
    EXPECT_TRUE(rec.MIBList.empty());
    EXPECT_EQ(rec.Community, "");
}

TEST(SnmpBer, HostileLengthsStayInsideTheDatagram) {
    TSNMPRec rec;
    const std::string head = Bytes({0x02, 0x01, 0x00, 0x04, 0x01, 'p', 0xA2, 0x00, 0x02, 0x01, 0x01, 0x02,
                                    0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x00});
    auto wrap = [](const std::string& content) {
        return std::string(1, '\x30') + ber::EncodeLength(content.size()) + content;
    };
    // A long-form length of 127 bytes, lengths of 2^64-1, a length of a gigabyte.
    for (const std::string& tail :
         {Bytes({0x30, 0xFF}) + std::string(127, '\xFF'), Bytes({0x30, 0x88}) + std::string(8, '\xFF'),
          Bytes({0x30, 0x84, 0x40, 0x00, 0x00, 0x00, 0x06, 0x01, 0x2B}),
          Bytes({0x30, 0x03, 0x06, 0x7F, 0x2B, 0x05, 0x00}),
          Bytes({0x30, 0x04, 0x06, 0x02, 0x2B, 0x06, 0x04, 0x90}), Bytes({0x30, 0x02, 0x06}),
          Bytes({0x30, 0x02, 0x06, 0x80}), Bytes({0x30, 0x02, 0x06, 0x81})}) {
        ASSERT_TRUE(rec.DecodeBuf(wrap(head + tail))) << Hex(tail);
        for (const TSNMPMib& mib : rec.MIBList)
            EXPECT_LE(mib.Value.size(), tail.size()) << Hex(tail);
    }
    // An OID whose continuation bytes never end: its arc leaves 32 bits, so the message is malformed.
    EXPECT_FALSE(
        rec.DecodeBuf(wrap(head + Bytes({0x30, 0x7F, 0x06, 0x7D, 0x2B}) + std::string(124, '\x81'))));
    EXPECT_TRUE(rec.MIBList.empty());
    // Bindings made of nothing but constructed headers: each read still moves forward, so it ends.
    std::string headers;
    for (int i = 0; i < 1000; ++i)
        headers += Bytes({0x30, 0x00});
    ASSERT_TRUE(rec.DecodeBuf(wrap(head + headers)));
    EXPECT_LE(rec.MIBList.size(), 1000u);
}

TEST(SnmpBer, EveryTruncationAndRandomMutationDecodesSafely) {
    TSNMPRec big;
    big.Community = "public";
    big.PDUType = ber::GetResponse;
    big.ID = 123456;
    for (int i = 0; i < 12; ++i)
        big.MIBAdd("1.3.6.1.2.1.2.2.1." + std::to_string(i + 1) + ".4", std::string(i * 15, 'v'),
                   i % 2 ? ber::OctetString : ber::Counter);
    for (const std::string& valid : {ResponseDatagram(), big.EncodeBuf()}) {
        for (std::size_t n = 0; n <= valid.size(); ++n) {
            TSNMPRec rec;
            const std::string cut = valid.substr(0, n);
            rec.DecodeBuf(cut);
            for (const TSNMPMib& mib : rec.MIBList)
                EXPECT_LE(mib.Value.size(), cut.size());
        }
    }
    std::mt19937 random(20240611);
    const std::string valid = big.EncodeBuf();
    for (int round = 0; round < 20000; ++round) {
        std::string mutated = valid;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % mutated.size();
            switch (random() % 4) {
            case 0:
                mutated[at] = static_cast<char>(random());
                break;
            case 1:
                mutated[at] = static_cast<char>(0x80 | (random() % 9));
                break;
            case 2:
                mutated.erase(at, 1 + random() % 4);
                break;
            default:
                mutated.insert(at, 1, static_cast<char>(random()));
                break;
            }
            if (mutated.empty()) mutated = valid;
        }
        TSNMPRec rec;
        rec.DecodeBuf(mutated);
        ASSERT_LE(rec.MIBList.size(), mutated.size());
    }
}
