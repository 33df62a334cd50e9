// The stand-in's ADSL line in motion: SNR margin and attenuation that drift slowly over time, and a
// scriptable dip of the downstream SNR margin, applied to the router once a second while on.
#pragma once

#include "sim/ControlProtocol.h"
#include "sim/RouterSim.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace sim {

// The line's figures `seconds` after the drift started, with `dipDb` taken off the downstream
// SNR margin (texts with one decimal, as the router sends them).
struct LineFigures {
    std::string downSnr, upSnr, downAtten, upAtten;
};
LineFigures driftedFigures(double seconds, double dipDb);

class LineDrift {
public:
    explicit LineDrift(Router& router) : m_router(router) {}
    ~LineDrift(); // stops

    void start();
    void stop();
    // The downstream SNR margin falls by `db` for `seconds` from now.
    void dip(double db, double seconds);
    // "drift on|off" and "dip <dB> <seconds>".
    void addControlCommands(ControlProtocol& protocol);

private:
    void run();
    double dipNow(std::chrono::steady_clock::time_point now) const;

    Router& m_router;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_running = false;
    std::chrono::steady_clock::time_point m_start, m_dipUntil;
    double m_dipDb = 0;
};

} // namespace sim
