// Slowly drifting line figures and the scripted SNR dip.
#include "sim/LineDrift.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace sim {

namespace {

std::string oneDecimal(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

double wave(double seconds, double period) {
    return std::sin(2 * M_PI * seconds / period);
}

double number(const std::string& text) {
    std::size_t used = 0;
    const double v = std::stod(text, &used);
    if (used != text.size() || !std::isfinite(v) || v < 0) throw std::invalid_argument(text);
    return v;
}

} // namespace

LineFigures driftedFigures(double seconds, double dipDb) {
    const double downSnr = 12.0 + 1.5 * wave(seconds, 900) + 0.4 * wave(seconds, 131) - dipDb;
    return {oneDecimal(std::max(0.0, downSnr)), oneDecimal(18.0 + 0.8 * wave(seconds, 1300)),
            oneDecimal(32.0 + 0.6 * wave(seconds, 1700)), oneDecimal(18.5 + 0.3 * wave(seconds, 2100))};
}

LineDrift::~LineDrift() {
    stop();
}

void LineDrift::start() {
    std::lock_guard lock(m_mutex);
    if (m_running) return;
    m_running = true;
    m_start = std::chrono::steady_clock::now();
    m_thread = std::thread([this] { run(); });
}

void LineDrift::stop() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return;
        m_running = false;
    }
    m_wake.notify_all();
    m_thread.join();
}

void LineDrift::dip(double db, double seconds) {
    std::lock_guard lock(m_mutex);
    m_dipDb = db;
    m_dipUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::llround(seconds * 1000));
}

double LineDrift::dipNow(std::chrono::steady_clock::time_point now) const {
    return now < m_dipUntil ? m_dipDb : 0;
}

void LineDrift::run() {
    std::unique_lock lock(m_mutex);
    while (m_running) {
        const auto now = std::chrono::steady_clock::now();
        const LineFigures f =
            driftedFigures(std::chrono::duration<double>(now - m_start).count(), dipNow(now));
        lock.unlock();
        m_router.setAdslSnr(f.upSnr, f.downSnr);
        m_router.setAdslAttenuation(f.upAtten, f.downAtten);
        lock.lock();
        m_wake.wait_for(lock, std::chrono::seconds(1), [this] { return !m_running; });
    }
}

void LineDrift::addControlCommands(ControlProtocol& protocol) {
    protocol.addCommand("drift", [this](const std::vector<std::string>& args, std::string_view) {
        if (args.size() != 1 || (args[0] != "on" && args[0] != "off"))
            return std::string("error usage: drift on|off");
        args[0] == "on" ? start() : stop();
        return std::string("ok");
    });
    protocol.addCommand("dip", [this](const std::vector<std::string>& args, std::string_view) {
        try {
            if (args.size() != 2) throw std::invalid_argument("count");
            dip(number(args[0]), number(args[1]));
            return std::string("ok");
        } catch (const std::exception&) {
            return std::string("error usage: dip <dB> <seconds>");
        }
    });
}

} // namespace sim
