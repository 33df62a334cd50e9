// The telnet option layer: a byte-wise state machine that removes telnet commands from received
// text and yields the data text plus the answers to send back (RFC 854, 855, 1091).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace telnet {

inline constexpr unsigned char Iac = 255, Dont = 254, Do = 253, Wont = 252, Will = 251, Sb = 250, Se = 240;
inline constexpr unsigned char OptEcho = 1, OptTerminalType = 24, OptEndOfRecord = 25, TermTypeSend = 1,
                               TermTypeIs = 0;

// Clears bit 7 of every byte (the client's ASCII filter).
std::string asciiFilter(std::string_view bytes);

class OptionLayer {
public:
    enum class State {
        Data,
        AfterIac,
        AfterSb,
        AfterWill,
        AfterDo,
        AfterWont,
        AfterDont,
        SkipOne,
        SubData,
        SubIac
    };

    struct Result {
        std::string data;                 // the data text
        std::vector<std::string> replies; // each one write, in order
    };

    explicit OptionLayer(std::string terminalType = "dumb");

    // Runs the chunk through the machine, starting in the state the previous chunk left.
    Result process(std::string_view chunk);
    State state() const { return m_state; }
    void reset();

private:
    void step(unsigned char byte, Result& out);
    void answerSubnegotiation(Result& out) const;

    std::string m_terminalType;
    State m_state = State::Data;
    std::string m_sub;
};

} // namespace telnet
