// The settings file's keys: restored at start-up (steps 3 to 6) and written at every close request.
#include "app/Main_Unit.h"

#include "app/Clock.h"
#include "app/OptionItems.h"
#include "app/SettingsFile.h"
#include "app/core/IniFile.h"
#include "app/core/SettingsText.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

namespace {

const QString kProgram = QStringLiteral("Program");
const QString kSystem = QStringLiteral("System Info Settings");
const QString kOptions = QStringLiteral("Options");
const QString kEventLog = QStringLiteral("EventLog");
const QString kQuota = QStringLiteral("Quota");

QString keyId(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

template <int N> const IntervalChoice* findChoice(const IntervalChoice (&choices)[N], const QString& value) {
    for (const IntervalChoice& c : choices)
        if (value == QLatin1String(c.value)) return &c;
    return nullptr;
}

} // namespace

bool TMainForm::restoreSettings(const IniFile& ini, QString& error) {
    auto read = [&](const QString& section, const QString& key, const QString& def) {
        m_readKeys.insert(keyId(section, key));
        return ini.readString(section, key, def);
    };
    auto readBool = [&](const QString& section, const QString& key, bool def) {
        m_readKeys.insert(keyId(section, key));
        return ini.readBool(section, key, def);
    };
    auto action = [this](const char* name) { return w<QAction>(name); };
    auto check = [&](const char* name, bool on) {
        if (QAction* a = action(name)) a->setChecked(on);
    };
    auto startTimer = [this](const char* name) {
        if (auto* t = w<QTimer>(name)) t->start();
    };
    // A choice key: its item checked and its interval set; an unknown value changes nothing.
    auto choice = [&](const QString& key, const auto& choices, const char* timer) {
        if (const IntervalChoice* c = findChoice(choices, read(kOptions, key, QString()))) {
            if (auto* t = w<QTimer>(timer)) t->setInterval(c->ms);
            check(c->item, true);
        }
    };
    auto setEdit = [this](const char* name, const QString& text) {
        if (auto* e = w<QLineEdit>(name)) e->setText(text);
    };

    // 3. The router endpoint.
    setEdit("IpAddress_Edit", read(kSystem, QStringLiteral("IP"), QStringLiteral("192.168.0.1")));
    setEdit("Community_Edit", read(kSystem, QStringLiteral("Community"), QStringLiteral("quorbex")));

    // 4. Options.
    if (readBool(kOptions, QStringLiteral("Link logging"), false)) {
        check("Recordlog", true);
        startTimer("Connect_Timer");
        if (QAction* a = action("Autoreconnect")) a->setEnabled(true);
    }
    choice(QStringLiteral("Link check"), options::kLinkCheck, "Connect_Timer");
    if (read(kOptions, QStringLiteral("Autoreconnect"), QStringLiteral("No")) == QLatin1String("Yes")) {
        QAction* rec = action("Recordlog");
        if (rec && rec->isChecked())
            if (QAction* a = action("Autoreconnect")) {
                a->setEnabled(true);
                a->setChecked(true);
            }
    }
    if (readBool(kOptions, QStringLiteral("Eventlog auto-transfer"), false)) {
        check("EventLogTransfer", true);
        startTimer("EventLog_Timer");
    }
    choice(QStringLiteral("Transfer interval"), options::kEventLog, "EventLog_Timer");
    if (!readBool(kOptions, QStringLiteral("Password"), true)) {
        check("ShowPwd", false);
        check("HidePwd", true);
    }
    if (auto* pwd = w<QLabel>("Pwd_Label")) {
        QAction* show = action("ShowPwd");
        pwd->setVisible(show && show->isChecked());
    }
    if (readBool(kOptions, QStringLiteral("Router uptime"), false)) {
        check("Realtimeupdating", true);
        startTimer("Uptime_Timer");
    }
    choice(QStringLiteral("Uptime update"), options::kUptime, "Uptime_Timer");
    if (readBool(kOptions, QStringLiteral("Quota monitor"), false)) {
        check("MonitorQuota", true);
        startTimer("Quota_Timer");
    }
    choice(QStringLiteral("Quota update"), options::kQuota, "Quota_Timer");
    if (read(kOptions, QStringLiteral("Telnet on startup"), QStringLiteral("Enabled")) ==
        QLatin1String("Enabled"))
        check("TelnetEnabled", true);
    else
        check("TelnetDisabled", true);
    if (readBool(kOptions, QStringLiteral("Interfaces autoupdate"), false)) {
        check("DisplayInRealTime", true);
        startTimer("Interfaces_Timer");
    }
    choice(QStringLiteral("Interfaces update"), options::kInterfaces, "Interfaces_Timer");

    // 5. Quota.
    const bool both = read(kQuota, QStringLiteral("Data"), QStringLiteral("DownloadOnly")) ==
                      QLatin1String("DownloadUpload");
    if (auto* r = w<QRadioButton>(both ? "DownUp_RBut" : "Down_RBut")) r->setChecked(true);

    const QLocale locale;
    const QString fileName = SettingsFile::fileName();
    auto conversionError = [&](const QString& key, const QString& text, const char* what) {
        error =
            QStringLiteral("'%1' is not a valid %2: key \"%3\" in section [%4] of the settings file \"%5\". "
                           "The rest of the start-up was skipped.")
                .arg(text, QLatin1String(what), key, kQuota, fileName);
        return false;
    };

    const QString gbKey = QStringLiteral("ISP bytes in Gigabyte");
    const QString mbKey = QStringLiteral("ISP bytes in Megabyte");
    // Both edits are filled first, then both numbers are taken from them. A key counts as read
    // once its number is taken: a key whose conversion never ran keeps its value at close.
    const QString gbText = ini.readString(kQuota, gbKey, QStringLiteral("1073741824"));
    const QString mbText = ini.readString(kQuota, mbKey, QStringLiteral("1048576"));
    setEdit("Gbytes_Edit", gbText);
    setEdit("MBytes_Edit", mbText);
    m_readKeys.insert(keyId(kQuota, gbKey));
    const auto gb = settingstext::parseNumber(gbText, locale);
    if (!gb) return conversionError(gbKey, gbText, "number");
    st.BytesPerGigabyte = *gb;
    m_readKeys.insert(keyId(kQuota, mbKey));
    const auto mb = settingstext::parseNumber(mbText, locale);
    if (!mb) return conversionError(mbKey, mbText, "number");
    st.BytesPerMegabyte = *mb;

    QString gbQuota = read(kQuota, QStringLiteral("GBQuota"), QStringLiteral("0"));
    if (gbQuota.isEmpty()) gbQuota = QStringLiteral("0");
    setEdit("GBQuota_Edit", gbQuota);
    QString mbUsed = read(kQuota, QStringLiteral("MBUsed"), QStringLiteral("0"));
    if (mbUsed.isEmpty()) mbUsed = QStringLiteral("0");
    setEdit("MBUsed_Edit", mbUsed);
    m_startMBUsed = mbUsed;

    const QString dayKey = QStringLiteral("Reset day");
    const QString dayText = read(kQuota, dayKey, QStringLiteral("0"));
    const auto day = parseIniInteger(dayText);
    if (!day) return conversionError(dayKey, dayText, "integer");
    if (auto* spin = w<QSpinBox>("ResetDay_Edit")) spin->setValue(*day); // kept within 0 to 31

    const QString lastReset = read(kQuota, QStringLiteral("Last reset date"), QStringLiteral("------"));
    if (auto* l = w<QLabel>("LastResetDate_Label")) l->setText(lastReset);
    st.QuotaResetDone = lastReset == settingstext::shortDate(Clock::today(), locale);

    // 6. The event-log directory.
    setEdit("Dir_Edit", read(kEventLog, QStringLiteral("Directory"), QString()));
    return true;
}

std::vector<std::array<QString, 3>> TMainForm::settingsEntries() const {
    std::vector<std::array<QString, 3>> out;
    auto put = [&](const QString& section, const QString& key, const QString& value) {
        out.push_back({section, key, value});
    };
    auto checked = [this](const char* name) {
        QAction* a = w<QAction>(name);
        return a && a->isChecked();
    };
    auto putBool = [&](const QString& key, const char* item) {
        put(kOptions, key, checked(item) ? QStringLiteral("1") : QStringLiteral("0"));
    };
    auto putChoice = [&](const QString& key, const auto& choices) {
        for (const IntervalChoice& c : choices)
            if (checked(c.item)) {
                put(kOptions, key, QLatin1String(c.value));
                return;
            }
    };
    auto putEdit = [&](const QString& section, const QString& key, const char* name) {
        if (auto* e = w<QLineEdit>(name)) put(section, key, e->text());
    };
    const QLocale locale;

    put(kProgram, QStringLiteral("Name"), QStringLiteral("Varo's D-Link Kestrune Utility"));
    put(kProgram, QStringLiteral("Copyright"),
        QStringLiteral("Copyright (C) Kestrune Utility authors. Distributed without any warranty."));
    put(kProgram, QStringLiteral("Version"), QStringLiteral("1.2.0.1"));
    put(kProgram, QStringLiteral("Last used"), settingstext::dateTimeText(Clock::now(), locale));

    putEdit(kSystem, QStringLiteral("IP"), "IpAddress_Edit");
    putEdit(kSystem, QStringLiteral("Community"), "Community_Edit");

    putBool(QStringLiteral("Link logging"), "Recordlog");
    putChoice(QStringLiteral("Link check"), options::kLinkCheck);
    put(kOptions, QStringLiteral("Autoreconnect"),
        checked("Autoreconnect") ? QStringLiteral("Yes") : QStringLiteral("No"));
    putBool(QStringLiteral("Eventlog auto-transfer"), "EventLogTransfer");
    putChoice(QStringLiteral("Transfer interval"), options::kEventLog);
    putBool(QStringLiteral("Password"), "ShowPwd");
    putBool(QStringLiteral("Router uptime"), "Realtimeupdating");
    putChoice(QStringLiteral("Uptime update"), options::kUptime);
    putBool(QStringLiteral("Quota monitor"), "MonitorQuota");
    putChoice(QStringLiteral("Quota update"), options::kQuota);
    putBool(QStringLiteral("Interfaces autoupdate"), "DisplayInRealTime");
    putChoice(QStringLiteral("Interfaces update"), options::kInterfaces);
    put(kOptions, QStringLiteral("Telnet on startup"),
        checked("TelnetEnabled") ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));

    putEdit(kEventLog, QStringLiteral("Directory"), "Dir_Edit");

    auto* down = w<QRadioButton>("Down_RBut");
    auto* downUp = w<QRadioButton>("DownUp_RBut");
    if (down || downUp)
        put(kQuota, QStringLiteral("Data"),
            downUp && downUp->isChecked() ? QStringLiteral("DownloadUpload")
                                          : QStringLiteral("DownloadOnly"));
    put(kQuota, QStringLiteral("ISP bytes in Gigabyte"),
        settingstext::generalNumber(st.BytesPerGigabyte, locale));
    put(kQuota, QStringLiteral("ISP bytes in Megabyte"),
        settingstext::generalNumber(st.BytesPerMegabyte, locale));
    putEdit(kQuota, QStringLiteral("GBQuota"), "GBQuota_Edit");
    if (auto* spin = w<QSpinBox>("ResetDay_Edit"))
        put(kQuota, QStringLiteral("Reset day"), QString::number(spin->value()));
    return out;
}

void TMainForm::saveSettings(IniFile& ini) {
    auto write = [&](const QString& section, const QString& key, const QString& value) {
        const auto unread = m_unreadAtStart.constFind(keyId(section, key));
        if (unread != m_unreadAtStart.cend() && *unread == value) return;
        ini.writeString(section, key, value);
    };
    for (const auto& [section, key, value] : settingsEntries())
        write(section, key, value);

    // 3. to 5. The quota page refresh and the used quota in megabytes.
    const QString mbUsed = MBUsedAtClose();
    write(kQuota, QStringLiteral("MBUsed"), mbUsed);
}
