// The telnet option layer's state machine.
#include "net/core/TelnetOptions.h"

namespace telnet {

namespace {

std::string command(unsigned char verb, unsigned char option) {
    return {static_cast<char>(Iac), static_cast<char>(verb), static_cast<char>(option)};
}

} // namespace

std::string asciiFilter(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) & 0x7F);
    return out;
}

OptionLayer::OptionLayer(std::string terminalType) : m_terminalType(std::move(terminalType)) {}

void OptionLayer::reset() {
    m_state = State::Data;
    m_sub.clear();
}

OptionLayer::Result OptionLayer::process(std::string_view chunk) {
    Result out;
    out.data.reserve(chunk.size());
    for (char c : chunk)
        step(static_cast<unsigned char>(c), out);
    return out;
}

void OptionLayer::step(unsigned char b, Result& out) {
    switch (m_state) {
    case State::Data:
        if (b == Iac)
            m_state = State::AfterIac;
        else
            out.data += static_cast<char>(b);
        return;
    case State::AfterIac:
        m_state = State::Data;
        if (b == Iac)
            out.data += static_cast<char>(Iac);
        else if (b == Sb)
            m_sub.clear(), m_state = State::AfterSb;
        else if (b == Will)
            m_state = State::AfterWill;
        else if (b == Wont)
            m_state = State::AfterWont;
        else if (b == Do)
            m_state = State::AfterDo;
        else if (b == Dont)
            m_state = State::AfterDont;
        return;
    case State::AfterWill:
        out.replies.push_back(command(b == OptEcho || b == OptEndOfRecord ? Do : Dont, b));
        m_state = State::Data;
        return;
    case State::AfterDo:
        out.replies.push_back(command(b == OptEcho || b == OptTerminalType ? Will : Wont, b));
        m_state = State::Data;
        return;
    case State::AfterWont:
        out.replies.push_back(command(Dont, b));
        m_state = State::Data;
        return;
    case State::AfterDont:
        out.replies.push_back(command(Wont, b));
        m_state = State::Data;
        return;
    case State::AfterSb:
        m_state = b == Iac ? State::SkipOne : State::SubData;
        return;
    case State::SkipOne:
        m_state = State::Data;
        return;
    case State::SubData:
        if (b == Iac)
            m_state = State::SubIac;
        else
            m_sub += static_cast<char>(b);
        return;
    case State::SubIac:
        if (b == Se || b == Sb) {
            answerSubnegotiation(out);
            m_state = b == Se ? State::Data : State::AfterSb;
        } else if (b == Iac) {
            m_sub += static_cast<char>(Iac);
            m_state = State::SubData;
        } else {
            m_state = State::Data;
        }
        return;
    }
}

void OptionLayer::answerSubnegotiation(Result& out) const {
    if (m_sub != std::string(1, static_cast<char>(TermTypeSend))) return;
    std::string reply{static_cast<char>(Iac), static_cast<char>(Sb), static_cast<char>(OptTerminalType),
                      static_cast<char>(TermTypeIs)};
    reply += m_terminalType.empty() ? std::string("dumb") : m_terminalType;
    reply += static_cast<char>(Iac);
    reply += static_cast<char>(Se);
    out.replies.push_back(std::move(reply));
}

} // namespace telnet
