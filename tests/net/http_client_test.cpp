// The web client against loopback servers: python's http.server, scripted replies, and the stand-in's
// HTTP listener (dial on demand, version file).
#include "support/HttpTestServer.h"
#include "support/SimControl.h"

#include "monitor/ReachabilityProbe.h"
#include "net/HttpClient.h"
#include "net/WebServers.h"
#include "sim/HttpService.h"
#include "update/VersionFetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace {

ScriptedHttpServer::Answer answer(std::string bytes) {
    return {std::move(bytes), false};
}

std::string get(std::uint16_t port, const std::string& path, bool follow = false, int* idleCalls = nullptr,
                const HttpSettings& settings = {}) {
    TIdHTTP http(settings);
    http.Host = "127.0.0.1";
    http.Port = port;
    http.HandleRedirects = follow;
    if (idleCalls) http.OnIdle = [idleCalls] { ++*idleCalls; };
    return http.Get(path);
}

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EIdHTTPError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(HttpClient, AgainstPythonHttpServer) {
    char dir[] = "/tmp/kestrune-http-XXXXXX";
    ASSERT_TRUE(::mkdtemp(dir));
    std::ofstream(std::string(dir) + "/v.txt", std::ios::binary) << "1.2.0.1\r\n17/03/2004\r\n";
    std::ofstream(std::string(dir) + "/empty.txt", std::ios::binary);
    ::mkdir((std::string(dir) + "/sub").c_str(), 0755);
    std::ofstream(std::string(dir) + "/sub/empty.txt", std::ios::binary);
    {
        PythonHttpServer server(dir);
        if (server.port() == 0) GTEST_SKIP() << "python3 -m http.server could not start";
        EXPECT_EQ(get(server.port(), "/v.txt"), "1.2.0.1\r\n17/03/2004\r\n");
        EXPECT_EQ(get(server.port(), "/empty.txt"), "");
        EXPECT_EQ(errorOf([&] { get(server.port(), "/missing"); }).substr(0, 13), "HTTP/1.0 404 ");
        // A directory without its slash is a 301 to the slash form: an error unless followed.
        EXPECT_EQ(errorOf([&] { get(server.port(), "/sub"); }).substr(0, 13), "HTTP/1.0 301 ");
        EXPECT_NE(get(server.port(), "/sub", true).find("empty.txt"), std::string::npos);
    }
    std::system((std::string("rm -rf ") + dir).c_str());
}

TEST(HttpClient, ScriptedReplies) {
    ScriptedHttpServer server([](const std::string& request) {
        const std::string path = request.substr(4, request.find(' ', 4) - 4);
        if (path == "/empty") return answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
        if (path == "/404") return answer("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot here!");
        if (path == "/302")
            return answer("HTTP/1.1 302 Found\r\nLocation: /target\r\nContent-Length: 0\r\n\r\n");
        if (path == "/abs") return answer("HTTP/1.1 301 Moved\r\nLocation: http://127.0.0.1:1/x\r\n\r\n");
        if (path == "/target") return answer("HTTP/1.1 200 OK\r\n\r\narrived");
        if (path.rfind("/loop", 0) == 0)
            return answer("HTTP/1.1 302 Found\r\nLocation: loop" +
                          std::to_string(std::stoi("0" + path.substr(5)) + 1) +
                          "\r\nContent-Length: 0\r\n\r\n");
        if (path == "/chunked")
            return answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: "
                          "chunked\r\n\r\n4\r\nabcd\r\nA;x\r\n0123456789\r\n0\r\n\r\n");
        if (path == "/early") return answer("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly part");
        if (path == "/trickle") return ScriptedHttpServer::Answer{"HTTP/1.1 200 OK\r\n\r\nslowly", false, 25};
        if (path == "/huge") return answer("HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\n");
        return ScriptedHttpServer::Answer{"", true};
    });
    const auto port = server.port();
    EXPECT_EQ(get(port, "/empty"), "");
    EXPECT_EQ(errorOf([&] { get(port, "/404"); }), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(errorOf([&] { get(port, "/302"); }), "HTTP/1.1 302 Found");
    EXPECT_EQ(get(port, "/302", true), "arrived");
    EXPECT_EQ(get(port, "/chunked"), "abcd0123456789");
    EXPECT_EQ(errorOf([&] { get(port, "/early"); }), http::kClosedEarlyText);
    EXPECT_EQ(errorOf([&] { get(port, "/huge"); }), http::kTooLargeText);
    // An absolute Location is followed to its host and port: nobody listens on port 1.
    EXPECT_EQ(errorOf([&] { get(port, "/abs", true); }), "Socket Error # 111\r\nConnection refused.");

    const std::size_t before = server.requests().size();
    EXPECT_EQ(errorOf([&] { get(port, "/loop", true); }), "HTTP/1.1 302 Found");
    EXPECT_EQ(server.requests().size() - before, 16u); // the request and 15 redirects
    EXPECT_EQ(server.requests().back().substr(0, 20), "GET /loop15 HTTP/1.1");

    const std::string head = server.requests().front();
    EXPECT_NE(head.find("\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nAccept: text/html, */*\r\n"), std::string::npos);
    EXPECT_NE(head.find("\r\nUser-Agent: Kestrune Utility/1.2.0.1"), std::string::npos);

    // A server that never answers: the whole request is bounded, and the caller's hook keeps running.
    HttpSettings bounded;
    bounded.requestTimeoutMs = 600;
    int idleCalls = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { get(port, "/silent", false, &idleCalls, bounded); }), "Read timed out.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_GE(idleCalls, 3);

    // Data that keep trickling in do not hold the hook back either (about 0.6 s of bytes).
    idleCalls = 0;
    EXPECT_EQ(get(port, "/trickle", false, &idleCalls), "slowly");
    EXPECT_GE(idleCalls, 3);
}

TEST(HttpClient, NameAndConnectionErrors) {
    EXPECT_EQ(errorOf([] { get(1, "/"); }), "Socket Error # 111\r\nConnection refused.");
    TIdHTTP http;
    http.Host = ""; // a name the resolver refuses without asking any server
    EXPECT_EQ(errorOf([&] { http.Get("/"); }), "Socket Error # -2\r\nName or service not known.");
}

TEST(StandInHttp, DialOnDemandAndVersionFile) {
    sim::Router router;
    sim::HttpService service(router);
    ASSERT_TRUE(service.start()) << service.lastError();
    webconfig::setProbeServer({"127.0.0.1", service.port()});
    webconfig::setUpdateServer({"127.0.0.1", service.port()});
    service.setDialDelayMs(200);

    router.setPppLink(false);
    service.setDialEnabled(false);
    ReachabilityProbe(HttpSettings{});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(router.operStatus(sim::PppIf), 2); // dialing off: the link stays down

    service.setDialEnabled(true);
    ReachabilityProbe(HttpSettings{});
    EXPECT_EQ(router.operStatus(sim::PppIf), 2); // not before the delay
    for (int i = 0; i < 50 && router.operStatus(sim::PppIf) != 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(router.operStatus(sim::PppIf), 1);
    EXPECT_EQ(router.operStatus(sim::WanIf), 1);
    EXPECT_EQ(service.dialCount(), 1u);

    sim::ControlProtocol protocol(router);
    service.addCommands(protocol);
    EXPECT_EQ(protocol.execute("version 1.3.0.0\\r\\nsoon\\r\\n"), "ok");
    const VersionFetchResult fetched = FetchVersionFile(HttpSettings{});
    EXPECT_TRUE(fetched.ok) << fetched.error;
    EXPECT_EQ(fetched.body, "1.3.0.0\r\nsoon\r\n");
    EXPECT_EQ(protocol.execute("dial delay 50"), "ok delay 50 on dials 1");

    webconfig::setUpdateServer({"127.0.0.1", 1});
    const VersionFetchResult failed = FetchVersionFile(HttpSettings{});
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, "Socket Error # 111\r\nConnection refused.");
}

// The probe only shows that the line is up: a redirect to the computer itself (or the router, or
// the LAN) is not followed, whether its Location names the address or a host that resolves to it.
TEST(ReachabilityProbeRedirects, NotFollowedToANonPublicAddress) {
    const webconfig::Server old = webconfig::probeServer();
    ScriptedHttpServer target([](const std::string&) { return answer("HTTP/1.1 200 OK\r\n\r\n"); });
    for (const std::string host : {"127.0.0.1", "localhost"}) {
        const std::string location = "http://" + host + ":" + std::to_string(target.port()) + "/";
        ScriptedHttpServer first([&](const std::string&) {
            return answer("HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n");
        });
        webconfig::setProbeServer({"127.0.0.1", first.port()});
        ReachabilityProbe(HttpSettings{});
        EXPECT_EQ(first.requests().size(), 1u) << host;
        EXPECT_EQ(target.requests().size(), 0u) << host;
    }
    webconfig::setProbeServer(old);
}

TEST(ReachabilityProbeRedirects, FollowedToAnAddressTheCheckAccepts) {
    const webconfig::Server old = webconfig::probeServer();
    ScriptedHttpServer target([](const std::string&) { return answer("HTTP/1.1 200 OK\r\n\r\n"); });
    const std::string location = "http://127.0.0.1:" + std::to_string(target.port()) + "/";
    ScriptedHttpServer first([&](const std::string&) {
        return answer("HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n");
    });
    webconfig::setProbeServer({"127.0.0.1", first.port()});
    ReachabilityProbe(HttpSettings{}, {}, [](std::uint32_t address) { return address == 0x7F000001; });
    EXPECT_EQ(target.requests().size(), 1u);
    webconfig::setProbeServer(old);
}

TEST(StandInHttp, ProcessOptionAndControlCommands) {
    if (SimProcess::binary().empty()) GTEST_SKIP() << "KESTRUNE_SIM_BIN is not set";
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--http", "127.0.0.1:0"}));
    const std::string http = sim.command("http").value_or("");
    ASSERT_EQ(http.rfind("ok port ", 0), 0u) << http;
    const auto port = static_cast<std::uint16_t>(std::stoi(http.substr(8)));
    const std::string file = sim.directory() + "/version.txt";
    std::ofstream(file, std::ios::binary) << "1.2.0.2\n\n17/03/2005";
    EXPECT_EQ(sim.command("version file " + file), "ok");
    EXPECT_EQ(get(port, webconfig::updatePath()), "1.2.0.2\n\n17/03/2005");
    EXPECT_EQ(sim.command("dial off"), "ok delay 2000 off dials 0");
    EXPECT_EQ(sim.command("dial delay x").value_or("").rfind("error", 0), 0u);
}
