// The web client's reply parser on arbitrary bytes: no crash, the same reply whatever the pieces the
// bytes arrive in, a body never above the bound, and redirect targets that are always sendable.
#include "net/core/HttpMessage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

http::ReplyParser parse(std::string_view bytes, std::size_t piece) {
    http::ReplyParser parser(4096);
    for (std::size_t i = 0; i < bytes.size(); i += piece)
        parser.feed(bytes.substr(i, piece));
    parser.close();
    return parser;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const http::ReplyParser whole = parse(bytes, bytes.size() + 1);
    const http::ReplyParser split = parse(bytes, 1 + size % 7);
    check(whole.complete() != whole.failed());
    check(whole.complete() == split.complete() && whole.error() == split.error());
    if (!whole.complete()) return 0;
    const http::Reply& a = whole.reply();
    const http::Reply& b = split.reply();
    check(a.status == b.status && a.statusLine == b.statusLine && a.body == b.body && a.headers == b.headers);
    check(a.body.size() <= 4096 && a.status >= 200 && a.status <= 999);
    if (const auto to = http::resolveLocation(http::Target{"host", 80, "/a/b"}, a.header("Location"))) {
        check(!to->host.empty() && !to->path.empty() && to->path[0] == '/');
        for (char c : to->path)
            check(static_cast<unsigned char>(c) > 0x20);
        for (char c : to->host)
            check(c != '\r' && c != '\n' && c != ' ');
    }
    return 0;
}
