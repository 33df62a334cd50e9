// The telnet option layer, the router output interpreter and the job lines.
#include "net/core/TelnetOptions.h"
#include "telnet/core/OutputInterpreter.h"
#include "telnet/core/TelnetJobs.h"

#include <gtest/gtest.h>

using namespace telnet;

namespace {

std::string b(std::initializer_list<int> bytes) {
    std::string s;
    for (int v : bytes)
        s += static_cast<char>(v);
    return s;
}

} // namespace

TEST(TelnetOptions, FilteredNegotiationPassesAsDataAndNothingIsSent) {
    OptionLayer layer;
    const auto r = layer.process(asciiFilter(b({255, 251, 1, 'o', 'k', 233})));
    EXPECT_EQ(r.data, b({127, 123, 1, 'o', 'k', 'i'}));
    EXPECT_TRUE(r.replies.empty());
    EXPECT_EQ(layer.state(), OptionLayer::State::Data);
}

TEST(TelnetOptions, UnfilteredCommandsAnswerAsTheTableSays) {
    struct Case {
        std::string in, data;
        std::vector<std::string> replies;
    };
    const std::vector<Case> cases = {
        {b({255, 251, 1}), "", {b({255, 253, 1})}},
        {b({255, 251, 25}), "", {b({255, 253, 25})}},
        {b({255, 251, 3}), "", {b({255, 254, 3})}},
        {b({255, 253, 24}), "", {b({255, 251, 24})}},
        {b({255, 253, 1}), "", {b({255, 251, 1})}},
        {b({255, 253, 31}), "", {b({255, 252, 31})}},
        {b({255, 252, 5}), "", {b({255, 254, 5})}},
        {b({255, 254, 5}), "", {b({255, 252, 5})}},
        {b({'a', 255, 255, 'b'}), b({'a', 255, 'b'}), {}},
        {b({'a', 255, 239, 'b'}), "ab", {}},
        {b({255, 250, 24, 1, 255, 240, 'x'}), "x", {b({255, 250, 24, 0, 'd', 'u', 'm', 'b', 255, 240})}},
        {b({255, 250, 24, 1, 1, 255, 240}), "", {}},
        {b({255, 250, 255, 7, 'z'}), "z", {}},
        // SB inside a subnegotiation answers it and keeps collecting: the second one holds 1 1.
        {b({255, 250, 24, 1, 255, 250, 24, 1, 255, 240}),
         "",
         {b({255, 250, 24, 0, 'd', 'u', 'm', 'b', 255, 240})}},
        {b({255, 250, 24, 5, 255, 7, 'q'}), "q", {}},
    };
    for (const auto& c : cases) {
        OptionLayer layer;
        const auto r = layer.process(c.in);
        EXPECT_EQ(r.data, c.data) << testing::PrintToString(c.in);
        EXPECT_EQ(r.replies, c.replies) << testing::PrintToString(c.in);
    }
}

TEST(TelnetOptions, StateCarriesAcrossChunksAndEmptyTypeMeansDumb) {
    OptionLayer layer("");
    EXPECT_TRUE(layer.process(b({'a', 255, 250})).replies.empty());
    EXPECT_EQ(layer.state(), OptionLayer::State::AfterSb);
    const auto r = layer.process(b({24, 1, 255, 240, 'c'}));
    EXPECT_EQ(r.data, "c");
    ASSERT_EQ(r.replies.size(), 1u);
    EXPECT_EQ(r.replies[0], b({255, 250, 24, 0, 'd', 'u', 'm', 'b', 255, 240}));
}

namespace {

std::vector<std::string> lines(const std::vector<Effect>& effects, Pane pane) {
    std::vector<std::string> out;
    for (const auto& e : effects)
        if (e.kind == Effect::Kind::Append && e.pane == pane) out.push_back(e.text);
    return out;
}

int count(const std::vector<Effect>& effects, Effect::Kind kind) {
    return static_cast<int>(
        std::count_if(effects.begin(), effects.end(), [&](auto& e) { return e.kind == kind; }));
}

} // namespace

TEST(OutputInterpreter, OneChunkFiresSeveralRowsInOrder) {
    const auto e = interpret("LOGGED ON\r\nSaving configuration..\r\nConfiguration saved.\r\n", "setadslmode",
                             Mode::GDmt);
    EXPECT_EQ(lines(e, Pane::AdslModeLog),
              (std::vector<std::string>{"Logon succeeded", "Setting default mode to G.DMT",
                                        "Saving configuration ...", "Configuration saved"}));
    EXPECT_EQ(count(e, Effect::Kind::Done), 1);
    EXPECT_EQ(count(e, Effect::Kind::Saved), 1);
}

TEST(OutputInterpreter, EveryRowByJob) {
    struct Case {
        const char* chunk;
        const char* job;
        Mode checked;
        Pane pane;
        std::vector<std::string> lines;
        int beeps, done;
    };
    const std::vector<Case> cases = {
        {"logon failed",
         "setpassword",
         Mode::None,
         Pane::Status,
         {"Incorrect password ... logon failed!"},
         1,
         1},
        {"Logon Failed",
         "getadslmode",
         Mode::None,
         Pane::AdslModeLog,
         {"Incorrect password ... logon failed!"},
         1,
         1},
        {"saving configuration..",
         "setadslmode",
         Mode::None,
         Pane::AdslModeLog,
         {"Setting default mode to Auto", "Saving configuration ..."},
         0,
         0},
        {"Saving configuration..",
         "setadslmode",
         Mode::Ansi,
         Pane::AdslModeLog,
         {"Setting default mode to ANSI", "Saving configuration ..."},
         0,
         0},
        {"Saving configuration..",
         "setpassword",
         Mode::Ansi,
         Pane::Status,
         {"Password changed", "Saving configuration ..."},
         0,
         0},
        {"Saving configuration..", "eventlog", Mode::Ansi, Pane::Status, {"Saving configuration ..."}, 0, 0},
        {"Configuration saved.", "setpassword", Mode::None, Pane::Status, {"Configuration saved"}, 0, 1},
        {"Configuration saved.", "eventlog", Mode::None, Pane::Status, {}, 0, 1},
        {"default: DMT\r\n",
         "getadslmode",
         Mode::None,
         Pane::AdslModeLog,
         {"Default mode set to G.DMT"},
         0,
         1},
        {"ansi\r auto\r dmt\r",
         "setadslmode",
         Mode::None,
         Pane::AdslModeLog,
         {"Default mode set to G.DMT"},
         0,
         1},
        {"ansi\r auto\r", "getadslmode", Mode::None, Pane::AdslModeLog, {"Default mode set to Auto"}, 0, 1},
        {"ansi\r", "getadslmode", Mode::None, Pane::AdslModeLog, {"Default mode set to ANSI"}, 0, 1},
        {"dmt\n", "getadslmode", Mode::None, Pane::AdslModeLog, {}, 0, 0},
        {"putting x", "eventlog", Mode::None, Pane::Status, {"File transfer started ..."}, 0, 0},
        {"completed successfully", "eventlog", Mode::None, Pane::Status, {"File transfer completed"}, 0, 1},
        {"unable to open",
         "eventlog",
         Mode::None,
         Pane::Status,
         {"File not found ... transfer aborted!"},
         1,
         1},
        {"Usage: tftp", "eventlog", Mode::None, Pane::Status, {"Usage error ... transfer aborted!"}, 1, 1},
        {"", "setpassword", Mode::None, Pane::Status, {}, 0, 0},
        {"Configuration sav", "setpassword", Mode::None, Pane::Status, {}, 0, 0},
    };
    for (const auto& c : cases) {
        const auto e = interpret(c.chunk, c.job, c.checked);
        EXPECT_EQ(lines(e, c.pane), c.lines) << c.chunk;
        EXPECT_EQ(count(e, Effect::Kind::Beep), c.beeps) << c.chunk;
        EXPECT_EQ(count(e, Effect::Kind::Done), c.done) << c.chunk;
    }
    const auto mode = interpret("dmt\r", "getadslmode", Mode::None);
    EXPECT_EQ(mode.front(), (Effect{Effect::Kind::CheckMode, Pane::AdslModeLog, {}, Mode::GDmt}));
}

TEST(OutputInterpreter, PhraseCutAnywhereBetweenReadsCountsOnce) {
    const std::string outputs[] = {"\r\nlogged on\r\n", "Saving configuration..\r\nConfiguration saved.\r\n",
                                   "tftp: File transfer completed successfully\r\n", "dmt\r\n"};
    for (const std::string& output : outputs) {
        const auto whole = interpret(output, "setpassword", Mode::None);
        for (std::size_t cut = 0; cut <= output.size(); ++cut) {
            OutputScanner scanner;
            auto e = scanner.feed(output.substr(0, cut), "setpassword", Mode::None);
            const auto rest = scanner.feed(output.substr(cut), "setpassword", Mode::None);
            e.insert(e.end(), rest.begin(), rest.end());
            EXPECT_EQ(e, whole) << output << " cut at " << cut;
            EXPECT_TRUE(scanner.feed("\r\n# ", "setpassword", Mode::None).empty()) << "counted once";
        }
    }
    OutputScanner scanner;
    scanner.feed("Configuration sav", "setpassword", Mode::None);
    scanner.reset();
    EXPECT_TRUE(scanner.feed("ed.", "setpassword", Mode::None).empty()) << "a new job starts afresh";
}

TEST(TelnetJobs, ExactLinesAndTable) {
    JobParams p;
    p.password = "A";
    p.newPassword = "";
    auto texts = [](const std::vector<Line>& ls) {
        std::vector<std::string> out;
        for (auto& l : ls)
            out.push_back(l.text);
        return out;
    };
    EXPECT_EQ(texts(jobLines(Job::SetPassword, p)),
              (std::vector<std::string>{"A\r", "home\r", "snmp access delete A\r", "snmp access write \r",
                                        "snmp config save \r", "config save\r"}));
    p.mode = Mode::None;
    EXPECT_EQ(texts(jobLines(Job::SetAdslMode, p))[2], "itex mode auto\r");
    p.mode = Mode::GDmt;
    EXPECT_EQ(texts(jobLines(Job::SetAdslMode, p)),
              (std::vector<std::string>{"A\r", "home\r", "itex mode dmt\r", "config save\r"}));
    EXPECT_EQ(texts(jobLines(Job::GetAdslMode, p)),
              (std::vector<std::string>{"A\r", "home\r", "itex mode\r"}));
    p.computerAddress = "192.168.0.2";
    p.fileName = "ev.txt";
    const auto ev = jobLines(Job::EventLog, p);
    EXPECT_EQ(ev[2].text, "tftp connect 192.168.0.2\r");
    EXPECT_EQ(ev[3].text, "tftp put //isfs/eventlog ev.txt\r");
    EXPECT_EQ(ev[3].pauseBeforeMs, 300);
    EXPECT_EQ(jobEntry(Job::EventLog).tickLimit, 7);
    EXPECT_EQ(jobEntry(Job::GetAdslMode).connectTimeoutMs, 15000);
    EXPECT_EQ(paneOf("getadslmode"), Pane::AdslModeLog);
    EXPECT_EQ(paneOf(""), Pane::Status);
}
