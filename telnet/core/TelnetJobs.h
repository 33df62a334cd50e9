// The router's command-line jobs as data: name, connect time-out, where the password comes from,
// the lines written after log-on, the tick limit and the line shown when the limit is reached.
#pragma once

#include <string>
#include <vector>

namespace telnet {

enum class Job { GetAdslMode, SetAdslMode, SetPassword, EventLog };
enum class Pane { AdslModeLog, Status };
enum class Mode { None, Auto, GDmt, Ansi }; // the checked default-connection-mode radio button
enum class PasswordSource { Community, CurrentPassword };
enum class TickLimit { Equal, AtLeast };

struct Line {
    std::string text;
    int pauseBeforeMs = 0;
};

// What a job's lines are made of.
struct JobParams {
    std::string password;        // the log-on password
    Mode mode = Mode::None;      // ADSL mode job
    std::string newPassword;     // password job (current = password)
    std::string computerAddress; // event-log job
    std::string fileName;        // event-log job
};

struct JobEntry {
    Job job;
    const char* name;
    int connectTimeoutMs;
    PasswordSource passwordSource;
    int tickLimit; // 0: none
    const char* timeoutLine;
};

const JobEntry& jobEntry(Job job);
// The job pane of a job name ("getadslmode", "setadslmode", ... or anything else).
Pane paneOf(const std::string& jobName);
// The password line, then the command lines, each ended by one carriage return.
std::vector<Line> jobLines(Job job, const JobParams& params);

inline constexpr const char* CloseLine = "@close\r";
// The router's own file that holds its event log.
inline constexpr const char* EventLogSource = "//isfs/eventlog";
inline constexpr const char* BusyText =
    "Another telnet session is in progress ...\r\nPlease try again in a few seconds :)";

} // namespace telnet
