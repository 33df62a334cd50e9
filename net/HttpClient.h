// HTTP/1.1 GET client over TCP for one request at a time, on the calling thread. Every wait is bounded
// and cut into slices of at most 125 ms; between slices the optional idle hook runs (the window
// passes its event processing there, so it never freezes on a slow server).
#pragma once

#include "net/core/HttpMessage.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

// The client's bounds; the defaults are the program's.
struct HttpSettings {
    int connectTimeoutMs = 10000; // name lookup and TCP connect of one hop
    int requestTimeoutMs = 30000; // a whole Get, redirects included
};

// A failed Get. The message is the server's status line for a reply that is not a success (status
// then holds its code), else a socket, time-out or reply error text (status 0).
class EIdHTTPError : public std::runtime_error {
public:
    EIdHTTPError(const std::string& message, int status) : std::runtime_error(message), m_status(status) {}
    int status() const { return m_status; }

private:
    int m_status;
};

class TIdHTTP {
public:
    explicit TIdHTTP(const HttpSettings& settings = {});

    std::string Host;
    std::uint16_t Port = 80;
    std::string ProtocolVersion = "1.1";
    bool HandleRedirects = false;
    int RedirectMaximum = 15;
    std::string Accept = "text/html, */*";
    std::string UserAgent; // "Kestrune Utility/<version>"
    int ConnectTimeout;    // ms, the settings' connect bound
    int RequestTimeout;    // ms, the settings' request bound
    std::size_t MaxBodyBytes = http::kMaxBodyBytes;
    std::function<void()> OnIdle; // runs between wait slices
    // Whether a redirect may be followed to the address (IPv4, host byte order) its target's host
    // resolved to; the connection goes to that very address. Empty: every redirect is followed.
    std::function<bool(std::uint32_t address)> RedirectAllowed;

    // Gets path (sent unchanged; it begins with "/") from Host:Port and returns the body of a 2xx reply.
    // A 3xx reply is followed to its Location (at most RedirectMaximum times) only while HandleRedirects
    // is on, and only to an address RedirectAllowed accepts. Throws EIdHTTPError for everything else.
    std::string Get(const std::string& path);

    // The last reply's status code and status line (0 and empty when none arrived).
    int ResponseCode = 0;
    std::string ResponseText;

private:
    // A redirect's hop (`redirected`) goes only to an address RedirectAllowed accepts.
    http::Reply fetch(const http::Target& target, bool redirected,
                      std::chrono::steady_clock::time_point deadline);
};
