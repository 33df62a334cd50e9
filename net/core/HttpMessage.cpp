// HTTP/1.1 request text, reply parser and redirect targets.
#include "net/core/HttpMessage.h"

#include <algorithm>

namespace http {

namespace {

// The size of the pieces in which a body of unknown length is gathered.
constexpr std::size_t kPieceBytes = 64 * 1024;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Decimal digits only, within 64 bits.
std::optional<std::uint64_t> decimal(std::string_view s) {
    if (s.empty() || s.size() > 19) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : s) {
        if (!isDigit(c)) return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return v;
}

// Content-Length: one number, or a list of equal numbers (a header repeated by a proxy).
std::optional<std::uint64_t> contentLength(std::string_view value) {
    std::optional<std::uint64_t> length;
    while (true) {
        const std::size_t comma = value.find(',');
        const auto v = decimal(trim(value.substr(0, comma)));
        if (!v || (length && *length != *v)) return std::nullopt;
        length = v;
        if (comma == std::string_view::npos) return length;
        value.remove_prefix(comma + 1);
    }
}

// Whether the last transfer coding listed is chunked.
bool endsChunked(std::string_view value) {
    const std::size_t comma = value.rfind(',');
    std::string_view last = trim(comma == std::string_view::npos ? value : value.substr(comma + 1));
    last = trim(last.substr(0, last.find(';')));
    return equalNoCase(last, "chunked");
}

std::string percentEncodeOdd(std::string_view s) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c <= 0x20 || c == 0x7f) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

std::string Reply::header(std::string_view name) const {
    for (const auto& [n, v] : headers)
        if (equalNoCase(n, name)) return v;
    return {};
}

ReplyParser::ReplyParser(std::size_t maxBody) : m_maxBody(maxBody) {}

void ReplyParser::feed(std::string_view bytes) {
    if (m_state == State::Done || m_state == State::Failed) return;
    // The bytes are read where they are; only an incomplete line is kept for the next piece.
    const bool held = !m_in.empty();
    if (held) {
        m_in.append(bytes);
        m_view = m_in;
    } else {
        m_view = bytes;
    }
    m_pos = 0;
    while (step()) {
    }
    if (m_state == State::Failed || m_state == State::Done)
        m_in.clear();
    else if (held)
        m_in.erase(0, m_pos);
    else
        m_in.assign(m_view.substr(m_pos));
    m_view = {};
    m_pos = 0;
}

std::span<char> ReplyParser::bodyRoom(std::size_t most) {
    if (!m_in.empty() || most == 0) return {};
    std::size_t n = 0;
    switch (m_state) {
    case State::LengthBody:
    case State::ChunkData:
        n = static_cast<std::size_t>(std::min<std::uint64_t>(most, m_left));
        break;
    case State::CloseBody: // one byte past the limit shows that the body is too large
        n = std::min(most, m_maxBody + 1 - m_bodySize);
        break;
    default:
        return {};
    }
    std::string& tail = bodyTail();
    n = std::min(n, tail.capacity() - tail.size());
    const std::size_t at = tail.size();
    tail.resize(at + n);
    m_room = n;
    return {tail.data() + at, n};
}

void ReplyParser::bodyReceived(std::size_t n) {
    if (m_room == 0) return;
    n = std::min(n, m_room);
    std::string& tail = m_state == State::LengthBody ? m_reply.body : m_pieces.back();
    tail.resize(tail.size() - m_room + n);
    m_room = 0;
    if (n > 0) bodyTaken(n);
}

void ReplyParser::close() {
    if (m_state == State::CloseBody)
        finishBody();
    else if (m_state != State::Done && m_state != State::Failed)
        fail(kClosedEarlyText);
}

bool ReplyParser::fail(const char* text) {
    m_state = State::Failed;
    m_error = text;
    return false;
}

// One line ended by LF (a CR before it is dropped); false while the line is not complete. The part of
// an incomplete line already searched is not searched again, so a long line costs linear time.
bool ReplyParser::takeLine(std::string& line) {
    const std::size_t lf = m_view.find('\n', m_pos + m_scanned);
    if (lf == std::string_view::npos) {
        m_scanned = m_view.size() - m_pos;
        if (m_headBytes + m_scanned > kMaxHeadBytes) fail(kMalformedText);
        return false;
    }
    m_scanned = 0;
    m_headBytes += lf + 1 - m_pos;
    if (m_headBytes > kMaxHeadBytes) return fail(kMalformedText);
    std::size_t end = lf;
    if (end > m_pos && m_view[end - 1] == '\r') --end;
    line.assign(m_view.substr(m_pos, end - m_pos));
    m_pos = lf + 1;
    return true;
}

// Moves the state on by one piece of input; false when more input is needed or the reply ended.
bool ReplyParser::step() {
    std::string line;
    switch (m_state) {
    case State::StatusLine:
        return takeLine(line) && statusLine(line);
    case State::Headers:
        return takeLine(line) && headerLine(line);
    case State::ChunkSize:
        return takeLine(line) && chunkSize(line);
    case State::ChunkEnd:
        if (!takeLine(line)) return false;
        if (!line.empty()) return fail(kMalformedText);
        m_state = State::ChunkSize;
        return true;
    case State::Trailers:
        if (!takeLine(line)) return false;
        if (line.empty()) finishBody();
        return m_state != State::Done;
    case State::LengthBody:
    case State::ChunkData:
    case State::CloseBody:
        return appendBody(m_view.size() - m_pos);
    case State::Done:
    case State::Failed:
        return false;
    }
    return false;
}

bool ReplyParser::statusLine(const std::string& line) {
    // "HTTP/d.d SSS[ reason]"
    if (line.size() < 12 || line.compare(0, 5, "HTTP/") != 0 || !isDigit(line[5]) || line[6] != '.' ||
        !isDigit(line[7]) || line[8] != ' ' || !isDigit(line[9]) || !isDigit(line[10]) ||
        !isDigit(line[11]) || line[9] == '0' || (line.size() > 12 && line[12] != ' '))
        return fail(kMalformedText);
    m_reply = Reply{};
    m_reply.statusLine = line;
    m_reply.status = std::stoi(line.substr(9, 3));
    m_state = State::Headers;
    return true;
}

bool ReplyParser::headerLine(const std::string& line) {
    if (line.empty()) return headersDone();
    if (line[0] == ' ' || line[0] == '\t') { // an obsolete folded line continues the header before it
        if (m_reply.headers.empty()) return fail(kMalformedText);
        auto& value = m_reply.headers.back().second;
        value += ' ';
        value += trim(line);
        return true;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) return fail(kMalformedText);
    const std::string_view name = std::string_view(line).substr(0, colon);
    if (name.find_first_of(" \t") != std::string_view::npos) return fail(kMalformedText);
    m_reply.headers.emplace_back(std::string(name),
                                 std::string(trim(std::string_view(line).substr(colon + 1))));
    return true;
}

bool ReplyParser::headersDone() {
    const int status = m_reply.status;
    if (status >= 100 && status < 200) { // interim reply: the real one follows
        m_state = State::StatusLine;
        return true;
    }
    if (status == 204 || status == 304) {
        m_state = State::Done;
        return false;
    }
    const std::string coding = m_reply.header("Transfer-Encoding");
    if (!coding.empty()) {
        m_state = endsChunked(coding) ? State::ChunkSize : State::CloseBody;
        return true;
    }
    const std::string length = m_reply.header("Content-Length");
    if (length.empty()) {
        m_state = State::CloseBody;
        return true;
    }
    for (const auto& [n, v] : m_reply.headers) // every copy must agree
        if (equalNoCase(n, "Content-Length") && contentLength(v) != contentLength(length))
            return fail(kMalformedText);
    const auto n = contentLength(length);
    if (!n) return fail(kMalformedText);
    if (*n > m_maxBody) return fail(kTooLargeText);
    m_left = *n;
    m_reply.body.reserve(static_cast<std::size_t>(*n));
    m_state = m_left == 0 ? State::Done : State::LengthBody;
    return m_state != State::Done;
}

bool ReplyParser::chunkSize(const std::string& line) {
    std::string_view size = trim(std::string_view(line).substr(0, line.find(';')));
    if (size.empty() || size.size() > 15) return fail(size.empty() ? kMalformedText : kTooLargeText);
    std::uint64_t v = 0;
    for (char c : size) {
        const char l = lower(c);
        const int digit = isDigit(l) ? l - '0' : (l >= 'a' && l <= 'f') ? l - 'a' + 10 : -1;
        if (digit < 0) return fail(kMalformedText);
        v = v * 16 + static_cast<std::uint64_t>(digit);
    }
    if (v > m_maxBody - m_bodySize) return fail(kTooLargeText);
    m_left = v;
    m_headBytes = 0; // each size line and the trailers have their own allowance
    m_state = v == 0 ? State::Trailers : State::ChunkData;
    return true;
}

bool ReplyParser::appendBody(std::size_t available) {
    if (available == 0) return false;
    std::size_t take = available;
    if (m_state != State::CloseBody)
        take = static_cast<std::size_t>(std::min<std::uint64_t>(available, m_left));
    if (m_state == State::CloseBody && m_bodySize + take > m_maxBody) return fail(kTooLargeText);
    for (std::size_t left = take; left > 0;) {
        std::string& tail = bodyTail();
        const std::size_t n = std::min(left, tail.capacity() - tail.size());
        tail.append(m_view.substr(m_pos, n));
        m_pos += n;
        left -= n;
    }
    return bodyTaken(take);
}

// n more body bytes are in the reply.
bool ReplyParser::bodyTaken(std::size_t n) {
    m_bodySize += n;
    if (m_state == State::CloseBody) {
        if (m_bodySize > m_maxBody) return fail(kTooLargeText);
        return false;
    }
    m_left -= n;
    if (m_left > 0) return false;
    if (m_state == State::ChunkData) {
        m_state = State::ChunkEnd;
        return true;
    }
    finishBody();
    return false;
}

// Where the next body bytes go, with room for at least one. A body of known length goes straight into
// the reply (its room was reserved with the headers); one of unknown length is gathered in pieces of a
// fixed size and joined once at its end, so that growing never moves it and the same memory serves
// the next reply.
std::string& ReplyParser::bodyTail() {
    if (m_state == State::LengthBody) return m_reply.body;
    if (m_pieces.empty() || m_pieces.back().size() == m_pieces.back().capacity()) {
        m_pieces.emplace_back();
        m_pieces.back().reserve(kPieceBytes);
    }
    return m_pieces.back();
}

void ReplyParser::finishBody() {
    m_state = State::Done;
    if (m_pieces.empty()) return;
    m_reply.body.reserve(m_bodySize);
    for (const std::string& piece : m_pieces)
        m_reply.body.append(piece);
    m_pieces.clear();
}

std::string buildRequest(std::string_view path, std::string_view host, std::uint16_t port,
                         std::string_view version, std::string_view accept, std::string_view userAgent) {
    std::string r;
    r.reserve(128 + path.size() + host.size() + userAgent.size());
    r.append("GET ").append(path).append(" HTTP/").append(version).append("\r\n");
    r.append("Host: ").append(host);
    if (port != 80) r.append(":").append(std::to_string(port));
    r.append("\r\nAccept: ").append(accept).append("\r\nUser-Agent: ").append(userAgent).append("\r\n\r\n");
    return r;
}

std::optional<Target> resolveLocation(const Target& from, std::string_view location) {
    location = trim(location);
    location = location.substr(0, location.find('#'));
    if (location.empty()) return std::nullopt;
    Target to = from;
    std::string_view rest = location;
    const std::size_t colon = location.find(':');
    const std::size_t slash = location.find('/');
    if (colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash)) {
        if (!equalNoCase(location.substr(0, colon), "http")) return std::nullopt;
        rest = location.substr(colon + 1);
        if (rest.substr(0, 2) != "//") return std::nullopt;
    }
    if (rest.substr(0, 2) == "//") { // an authority: host[:port]
        rest.remove_prefix(2);
        const std::size_t end = std::min(rest.find('/'), rest.find('?'));
        std::string_view authority = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        if (authority.find('@') != std::string_view::npos) return std::nullopt;
        to.port = 80;
        const std::size_t portColon = authority.rfind(':');
        if (portColon != std::string_view::npos) {
            const auto p = decimal(authority.substr(portColon + 1));
            if (!p || *p == 0 || *p > 65535) return std::nullopt;
            to.port = static_cast<std::uint16_t>(*p);
            authority = authority.substr(0, portColon);
        }
        if (authority.empty() || authority.find_first_of(" \t\r\n\\") != std::string_view::npos)
            return std::nullopt;
        to.host = std::string(authority);
        to.path = rest.empty() || rest[0] != '/' ? "/" + std::string(rest) : std::string(rest);
    } else if (rest[0] == '/') {
        to.path = std::string(rest);
    } else { // relative to the directory of the path that answered
        const std::string base = from.path.substr(0, from.path.find('?'));
        to.path = base.substr(0, base.rfind('/') + 1) + std::string(rest);
        if (to.path.empty() || to.path[0] != '/') to.path = "/" + to.path;
    }
    to.path = percentEncodeOdd(to.path);
    return to;
}

} // namespace http
