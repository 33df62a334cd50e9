// The phrase table of the router's output, tested row by row on every chunk.
#include "telnet/core/OutputInterpreter.h"

#include <algorithm>
#include <cctype>

namespace telnet {

namespace {

bool contains(std::string_view chunk, std::string_view phrase) {
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::search(chunk.begin(), chunk.end(), phrase.begin(), phrase.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != chunk.end();
}

class Effects {
public:
    explicit Effects(std::vector<Effect>& out) : m_out(out) {}
    void append(Pane pane, std::string text) {
        m_out.push_back({Effect::Kind::Append, pane, std::move(text), Mode::None});
    }
    void beep() { m_out.push_back({Effect::Kind::Beep, Pane::Status, {}, Mode::None}); }
    void check(Mode mode) { m_out.push_back({Effect::Kind::CheckMode, Pane::AdslModeLog, {}, mode}); }
    void saved() { m_out.push_back({Effect::Kind::Saved, Pane::Status, {}, Mode::None}); }
    void done() { m_out.push_back({Effect::Kind::Done, Pane::Status, {}, Mode::None}); }

private:
    std::vector<Effect>& m_out;
};

const char* settingLine(Mode checked) {
    switch (checked) {
    case Mode::Ansi:
        return "Setting default mode to ANSI";
    case Mode::GDmt:
        return "Setting default mode to G.DMT";
    default:
        return "Setting default mode to Auto";
    }
}

void savingRow(Effects& e, const std::string& job, Mode checked) {
    if (job == "setadslmode") {
        e.append(Pane::AdslModeLog, settingLine(checked));
        e.append(Pane::AdslModeLog, "Saving configuration ...");
    } else if (job == "setpassword") {
        e.append(Pane::Status, "Password changed");
        e.append(Pane::Status, "Saving configuration ...");
    } else {
        e.append(Pane::Status, "Saving configuration ...");
    }
}

void savedRow(Effects& e, const std::string& job) {
    if (job == "setadslmode")
        e.append(Pane::AdslModeLog, "Configuration saved");
    else if (job == "setpassword")
        e.append(Pane::Status, "Configuration saved");
    e.saved();
    e.done();
}

// The router's default mode: the first word found wins.
void modeRow(Effects& e, std::string_view chunk) {
    struct Word {
        const char* phrase;
        Mode mode;
        const char* line;
    };
    static const Word words[] = {{"dmt\r", Mode::GDmt, "Default mode set to G.DMT"},
                                 {"auto\r", Mode::Auto, "Default mode set to Auto"},
                                 {"ansi\r", Mode::Ansi, "Default mode set to ANSI"}};
    for (const auto& w : words) {
        if (!contains(chunk, w.phrase)) continue;
        e.check(w.mode);
        e.append(Pane::AdslModeLog, w.line);
        e.done();
        return;
    }
}

void failRow(Effects& e, Pane pane, const char* line) {
    e.beep();
    e.append(pane, line);
    e.done();
}

} // namespace

std::vector<Effect> interpret(std::string_view chunk, const std::string& job, Mode checked) {
    std::vector<Effect> out;
    Effects e(out);
    const Pane pane = paneOf(job);
    if (contains(chunk, "logged on")) e.append(pane, "Logon succeeded");
    if (contains(chunk, "logon failed")) failRow(e, pane, "Incorrect password ... logon failed!");
    if (contains(chunk, "Saving configuration..")) savingRow(e, job, checked);
    if (contains(chunk, "Configuration saved.")) savedRow(e, job);
    modeRow(e, chunk);
    if (contains(chunk, "putting")) e.append(Pane::Status, "File transfer started ...");
    if (contains(chunk, "completed successfully")) {
        e.append(Pane::Status, "File transfer completed");
        e.done();
    }
    if (contains(chunk, "unable to open")) failRow(e, Pane::Status, "File not found ... transfer aborted!");
    if (contains(chunk, "usage")) failRow(e, Pane::Status, "Usage error ... transfer aborted!");
    return out;
}

} // namespace telnet
