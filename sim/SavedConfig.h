// The stand-in's saved configuration, kept in a state file across restarts as a router keeps it.
#pragma once

#include <string>

namespace sim {

class Router;
class TelnetService;

// What the router keeps when its configuration is saved.
struct SavedConfig {
    std::string readCommunity;
    std::string writeCommunity; // also the command line's password
    std::string adslMode;       // the default mode word: "auto", "dmt" or "ansi"
    std::string pppUser;        // as the MIB holds them (quoted when the router quotes texts)
    std::string pppPassword;
};

// The configuration in force now; without a command line the mode is "auto".
SavedConfig currentConfig(const Router& router, const TelnetService* telnet);
// Puts a configuration in force, as the router does when it starts with it.
void applyConfig(const SavedConfig& config, Router& router, TelnetService* telnet);

// The state file: "key=value" lines (read-community, write-community, adsl-mode, ppp-user,
// ppp-password) with "\\", "\n", "\r" and "\0" escaped; a key missing from the file keeps the value
// `config` held. Lines starting with "#" and unknown keys are skipped.
enum class LoadResult { Loaded, Missing, Failed };
LoadResult loadConfig(const std::string& path, SavedConfig& config, std::string& error);
// Replaces the file whole (crash-safe), readable and writable by its owner only: it holds passwords.
bool saveConfig(const std::string& path, const SavedConfig& config, std::string& error);

} // namespace sim
