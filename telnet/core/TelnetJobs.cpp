// The job table and the exact lines each job writes.
#include "telnet/core/TelnetJobs.h"

namespace telnet {

namespace {

const JobEntry Jobs[] = {
    {Job::GetAdslMode, "getadslmode", 15000, PasswordSource::Community, 0, ""},
    {Job::SetAdslMode, "setadslmode", 10000, PasswordSource::Community, 15, "Telnet mode timeout ..."},
    {Job::SetPassword, "setpassword", 10000, PasswordSource::CurrentPassword, 15,
     "Forced telnet disconnect ..."},
    {Job::EventLog, "eventlog", 5000, PasswordSource::Community, 7, "Forced telnet disconnect ..."},
};

const char* modeLine(Mode mode) {
    switch (mode) {
    case Mode::Ansi:
        return "itex mode ansi\r";
    case Mode::GDmt:
        return "itex mode dmt\r";
    default:
        return "itex mode auto\r";
    }
}

} // namespace

const JobEntry& jobEntry(Job job) {
    return Jobs[static_cast<int>(job)];
}

Pane paneOf(const std::string& jobName) {
    return jobName == "setadslmode" || jobName == "getadslmode" ? Pane::AdslModeLog : Pane::Status;
}

std::vector<Line> jobLines(Job job, const JobParams& p) {
    std::vector<Line> lines{{p.password + "\r"}, {"home\r"}};
    switch (job) {
    case Job::GetAdslMode:
        lines.push_back({"itex mode\r"});
        break;
    case Job::SetAdslMode:
        lines.push_back({modeLine(p.mode)});
        lines.push_back({"config save\r"});
        break;
    case Job::SetPassword:
        lines.push_back({"snmp access delete " + p.password + "\r"});
        lines.push_back({"snmp access write " + p.newPassword + "\r"});
        lines.push_back({"snmp config save \r"});
        lines.push_back({"config save\r"});
        break;
    case Job::EventLog:
        lines.push_back({"tftp connect " + p.computerAddress + "\r"});
        lines.push_back({std::string("tftp put ") + EventLogSource + " " + p.fileName + "\r", 300});
        break;
    }
    return lines;
}

} // namespace telnet
