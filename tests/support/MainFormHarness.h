// The real main window (TMainForm) against an in-process router stand-in, for widget tests.
//
//   MainFormHarness h;                           // defaults: see Options
//   EXPECT_EQ(h.form().statusText(), " Ready");
//   auto* edit = h.find<QLineEdit>("Contact_Edit");
//   h.router().setSilent(true);
//
// What the constructor does, in order:
//   1. makes a temporary working directory and changes into it (the settings file lives there);
//   2. unless Options::writeSettings is false, writes the settings file: [System Info Settings]
//      IP=127.0.0.1 and Community=quorbex, [Options] Telnet on startup=Disabled, then every entry of
//      Options::settings (an entry with a key already written replaces its value) - or, when
//      Options::rawSettings is set, exactly those bytes;
//   3. unless Options::startRouter is false, starts a sim::Router (default D-Link-like state, then
//      Options::setupRouter) and a sim::SnmpAgent on 127.0.0.1, port 0 (ephemeral);
//   4. makes the window's settings from Options::network: SNMP at the agent's port with a short
//      time-out (Options::timeoutMs, 300 ms by default), telnet at the stand-in's command line on
//      127.0.0.1 (telnet()), the start-up splash's tick shortened to kSplashTickMs;
//   5. clears UiSeam's test record (messages, beeps, queued answers, clipboard) and the clock;
//   6. unless Options::createForm is false, creates the TMainForm - which runs its whole start-up,
//      SNMP requests included, against the stand-in. Queue UiSeam answers before that when the
//      start-up shows boxes (or create the form later with createForm()).
// The destructor destroys the form (no close query), stops the agent, restores the working
// directory and resets the clock.
//
// The settings file's name follows the running executable (kestrune_widget_tests.ini for the widget
// tests); settingsPath() gives it.
#pragma once

#include "app/Main_Unit.h"
#include "app/core/IniFile.h"
#include "sim/RouterSim.h"
#include "sim/TelnetService.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace testsupport {

struct SettingEntry {
    QString section;
    QString key;
    QString value;
};

class MainFormHarness {
public:
    struct Options {
        bool writeSettings = true;
        std::vector<SettingEntry> settings;    // extra keys (or replacements of the defaults)
        std::optional<QByteArray> rawSettings; // the whole file instead
        bool startRouter = true;
        std::function<void(sim::Router&)> setupRouter; // scripting before the form starts
        int timeoutMs = 300;
        NetworkSettings network; // the window's settings, SNMP and telnet as step 4 says
        bool createForm = true;
        // Every page built right after start-up, as the tests that reach widgets by name expect;
        // false leaves the window building its pages when first shown, as the program does.
        bool buildAllPages = true;
    };

    MainFormHarness();
    explicit MainFormHarness(Options options);
    ~MainFormHarness();
    MainFormHarness(const MainFormHarness&) = delete;
    MainFormHarness& operator=(const MainFormHarness&) = delete;

    // Creates the form (start-up sequence included); only when Options::createForm was false.
    TMainForm& createForm();
    // Destroys the form without a close query.
    void destroyForm();
    TMainForm& form();
    bool hasForm() const { return m_form != nullptr; }

    static constexpr int kSplashTickMs = 20; // the start-up splash's tick in tests

    sim::Router& router();
    sim::TelnetService& telnet(); // the stand-in's command line
    sim::SnmpAgent& agent();
    std::uint16_t port() const;
    // The SNMP settings the window has (its session's), or is made with before createForm().
    SnmpSettings snmpSettings() const;
    // Changes them; may be called from any thread while the window exists.
    void setSnmpPort(std::uint16_t port);
    void setSnmpTimeoutMs(int ms);

    QString dir() const;          // the temporary working directory
    QString settingsPath() const; // absolute path of the settings file
    bool settingsExist() const;
    QByteArray settingsBytes() const; // empty when missing
    IniFile settings() const;         // parsed

    // Asks the window to close as the user would (close query included); true when it closed.
    bool closeForm();

    template <class T> T* find(const char* name) { return form().template w<T>(name); }

private:
    Options m_options;
    void setSnmpSettings(const SnmpSettings& settings);

    QString m_oldDir;
    NetworkSettings m_network; // the settings the window is made with
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<sim::Router> m_router;
    std::unique_ptr<sim::SnmpAgent> m_agent;
    std::unique_ptr<sim::TelnetService> m_telnet;
    std::unique_ptr<TMainForm> m_form;
};

// True when this process sees no network interface but "lo" (a private network namespace), so that
// the program's default router address 192.168.0.1 can be used without any packet leaving.
bool networkIsolated();

} // namespace testsupport
