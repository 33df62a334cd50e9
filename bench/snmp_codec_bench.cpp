// SNMP message encoding and decoding, value texts and walk rows.
#include "net/core/SnmpBer.h"
#include "net/core/SnmpWalkRows.h"

#include <benchmark/benchmark.h>

namespace {

TSNMPRec GetRequest() {
    TSNMPRec query;
    query.Community = "quorbex";
    query.PDUType = ber::GetRequest;
    query.MIBAdd("1.3.6.1.2.1.2.2.1.10.4", "", ber::Null);
    return query;
}

std::string TypicalResponse() {
    TSNMPRec reply;
    reply.Community = "quorbex";
    reply.PDUType = ber::GetResponse;
    reply.ID = 1234;
    reply.MIBAdd("1.3.6.1.2.1.2.2.1.10.4", "3050000123", ber::Counter);
    return reply.EncodeBuf();
}

std::string ManyBindingsResponse() {
    TSNMPRec reply;
    reply.Community = "public";
    reply.PDUType = ber::GetResponse;
    for (int i = 1; i <= 40; ++i) {
        reply.MIBAdd("1.3.6.1.2.1.4.21.1.1.10.0." + std::to_string(i) + ".0",
                     "10.0." + std::to_string(i) + ".0", ber::IpAddress);
        reply.MIBAdd("1.3.6.1.2.1.2.2.1.2." + std::to_string(i), "ppp channel " + std::to_string(i),
                     ber::OctetString);
    }
    return reply.EncodeBuf();
}

void BM_EncodeGetRequest(benchmark::State& state) {
    const TSNMPRec query = GetRequest();
    for (auto _ : state)
        benchmark::DoNotOptimize(query.EncodeBuf());
}
BENCHMARK(BM_EncodeGetRequest);

void BM_EncodeSetIpAddress(benchmark::State& state) {
    TSNMPRec query;
    query.Community = "quorbex";
    query.PDUType = ber::SetRequest;
    query.MIBAdd("1.3.6.1.4.1.171.11.30.4.1.1.2.1", "192.168.0.1", ber::IpAddress);
    for (auto _ : state)
        benchmark::DoNotOptimize(query.EncodeBuf());
}
BENCHMARK(BM_EncodeSetIpAddress);

void BM_DecodeResponse(benchmark::State& state) {
    const std::string datagram = TypicalResponse();
    TSNMPRec reply;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reply.DecodeBuf(datagram));
        benchmark::DoNotOptimize(reply.MIBList.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * datagram.size()));
}
BENCHMARK(BM_DecodeResponse);

void BM_DecodeManyBindings(benchmark::State& state) {
    const std::string datagram = ManyBindingsResponse();
    TSNMPRec reply;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reply.DecodeBuf(datagram));
        benchmark::DoNotOptimize(reply.MIBList.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * datagram.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 80));
}
BENCHMARK(BM_DecodeManyBindings);

void BM_OidRoundTrip(benchmark::State& state) {
    const std::string oid = "1.3.6.1.2.1.6.13.1.1.192.168.0.1.23.10.0.0.2.1027";
    for (auto _ : state)
        benchmark::DoNotOptimize(ber::DecodeOidContent(ber::EncodeOidContent(oid)));
}
BENCHMARK(BM_OidRoundTrip);

void BM_WalkRows(benchmark::State& state) {
    std::vector<std::pair<std::string, std::string>> objects;
    for (int column = 1; column <= 13; ++column)
        for (int route = 0; route < 50; ++route)
            objects.emplace_back(
                "1.3.6.1.2.1.4.21.1." + std::to_string(column) + ".10.0." + std::to_string(route) + ".0",
                column == 7 ? std::string("\x0a\x00\x00\x01", 4) : "value \"" + std::to_string(route));
    for (auto _ : state) {
        snmpwalk::WalkRows rows("1.3.6.1.2.1.4.21.1");
        for (const auto& [name, value] : objects)
            rows.Add(name, value);
        benchmark::DoNotOptimize(rows.Lines().data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * objects.size()));
}
BENCHMARK(BM_WalkRows);

} // namespace

BENCHMARK_MAIN();
