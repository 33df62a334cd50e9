// The stand-in keeps its saved configuration in its state file across a restart.
#include "support/SimControl.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// A bare command-line session on the stand-in's telnet port.
class Session {
public:
    explicit Session(std::uint16_t port) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval wait{2, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~Session() { ::close(m_fd); }

    // Sends the line (with its carriage return) and reads until the phrase came; false when it did not.
    bool say(const std::string& line, const std::string& phrase) {
        const std::string out = line + "\r";
        if (!m_connected || ::send(m_fd, out.data(), out.size(), MSG_NOSIGNAL) < 0) return false;
        while (m_seen.find(phrase) == std::string::npos) {
            char buf[512];
            const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
            if (n <= 0) return false;
            m_seen.append(buf, static_cast<std::size_t>(n));
        }
        m_seen.erase(0, m_seen.find(phrase) + phrase.size());
        return true;
    }

private:
    int m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    bool m_connected = false;
    std::string m_seen;
};

std::uint16_t telnetPort(const SimProcess& sim) {
    const std::string answer = sim.command("telnet port").value_or("");
    return answer.rfind("ok ", 0) == 0 ? static_cast<std::uint16_t>(std::stoi(answer.substr(3))) : 0;
}

} // namespace

TEST(SimState, ASavedWriteCommunityAndModeSurviveARestartWithTheSameStateFile) {
    if (SimProcess::binary().empty()) GTEST_SKIP() << "KESTRUNE_SIM_BIN is not set";
    const mode_t oldMask = ::umask(022);
    SimProcess first;
    const std::string state = first.directory() + "/router-state";
    const std::vector<std::string> args = {"--telnet", "127.0.0.1:0", "--state", state};
    ASSERT_TRUE(first.start(args));
    {
        Session s(telnetPort(first));
        ASSERT_TRUE(s.say("quorbex", "logged on"));
        ASSERT_TRUE(s.say("snmp access delete quorbex", "ok"));
        ASSERT_TRUE(s.say("snmp access write tarn-42", "ok"));
        ASSERT_TRUE(s.say("snmp config save ", "snmp settings stored"));
        ASSERT_TRUE(s.say("itex mode ansi", "default mode changed"));
        ASSERT_TRUE(s.say("config save", "Configuration saved."));
        s.say("@close", "bye");
    }
    first.stop();
    struct stat st {};
    ASSERT_EQ(::stat(state.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    SimProcess second;
    ASSERT_TRUE(second.start(args));
    EXPECT_EQ(second.command("telnet mode").value_or(""), "ok ansi");
    {
        Session s(telnetPort(second));
        EXPECT_TRUE(s.say("tarn-42", "logged on"));
        EXPECT_TRUE(s.say("@close", "bye"));
    }
    Session old(telnetPort(second));
    EXPECT_TRUE(old.say("quorbex", "logon failed"));
    ::umask(oldMask);
}
