#include "support/MainFormHarness.h"

#include "app/core/SettingsFile.h"
#include "ui/Clock.h"
#include "ui/UiSeam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace testsupport {

MainFormHarness::MainFormHarness() : MainFormHarness(Options{}) {}

MainFormHarness::MainFormHarness(Options options) : m_options(std::move(options)) {
    m_oldDir = QDir::currentPath();
    m_network = m_options.network;

    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) ADD_FAILURE() << "cannot create a temporary directory";
    QDir::setCurrent(m_dir->path());

    if (m_options.writeSettings) {
        QByteArray bytes;
        if (m_options.rawSettings) {
            bytes = *m_options.rawSettings;
        } else {
            IniFile ini;
            ini.writeString(QStringLiteral("System Info Settings"), QStringLiteral("IP"),
                            QStringLiteral("127.0.0.1"));
            ini.writeString(QStringLiteral("System Info Settings"), QStringLiteral("Community"),
                            QStringLiteral("quorbex"));
            ini.writeString(QStringLiteral("Options"), QStringLiteral("Telnet on startup"),
                            QStringLiteral("Disabled"));
            for (const SettingEntry& e : m_options.settings)
                ini.writeString(e.section, e.key, e.value);
            bytes = ini.serialize();
        }
        QFile f(settingsPath());
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            ADD_FAILURE() << "cannot write " << settingsPath().toStdString();
    }

    if (m_options.startRouter) {
        m_router = std::make_unique<sim::Router>();
        if (m_options.setupRouter) m_options.setupRouter(*m_router);
        m_agent = std::make_unique<sim::SnmpAgent>(*m_router, "127.0.0.1", 0);
        if (!m_agent->start()) ADD_FAILURE() << "the stand-in's agent cannot start: " << m_agent->lastError();
        m_network.snmp.port = m_agent->port();
        m_telnet = std::make_unique<sim::TelnetService>(*m_router);
        if (!m_telnet->start()) ADD_FAILURE() << "the stand-in's command line cannot start";
        m_network.telnet.port = m_telnet->port();
    }
    m_network.telnet.splashTickMs = kSplashTickMs;
    m_network.snmp.timeoutMs = m_options.timeoutMs;

    UiSeam::resetTestRecord();
    Clock::setNow(QDateTime());

    if (m_options.createForm) createForm();
}

MainFormHarness::~MainFormHarness() {
    destroyForm();
    m_telnet.reset();
    if (m_agent) m_agent->stop();
    m_agent.reset();
    m_router.reset();
    QDir::setCurrent(m_oldDir);
    Clock::setNow(QDateTime());
}

TMainForm& MainFormHarness::createForm() {
    if (!m_form) {
        m_form = std::make_unique<TMainForm>(m_network);
        // The tests reach every page's widgets at once; the window builds most pages on first show.
        if (m_options.buildAllPages) m_form->buildAllPages();
    }
    return *m_form;
}

void MainFormHarness::destroyForm() {
    m_form.reset();
}

TMainForm& MainFormHarness::form() {
    if (!m_form) throw std::logic_error("MainFormHarness: no form (createForm() first)");
    return *m_form;
}

sim::Router& MainFormHarness::router() {
    if (!m_router) throw std::logic_error("MainFormHarness: started without a router");
    return *m_router;
}

sim::TelnetService& MainFormHarness::telnet() {
    if (!m_telnet) throw std::logic_error("MainFormHarness: started without a router");
    return *m_telnet;
}

sim::SnmpAgent& MainFormHarness::agent() {
    if (!m_agent) throw std::logic_error("MainFormHarness: started without a router");
    return *m_agent;
}

std::uint16_t MainFormHarness::port() const {
    return m_agent ? m_agent->port() : 0;
}

SnmpSettings MainFormHarness::snmpSettings() const {
    return m_form ? m_form->session().snmpSettings() : m_network.snmp;
}

void MainFormHarness::setSnmpSettings(const SnmpSettings& settings) {
    if (m_form)
        m_form->session().setSnmpSettings(settings);
    else
        m_network.snmp = settings;
}

void MainFormHarness::setSnmpPort(std::uint16_t port) {
    SnmpSettings settings = snmpSettings();
    settings.port = port;
    setSnmpSettings(settings);
}

void MainFormHarness::setSnmpTimeoutMs(int ms) {
    SnmpSettings settings = snmpSettings();
    settings.timeoutMs = ms;
    setSnmpSettings(settings);
}

QString MainFormHarness::dir() const {
    return m_dir->path();
}

QString MainFormHarness::settingsPath() const {
    return QDir(dir()).filePath(SettingsFile::fileName());
}

bool MainFormHarness::settingsExist() const {
    return QFile::exists(settingsPath());
}

QByteArray MainFormHarness::settingsBytes() const {
    QFile f(settingsPath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

IniFile MainFormHarness::settings() const {
    return IniFile(settingsBytes());
}

bool MainFormHarness::closeForm() {
    return form().close();
}

bool networkIsolated() {
    // /proc/self/net/dev lists the interfaces of this process's own network namespace (sysfs may
    // still show the host's).
    QFile dev(QStringLiteral("/proc/self/net/dev"));
    if (!dev.open(QIODevice::ReadOnly)) return false;
    QStringList names;
    for (const QByteArray& line : dev.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0) names << QString::fromLatin1(line.left(colon).trimmed());
    }
    return names == QStringList{QStringLiteral("lo")};
}

} // namespace testsupport
