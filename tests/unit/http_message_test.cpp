// The web client's pure pieces: reply framing in any pieces, malformed replies, request text, and
// redirect targets.
#include "net/core/HttpMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

using namespace http;

namespace {

// Feeds the bytes in pieces of the given size, then closes.
ReplyParser parse(std::string_view bytes, std::size_t piece, std::size_t maxBody = kMaxBodyBytes) {
    ReplyParser parser(maxBody);
    for (std::size_t i = 0; i < bytes.size(); i += piece)
        parser.feed(bytes.substr(i, piece));
    parser.close();
    return parser;
}

} // namespace

TEST(HttpReply, FramingGivesTheSameBodyInAnyPieces) {
    struct Case {
        const char* bytes;
        const char* body;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", "hello"},
        {"HTTP/1.1 200 OK\r\ntransfer-encoding: gzip, Chunked\r\n\r\n3\r\nabc\r\n1f;ext=1\r\n"
         "0123456789012345678901234567890\r\n0\r\nTrailer: x\r\n\r\nEXTRA",
         "abc0123456789012345678901234567890"},
        {"HTTP/1.0 200 OK\r\nServer: x\r\n\r\nup to the close\r\n", "up to the close\r\n"},
        {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\nContent-Length: 2, 2\n\nok", "ok"},
        {"HTTP/1.1 204 No Content\r\nContent-Length: 9\r\n\r\n", ""},
        {"HTTP/1.1 200\r\nX-Folded: a\r\n b\r\nContent-Length: 0\r\n\r\n", ""},
    };
    for (const Case& c : cases) {
        for (std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(1000)}) {
            const ReplyParser p = parse(c.bytes, piece);
            ASSERT_TRUE(p.complete()) << c.bytes << " / " << piece << ": " << p.error();
            EXPECT_EQ(p.reply().body, c.body) << c.bytes;
        }
    }
    EXPECT_EQ(parse(cases[5].bytes, 7).reply().header("x-folded"), "a b");
    EXPECT_EQ(parse(cases[0].bytes, 7).reply().statusLine, "HTTP/1.1 200 OK");
}

TEST(HttpReply, BodyBytesReceivedInPlaceGiveTheSameReply) {
    // A reader that puts body bytes straight into the room the parser offers, at most `bite` at a time,
    // and hands everything else to feed in pieces of 5.
    const auto readInPlace = [](std::string_view bytes, std::size_t bite, std::size_t maxBody) {
        ReplyParser parser(maxBody);
        while (!bytes.empty() && !parser.complete() && !parser.failed()) {
            const std::span<char> room = parser.bodyRoom(bite);
            const std::size_t n = std::min(room.empty() ? 5 : room.size(), bytes.size());
            if (room.empty()) {
                parser.feed(bytes.substr(0, n));
            } else {
                std::copy_n(bytes.data(), n, room.data());
                parser.bodyReceived(n);
            }
            bytes.remove_prefix(n);
        }
        parser.close();
        return parser;
    };
    const std::string big(200000, 'b');
    struct Case {
        std::string bytes;
        std::string body; // empty: fails too large
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\nhello worldEXTRA", "hello world"},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n30d40\r\n" + big + "\r\n0\r\n\r\n",
         "abc" + big},
        {"HTTP/1.0 200 OK\r\n\r\n" + big, big},
        {"HTTP/1.0 200 OK\r\n\r\n" + big + "wxyz", ""},
    };
    for (const Case& c : cases) {
        for (std::size_t bite : {std::size_t(1), std::size_t(7), std::size_t(100000)}) {
            const ReplyParser p = readInPlace(c.bytes, bite, big.size() + 3);
            if (c.body.empty()) {
                EXPECT_EQ(p.error(), kTooLargeText) << bite;
                continue;
            }
            ASSERT_TRUE(p.complete()) << c.bytes.substr(0, 60) << " / " << bite << ": " << p.error();
            EXPECT_EQ(p.reply().body, c.body) << c.bytes.substr(0, 60) << " / " << bite;
        }
    }
}

TEST(HttpReply, BrokenOrOversizedRepliesFailWithTheirReason) {
    struct Case {
        std::string bytes;
        const char* error;
    } cases[] = {
        {"", kClosedEarlyText},
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort", kClosedEarlyText},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nabc", kClosedEarlyText},
        {"HTTP/1.1 100 Continue\r\n\r\n", kClosedEarlyText},
        {"ICY 200 OK\r\n\r\n", kMalformedText},
        {"HTTP/1.1 099 Low\r\n\r\n", kMalformedText},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", kMalformedText},
        {"HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", kMalformedText},
        {"HTTP/1.1 200 OK\r\nBad Header: x\r\n\r\n", kMalformedText},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", kMalformedText},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabX\r\n", kMalformedText},
        {"HTTP/1.1 200 OK\r\nX: " + std::string(kMaxHeadBytes, 'a'), kMalformedText},
        {"HTTP/1.1 200 OK\r\nContent-Length: 101\r\n\r\n", kTooLargeText},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n65\r\n", kTooLargeText},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffffff\r\n", kTooLargeText},
        {"HTTP/1.1 200 OK\r\n\r\n" + std::string(101, 'x'), kTooLargeText},
    };
    for (const Case& c : cases) {
        const ReplyParser p = parse(c.bytes, 4, 100);
        EXPECT_TRUE(p.failed()) << c.bytes;
        EXPECT_EQ(p.error(), c.error) << c.bytes;
    }
}

TEST(HttpRequest, RequestLineAndHeaders) {
    EXPECT_EQ(buildRequest("/~varo/x.txt", "example.org", 80, "1.1", "text/html, */*", "UA/1"),
              "GET /~varo/x.txt HTTP/1.1\r\nHost: example.org\r\nAccept: text/html, */*\r\nUser-Agent: "
              "UA/1\r\n\r\n");
    EXPECT_NE(buildRequest("/", "h", 8080, "1.1", "a", "u").find("\r\nHost: h:8080\r\n"), std::string::npos);
}

TEST(HttpRedirect, LocationsResolveAgainstTheTargetThatAnswered) {
    const Target from{"a.test", 8080, "/dir/page.txt?q=1"};
    struct Case {
        const char* location;
        const char* host;
        int port;
        const char* path;
    } cases[] = {
        {"http://b.test/x", "b.test", 80, "/x"},         {"HTTP://b.test:81", "b.test", 81, "/"},
        {"//c.test/y?z#frag", "c.test", 80, "/y?z"},     {"/top", "a.test", 8080, "/top"},
        {"other.txt", "a.test", 8080, "/dir/other.txt"}, {" new page ", "a.test", 8080, "/dir/new%20page"},
    };
    for (const Case& c : cases) {
        const auto to = resolveLocation(from, c.location);
        ASSERT_TRUE(to) << c.location;
        EXPECT_EQ(to->host, c.host);
        EXPECT_EQ(to->port, c.port);
        EXPECT_EQ(to->path, c.path);
    }
    for (const char* bad : {"", "https://b.test/", "ftp://b.test/", "http://user@b.test/", "http://b.test:0/",
                            "http://b.test:99999/", "http:///x", "#only"})
        EXPECT_FALSE(resolveLocation(from, bad)) << bad;
}
