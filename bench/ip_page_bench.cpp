// Time of a full IP page refresh (twenty gets, three table walks, three panes written) against the
// router stand-in holding a large route table, next to net-snmp's `snmpwalk -v1` of the same three
// tables from the same agent. scripts/bench-ip-page.sh runs it and prints the ratio.
//
// KESTRUNE_BENCH_ROUTES sets the number of routes (default 300).
#include "net/RouterEndpoint.h"
#include "net/RouterSession.h"
#include "net/SnmpClient.h"
#include "sim/RouterSim.h"
#include "ui/ExchangeGate.h"
#include "ui/PageFrame.h"
#include "ui/Trigger.h"
#include "ui/UiSeam.h"
#include "views/IpPage.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The status line of the frame around the page; the rest of the frame is not needed here.
class StatusFrame : public PageFrame {
public:
    void setStatus(const QString& text) override { m_status = text; }
    QString statusText() const override { return m_status; }
    void setHelpKeyword(const QString&, bool) override {}
    QWidget* dialogParent() const override { return nullptr; }

private:
    QString m_status;
};

IpPage* g_page = nullptr;
StatusFrame* g_frame = nullptr;
sim::Router* g_router = nullptr;
std::uint16_t g_port = 0;
int g_routes = 300;
const char* const kTables[] = {"1.3.6.1.2.1.4.20", "1.3.6.1.2.1.4.21", "1.3.6.1.2.1.4.22"};

double valuesWalked() {
    double n = 0;
    for (const char* t : kTables)
        n += static_cast<double>(g_router->walk(t).size());
    return n;
}

void BM_IpPageRefresh(benchmark::State& state) {
    for (auto _ : state) {
        // As a click on "&Update" does.
        g_page->refresh(Trigger::Button);
        if (g_frame->statusText() != QLatin1String(" Ready")) {
            state.SkipWithError("the refresh did not end with \" Ready\"");
            break;
        }
    }
    state.counters["routes"] = g_routes;
    state.counters["values"] = valuesWalked();
}

// Runs snmpwalk with its output thrown away; true when it exited with 0.
bool runSnmpwalk(const std::string& base) {
    const std::string target = "127.0.0.1:" + std::to_string(g_port);
    std::vector<std::string> args{"snmpwalk", "-v1", "-c", "quorbex", "-On",  "-Oq",
                                  "-t",       "2",   "-r", "0",       target, base};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, "snmpwalk", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_SnmpwalkThreeTables(benchmark::State& state) {
    for (auto _ : state) {
        for (const char* t : kTables) {
            if (!runSnmpwalk(t)) {
                state.SkipWithError("snmpwalk failed (is net-snmp's snmp package installed?)");
                return;
            }
        }
    }
    state.counters["routes"] = g_routes;
    state.counters["values"] = valuesWalked();
}

BENCHMARK(BM_IpPageRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SnmpwalkThreeTables)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UiSeam::enableTestMode();
    if (const char* r = std::getenv("KESTRUNE_BENCH_ROUTES")) g_routes = std::max(1, std::atoi(r));

    sim::Router router;
    router.makeLargeRouteTable(g_routes);
    sim::SnmpAgent agent(router, "127.0.0.1", 0);
    if (!agent.start()) {
        std::fprintf(stderr, "the stand-in's agent cannot start: %s\n", agent.lastError().c_str());
        return 1;
    }
    g_router = &router;
    g_port = agent.port();
    SnmpSettings snmp;
    snmp.port = g_port;
    snmp.timeoutMs = 2000;

    // The page alone, reading the stand-in through a session that waits as the window's does.
    RouterEndpoint endpoint;
    endpoint.setAddress(QStringLiteral("127.0.0.1"));
    endpoint.setCommunity(QStringLiteral("quorbex"));
    RouterSession session(endpoint, snmp);
    session.setIdleHook(exchangegate::idleHook());
    StatusFrame frame;
    QWidget host;
    IpPage page(&host, session, frame, PaneTools{});
    g_page = &page;
    g_frame = &frame;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_page = nullptr;
    g_frame = nullptr;
    return 0;
}
