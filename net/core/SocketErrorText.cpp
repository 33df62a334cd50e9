// Socket error texts.
#include "net/core/SocketErrorText.h"

#include <cstring>

namespace socketerror {

std::string text(int code, std::string_view description) {
    std::string out = "Socket Error # " + std::to_string(code) + "\r\n";
    out.append(description);
    if (out.back() != '.') out += '.';
    return out;
}

std::string fromErrno(int code) {
    return text(code, std::strerror(code));
}

} // namespace socketerror
