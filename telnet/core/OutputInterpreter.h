// The interpreter of the router's command-line output: one chunk, the current job and the checked
// mode radio in; the ordered effects on the window out. It keeps no state between chunks.
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

std::vector<Effect> interpret(std::string_view chunk, const std::string& jobName, Mode checked);

} // namespace telnet
