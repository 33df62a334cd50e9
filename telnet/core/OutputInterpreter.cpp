// The phrase table of the router's output, tested row by row on every chunk and the end of the one
// before it.
#include "telnet/core/OutputInterpreter.h"

#include <algorithm>
#include <cctype>

namespace telnet {

namespace {

// The phrases, matched in any letter case.
constexpr std::string_view LoggedOn = "logged on", LogonFailed = "logon failed",
                           Saving = "Saving configuration..", Saved = "Configuration saved.", Dmt = "dmt\r",
                           Auto = "auto\r", Ansi = "ansi\r", Putting = "putting",
                           Completed = "completed successfully", UnableToOpen = "unable to open",
                           Usage = "usage";
constexpr std::size_t LongestPhrase =
    std::max({LoggedOn.size(), LogonFailed.size(), Saving.size(), Saved.size(), Dmt.size(), Auto.size(),
              Ansi.size(), Putting.size(), Completed.size(), UnableToOpen.size(), Usage.size()});

// The tail and the new chunk side by side; a phrase is found when it ends inside the chunk.
class Window {
public:
    Window(std::string_view tail, std::string_view chunk) : m_tail(tail.size()) {
        m_text.reserve(tail.size() + chunk.size());
        m_text.append(tail).append(chunk);
    }
    bool contains(std::string_view phrase) const {
        auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
        const std::size_t from = m_tail >= phrase.size() ? m_tail - phrase.size() + 1 : 0;
        const std::string_view rest = std::string_view(m_text).substr(std::min(from, m_text.size()));
        return std::search(rest.begin(), rest.end(), phrase.begin(), phrase.end(),
                           [&](char a, char b) { return lower(a) == lower(b); }) != rest.end();
    }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
    std::size_t m_tail;
};

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
void modeRow(Effects& e, const Window& chunk) {
    struct Word {
        std::string_view phrase;
        Mode mode;
        const char* line;
    };
    static const Word words[] = {{Dmt, Mode::GDmt, "Default mode set to G.DMT"},
                                 {Auto, Mode::Auto, "Default mode set to Auto"},
                                 {Ansi, Mode::Ansi, "Default mode set to ANSI"}};
    for (const auto& w : words) {
        if (!chunk.contains(w.phrase)) continue;
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

std::vector<Effect> interpretWindow(const Window& chunk, const std::string& job, Mode checked) {
    std::vector<Effect> out;
    Effects e(out);
    const Pane pane = paneOf(job);
    if (chunk.contains(LoggedOn)) e.append(pane, "Logon succeeded");
    if (chunk.contains(LogonFailed)) failRow(e, pane, "Incorrect password ... logon failed!");
    if (chunk.contains(Saving)) savingRow(e, job, checked);
    if (chunk.contains(Saved)) savedRow(e, job);
    modeRow(e, chunk);
    if (chunk.contains(Putting)) e.append(Pane::Status, "File transfer started ...");
    if (chunk.contains(Completed)) {
        e.append(Pane::Status, "File transfer completed");
        e.done();
    }
    if (chunk.contains(UnableToOpen)) failRow(e, Pane::Status, "File not found ... transfer aborted!");
    if (chunk.contains(Usage)) failRow(e, Pane::Status, "Usage error ... transfer aborted!");
    return out;
}

} // namespace

std::vector<Effect> interpret(std::string_view chunk, const std::string& job, Mode checked) {
    return interpretWindow(Window({}, chunk), job, checked);
}

std::vector<Effect> interpret(std::string_view tail, std::string_view chunk, const std::string& job,
                              Mode checked) {
    return interpretWindow(Window(tail, chunk), job, checked);
}

std::vector<Effect> OutputScanner::feed(std::string_view chunk, const std::string& job, Mode checked) {
    const Window window(m_tail, chunk);
    std::vector<Effect> out = interpretWindow(window, job, checked);
    const std::string& text = window.text();
    m_tail = text.substr(text.size() - std::min(text.size(), LongestPhrase - 1));
    return out;
}

} // namespace telnet
