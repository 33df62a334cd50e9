// The interpreter of the router's command-line output: one chunk, the current job and the checked
// mode radio in; the ordered effects on the window out. OutputScanner carries the end of the last
// chunk over, so a phrase cut between two reads is still recognised, and only once.
#pragma once

#include "telnet/core/TelnetJobs.h"

#include <string>
#include <string_view>
#include <vector>

namespace telnet {

struct Effect {
    enum class Kind {
        Append,    // append text to pane
        Beep,      // sound the beep
        CheckMode, // check the mode radio button
        Saved,     // the router confirmed a saved configuration in this chunk
        Done,      // the job reached its final outcome
    };
    Kind kind;
    Pane pane = Pane::Status;
    std::string text;
    Mode mode = Mode::None;

    bool operator==(const Effect&) const = default;
};

// One chunk on its own.
std::vector<Effect> interpret(std::string_view chunk, const std::string& jobName, Mode checked);
// The chunk read after `tail` (the end of the output before it): a phrase counts when it ends inside
// the chunk, wherever it starts, so an occurrence that lay wholly in the tail is not counted again.
std::vector<Effect> interpret(std::string_view tail, std::string_view chunk, const std::string& jobName,
                              Mode checked);

// The output of one job, read by read.
class OutputScanner {
public:
    std::vector<Effect> feed(std::string_view chunk, const std::string& jobName, Mode checked);
    void reset() { m_tail.clear(); }

private:
    std::string m_tail; // the last bytes read, one short of the longest phrase
};

} // namespace telnet
