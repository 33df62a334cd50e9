// An SNMPv1 agent on loopback that answers from a sim::Router like sim::SnmpAgent, but stays silent
// for the requests a test chooses: a read that fails in the middle of a refresh, a walk that stops
// part way. The rule sees every request's first binding name and PDU type and returns true to drop it.
#pragma once

#include "sim/RouterSim.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class DroppingAgent {
public:
    using Rule = std::function<bool(const std::string& name, int pduType)>;

    explicit DroppingAgent(sim::Router& router);
    ~DroppingAgent();
    DroppingAgent(const DroppingAgent&) = delete;
    DroppingAgent& operator=(const DroppingAgent&) = delete;

    bool start(); // binds 127.0.0.1 on an ephemeral port
    void stop();
    std::uint16_t port() const { return m_port; }

    void setRule(Rule rule);
    // Drops every request from the first one whose name is `name` on (a router that stops answering).
    void silenceFrom(const std::string& name, int pduType);
    // Drops only the requests whose name is `name`.
    void dropName(const std::string& name, int pduType);
    void clearRule();
    int dropped() const { return m_dropped.load(); }

private:
    void run();

    sim::Router& m_router;
    int m_socket = -1;
    std::uint16_t m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_dropped{0};
    mutable std::mutex m_mutex;
    Rule m_rule;
};
