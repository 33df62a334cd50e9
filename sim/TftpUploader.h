// The stand-in's TFTP client: uploads the router's event log to the computer the way the router does
// after "tftp connect <address>" and "tftp put //isfs/eventlog <name>".
#pragma once

#include "sim/ControlProtocol.h"
#include "sim/RouterSim.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace sim {

// What the upload does: a whole upload, nothing at all (the computer is out of reach), or the first
// block only, after which the router falls silent.
enum class TftpUploadMode { Normal, Nothing, OneBlock };

struct TftpUploadOptions {
    std::string content; // the file's bytes
    TftpUploadMode mode = TftpUploadMode::Normal;
    int timeoutMs = 1000; // wait for each acknowledgement before sending the packet again
    int tries = 5;        // sends of one packet before giving up
};

// The router's closing texts.
inline constexpr const char* UploadDoneText = "completed successfully";
inline constexpr const char* UploadTimedOutText = "tftp: unable to open connection: timed out";

// A plausible event log of about the given size, lines ended by CR LF.
std::string GenerateEventLog(std::size_t bytes);

// A real TFTP upload (write request in octet mode, 512-byte blocks, one acknowledgement awaited per
// block, retransmission after a time-out) to address:port. Returns UploadDoneText, a text holding
// "unable to open" when the computer refused or never answered, or "" in the modes that leave the
// router silent.
// hostile: the TFTP hostile case (sim/Hostile.h) to play, "" for a proper upload.
std::string uploadEventLog(const std::string& address, std::uint16_t port, const std::string& fileName,
                           const TftpUploadOptions& options, const std::string& hostile = {});

// The stand-in's upload settings, changed through control commands while it runs.
class TftpUploader {
public:
    // The router's TFTP hostile case, when given, applies to every upload.
    explicit TftpUploader(const Router* router = nullptr);
    void setPort(std::uint16_t port);
    // Uploads with the current settings (the hook the router's command line calls).
    std::string upload(const std::string& address, const std::string& fileName);
    // "tftpupload mode normal|nothing|oneblock", "tftpupload size N", "tftpupload port [N]",
    // "tftpupload last" (the closing text of the latest upload).
    void addControlCommands(ControlProtocol& protocol);

private:
    std::string command(const std::vector<std::string>& args);

    const Router* m_router;
    std::mutex m_mutex;
    std::uint16_t m_port = 69;
    TftpUploadOptions m_options;
    std::string m_last;
};

} // namespace sim
