// The stand-in's state file: reading, writing, and the configuration it holds.
#include "sim/SavedConfig.h"

#include "app/core/AtomicFile.h"
#include "net/core/MibObjects.h"
#include "sim/RouterSim.h"
#include "sim/TelnetService.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace sim {
namespace {

constexpr int OctetString = 0x04;

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\0')
            out += "\\0";
        else
            out += c;
    }
    return out;
}

bool unescaped(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        const char c = text[i];
        if (c == '\\')
            out += '\\';
        else if (c == 'n')
            out += '\n';
        else if (c == 'r')
            out += '\r';
        else if (c == '0')
            out += '\0';
        else
            return false;
    }
    return true;
}

// The file's keys and the members they name, in the order they are written.
const std::pair<const char*, std::string SavedConfig::*> Keys[] = {
    {"read-community", &SavedConfig::readCommunity}, {"write-community", &SavedConfig::writeCommunity},
    {"adsl-mode", &SavedConfig::adslMode},           {"ppp-user", &SavedConfig::pppUser},
    {"ppp-password", &SavedConfig::pppPassword},
};

std::string textAt(const Router& router, const char* oid) {
    const auto value = router.get(oid);
    return value ? value->second : std::string();
}

} // namespace

SavedConfig currentConfig(const Router& router, const TelnetService* telnet) {
    return {router.readCommunity(), router.writeCommunity(), telnet ? telnet->defaultMode() : "auto",
            textAt(router, mib::pppUser), textAt(router, mib::pppPassword)};
}

void applyConfig(const SavedConfig& config, Router& router, TelnetService* telnet) {
    router.setCommunities(config.readCommunity, config.writeCommunity);
    router.set(mib::pppUser, OctetString, config.pppUser);
    router.set(mib::pppPassword, OctetString, config.pppPassword);
    if (telnet) telnet->startWithMode(config.adslMode);
}

LoadResult loadConfig(const std::string& path, SavedConfig& config, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) return LoadResult::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return LoadResult::Failed;
    }
    SavedConfig read = config;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const auto eq = line.find('=');
        std::string value;
        if (eq == std::string::npos || !unescaped(line.substr(eq + 1), value)) {
            error = path + ":" + std::to_string(number) + ": not a key=value line";
            return LoadResult::Failed;
        }
        for (const auto& [key, member] : Keys)
            if (line.compare(0, eq, key) == 0 && std::strlen(key) == eq) read.*member = value;
    }
    if (read.adslMode != "auto" && read.adslMode != "dmt" && read.adslMode != "ansi") {
        error = path + ": adsl-mode must be auto, dmt or ansi";
        return LoadResult::Failed;
    }
    config = std::move(read);
    return LoadResult::Loaded;
}

bool saveConfig(const std::string& path, const SavedConfig& config, std::string& error) {
    std::string text = "# kestrune-router-sim: the router's saved configuration\n";
    for (const auto& [key, member] : Keys)
        text += std::string(key) + '=' + escaped(config.*member) + '\n';
    QString why;
    if (atomicfile::write(QString::fromStdString(path), QByteArray::fromStdString(text), why,
                          atomicfile::Access::Private))
        return true;
    error = path + ": " + why.toStdString();
    return false;
}

} // namespace sim
