// Any datagram an agent (or anyone) sends to the SNMP client: decoding, the value texts and the walk's
// row building must stay inside the datagram, end, and never crash.
#include "net/core/SnmpBer.h"
#include "net/core/SnmpWalkRows.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    TSNMPRec reply;
    if (!reply.DecodeBuf(datagram)) return 0;
    // Every read moves forward by at least one byte, so there cannot be more bindings than bytes.
    if (reply.MIBList.size() > size) __builtin_trap();

    const std::string base = reply.MIBList.empty() ? std::string("1.3.6.1.2.1") : reply.MIBList[0].OID;
    snmpwalk::WalkRows rows(base);
    for (const TSNMPMib& mib : reply.MIBList) {
        // The value again from its bytes under every tag of the table, and the name as a request.
        for (std::uint8_t tag : {0x01, 0x02, 0x04, 0x05, 0x06, 0x0A, 0x40, 0x41, 0x42, 0x43, 0x44})
            (void)ber::ValueToText(tag, mib.Value);
        const std::string name = ber::EncodeOidContent(mib.OID);
        (void)ber::DecodeOidContent(name);
        (void)ber::EncodeValue(static_cast<std::uint8_t>(mib.ValueType), mib.Value);
        (void)snmpwalk::InSubtree(base, mib.OID);
        (void)snmpwalk::CompareOids(base, mib.OID);
        rows.Add(mib.OID, mib.Value);
    }
    // What decoded must encode again.
    (void)reply.EncodeBuf();
    return 0;
}
