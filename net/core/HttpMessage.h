// HTTP/1.1 messages of a GET client: the request text, the reply parser (status line, headers, and a
// body delimited by Content-Length, by chunked coding or by the closing of the connection) and the
// resolution of a redirect's Location. Pure: bytes in, values out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace http {

// A body larger than this is refused (far above anything the program fetches).
inline constexpr std::size_t kMaxBodyBytes = 16u * 1024 * 1024;
// The status line and the headers together (and a chunk's size line or trailers) may not exceed this.
inline constexpr std::size_t kMaxHeadBytes = 64u * 1024;

// Why a reply cannot be used.
inline constexpr const char* kClosedEarlyText = "Connection closed before the reply was complete.";
inline constexpr const char* kMalformedText = "The server's reply is not valid HTTP.";
inline constexpr const char* kTooLargeText = "The server's reply is larger than 16 MiB.";

struct Reply {
    std::string statusLine; // as the server sent it, without the line end: "HTTP/1.1 404 Not Found"
    int status = 0;
    std::vector<std::pair<std::string, std::string>> headers; // names as sent, values trimmed
    std::string body;
    // The first header of that name (letter case ignored); empty when absent.
    std::string header(std::string_view name) const;
};

// Reads one reply from the bytes of a connection, in pieces of any size. Interim 1xx replies are
// skipped; 204 and 304 replies have no body.
class ReplyParser {
public:
    explicit ReplyParser(std::size_t maxBody = kMaxBodyBytes);
    // The next bytes received. Bytes after a complete reply are ignored.
    void feed(std::string_view bytes);
    // The peer closed the connection: completes a close-delimited body, else cuts the reply short.
    void close();
    // For a reader that can put bytes where they belong: while the parser is inside a body and holds no
    // bytes of its own, room for up to `most` of the next body bytes at the end of the body (never past
    // the chunk or the length); empty otherwise, and then the bytes go to feed(). bodyReceived(n) tells
    // that the first n bytes of that room were filled (0 for none).
    std::span<char> bodyRoom(std::size_t most);
    void bodyReceived(std::size_t n);
    bool complete() const { return m_state == State::Done; }
    bool failed() const { return m_state == State::Failed; }
    // When failed: one of the texts above.
    const std::string& error() const { return m_error; }
    const Reply& reply() const { return m_reply; }
    Reply takeReply() { return std::move(m_reply); }

private:
    enum class State {
        StatusLine,
        Headers,
        LengthBody,
        ChunkSize,
        ChunkData,
        ChunkEnd,
        Trailers,
        CloseBody,
        Done,
        Failed
    };
    bool step();
    bool takeLine(std::string& line);
    bool statusLine(const std::string& line);
    bool headerLine(const std::string& line);
    bool headersDone();
    bool chunkSize(const std::string& line);
    bool appendBody(std::size_t want);
    bool bodyTaken(std::size_t n);
    std::string& bodyTail();
    void finishBody();
    bool fail(const char* text);

    std::size_t m_maxBody;
    State m_state = State::StatusLine;
    std::string m_in;        // an incomplete line left from the last piece
    std::string_view m_view; // the bytes being read
    std::size_t m_pos = 0;
    std::size_t m_scanned = 0; // how much of an incomplete line in m_in holds no line end
    std::size_t m_room = 0;    // the size of the room handed out by bodyRoom
    std::size_t m_headBytes = 0;
    std::uint64_t m_left = 0; // body or chunk bytes still to come
    Reply m_reply;
    std::vector<std::string> m_pieces; // a body of unknown length, until it is complete
    std::size_t m_bodySize = 0;
    std::string m_error;
};

// The request text: request line, Host (with ":port" unless it is 80), Accept, User-Agent, empty line.
std::string buildRequest(std::string_view path, std::string_view host, std::uint16_t port,
                         std::string_view version, std::string_view accept, std::string_view userAgent);

struct Target {
    std::string host;
    std::uint16_t port = 80;
    std::string path = "/";
};
// Where a Location header points from the target that answered it: "http://host[:port]/path",
// "//host/path", "/path" or a path relative to the target's directory. The fragment is dropped; blanks
// and control bytes are percent-encoded. Nothing for another scheme or a malformed authority.
std::optional<Target> resolveLocation(const Target& from, std::string_view location);

} // namespace http
