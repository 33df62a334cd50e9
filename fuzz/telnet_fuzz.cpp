// The telnet option layer and the router output interpreter on arbitrary bytes: no crash; with the
// ASCII filter on the layer passes every byte through and never answers; unfiltered, the data text
// never outgrows the input and every answer is a 3-byte command or the terminal-type answer; the
// interpreter's effects are well formed whatever the chunk.
#include "net/core/TelnetOptions.h"
#include "telnet/core/OutputInterpreter.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

const char* const Jobs[] = {"getadslmode", "setadslmode", "setpassword", "eventlog", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = input.empty() ? 0 : data[0] % (input.size() + 1);

    telnet::OptionLayer filtered;
    const std::string ascii = telnet::asciiFilter(input);
    auto a = filtered.process(std::string_view(ascii).substr(0, cut));
    auto b = filtered.process(std::string_view(ascii).substr(cut));
    check(a.replies.empty() && b.replies.empty() && a.data + b.data == ascii);

    telnet::OptionLayer raw;
    std::size_t out = 0;
    for (const auto& part : {input.substr(0, cut), input.substr(cut)}) {
        const auto r = raw.process(part);
        out += r.data.size();
        for (const auto& reply : r.replies)
            check(reply.size() == 3 || reply == std::string("\xff\xfa\x18\x00"
                                                            "dumb\xff\xf0",
                                                            10));
    }
    check(out <= input.size());

    const auto job = Jobs[data[0] % 5];
    const auto mode = static_cast<telnet::Mode>(data[0] % 4);
    int done = 0;
    for (const auto& e : telnet::interpret(ascii, job, mode)) {
        done += e.kind == telnet::Effect::Kind::Done;
        check(e.kind != telnet::Effect::Kind::Append || !e.text.empty());
        check(e.kind != telnet::Effect::Kind::CheckMode || e.mode != telnet::Mode::None);
    }
    check(done <= 6);
    return 0;
}
