// Socket moves the stand-in's hostile cases share: streaming without end, and waiting out a peer.
#pragma once

#include <cstddef>
#include <string_view>

namespace sim {

// Sends chunk again and again until the peer goes away, stops reading for 5 s, wakeFd becomes
// readable, or maxBytes went out. Returns the bytes sent.
std::size_t streamWithoutEnd(int fd, int wakeFd, std::string_view chunk, std::size_t maxBytes);

// Sends all of data (waiting up to 5 s whenever the peer's window is full); false when it could not.
bool sendAllOf(int fd, std::string_view data);

// Waits up to ms for the peer to close (or wakeFd to become readable), reading and dropping what
// the peer sends meanwhile.
void waitForPeerToLeave(int fd, int wakeFd, int ms);

} // namespace sim
