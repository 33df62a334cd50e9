// The settings file's keys: one table, restored at start-up group by group (router endpoint,
// options, quota, event log) and written at every close request.
#include "app/Main_Unit.h"

#include "app/core/IniFile.h"
#include "app/core/SettingKey.h"
#include "app/core/SettingsFile.h"
#include "app/core/SettingsText.h"
#include "monitor/QuotaMonitor.h"
#include "monitor/core/QuotaMath.h"
#include "ui/Clock.h"
#include "ui/OptionItems.h"
#include "ui/ProgramInfo.h"

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
using settingkeys::EventLog;
using settingkeys::Quota;

QString keyId(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// ---- the kinds of rows ---------------------------------------------------------------------------

SettingKey fixedKey(const QString& key, std::function<QString()> value) {
    return {kProgram,
            key,
            {},
            SettingKind::Text,
            ReadGroup::Never,
            {},
            [value] { return std::optional<QString>(value()); },
            {}};
}

// An edit's text; an empty text read counts as `emptyAs` when that is given.
SettingKey textKey(const QString& section, const QString& key, const QString& def, ReadGroup group,
                   QLineEdit* edit, const QString& emptyAs = QString()) {
    return {section,
            key,
            def,
            SettingKind::Text,
            group,
            [edit, emptyAs](const QString& v, QString&) {
                edit->setText(v.isEmpty() && !emptyAs.isNull() ? emptyAs : v);
                return true;
            },
            [edit] { return std::optional<QString>(edit->text()); },
            {}};
}

// A field of the router endpoint.
SettingKey endpointKey(const QString& key, const QString& def, RouterEndpoint& endpoint,
                       QString (RouterEndpoint::*get)() const, void (RouterEndpoint::*set)(const QString&)) {
    return {kSystem,
            key,
            def,
            SettingKind::Text,
            ReadGroup::Endpoint,
            [&endpoint, set](const QString& v, QString&) {
                (endpoint.*set)(v);
                return true;
            },
            [&endpoint, get] { return std::optional<QString>((endpoint.*get)()); },
            {}};
}

// A monitor's on/off item: checked, and its timer started, when the key is on.
SettingKey flagKey(const QString& key, bool def, QAction* item, QTimer* timer,
                   std::function<void()> alsoWhenOn = {}) {
    return {kOptions,
            key,
            flagText(def),
            SettingKind::Flag,
            ReadGroup::Options,
            [item, timer, alsoWhenOn](const QString& v, QString&) {
                if (v != QLatin1String("1")) return true;
                item->setChecked(true);
                timer->start();
                if (alsoWhenOn) alsoWhenOn();
                return true;
            },
            [item] { return std::optional<QString>(flagText(item->isChecked())); },
            {}};
}

// An interval submenu: the item of the value checked and its interval set; an unknown value
// changes nothing. The close writes the checked item's value, or nothing when none is checked.
SettingKey choiceKey(const QString& key, const IntervalMenu& menu) {
    return {kOptions,
            key,
            {},
            SettingKind::Choice,
            ReadGroup::Options,
            [&menu](const QString& v, QString&) {
                for (std::size_t i = 0; i < menu.choices.size(); ++i)
                    if (v == QLatin1String(menu.choices[i].value)) menu.choose(static_cast<int>(i));
                return true;
            },
            [&menu]() -> std::optional<QString> {
                if (const IntervalChoice* c = menu.checked()) return QString::fromLatin1(c->value);
                return std::nullopt;
            },
            {}};
}

// Two words for a state: `isOn` tells it at close, `setOn` takes the word read.
SettingKey wordKey(const QString& section, const QString& key, const QString& onWord, const QString& offWord,
                   const QString& def, ReadGroup group, std::function<bool()> isOn,
                   std::function<void(bool)> setOn) {
    return {section,
            key,
            def,
            SettingKind::Word,
            group,
            [onWord, setOn](const QString& v, QString&) {
                setOn(v == onWord);
                return true;
            },
            [=] { return std::optional<QString>(isOn() ? onWord : offWord); },
            {}};
}

QString conversionError(const QString& key, const QString& text, const char* what) {
    return QStringLiteral("'%1' is not a valid %2: key \"%3\" in section [%4] of the settings file \"%5\". "
                          "The rest of the start-up was skipped.")
        .arg(text, QLatin1String(what), key, Quota, SettingsFile::fileName());
}

// One of the ISP's unit sizes: shown in its edit, then taken as a number in the locale's format.
SettingKey unitSizeKey(const QString& key, const QString& def, QLineEdit* edit, double& size) {
    return {Quota,
            key,
            def,
            SettingKind::Number,
            ReadGroup::Quota,
            [key, &size](const QString& v, QString& error) {
                const auto n = settingstext::parseNumber(v, QLocale());
                if (!n) {
                    error = conversionError(key, v, "number");
                    return false;
                }
                size = *n;
                return true;
            },
            [&size] { return std::optional<QString>(settingstext::generalNumber(size, QLocale())); },
            [edit](const QString& v) { edit->setText(v); }};
}

} // namespace

std::vector<SettingKey> TMainForm::settingKeys() {
    const MenuItems& mi = ui.menu;
    const TimerWidgets& t = ui.timers;
    const QuotaPageWidgets& q = m_quota->widgets();
    monitor::QuotaFigures& figures = m_quota->figures();
    std::vector<SettingKey> keys{
        fixedKey(QStringLiteral("Name"), [] { return QStringLiteral("Varo's D-Link Kestrune Utility"); }),
        fixedKey(QStringLiteral("Copyright"),
                 [] {
                     return QStringLiteral(
                         "Copyright (C) Kestrune Utility authors. Distributed without any warranty.");
                 }),
        fixedKey(QStringLiteral("Version"), [] { return program::Version; }),
        fixedKey(QStringLiteral("Last used"),
                 [] { return settingstext::dateTimeText(Clock::now(), QLocale()); }),

        // The router endpoint.
        endpointKey(QStringLiteral("IP"), program::DefaultRouterAddress, m_endpoint, &RouterEndpoint::address,
                    &RouterEndpoint::setAddress),
        endpointKey(QStringLiteral("Community"), program::DefaultCommunity, m_endpoint,
                    &RouterEndpoint::community, &RouterEndpoint::setCommunity),

        // Options.
        flagKey(QStringLiteral("Link logging"), false, mi.Recordlog, t.Connect_Timer,
                [a = mi.Autoreconnect] { a->setEnabled(true); }),
        choiceKey(QStringLiteral("Link check"), mi.linkCheck),
        wordKey(
            kOptions, QStringLiteral("Autoreconnect"), QStringLiteral("Yes"), QStringLiteral("No"),
            QStringLiteral("No"), ReadGroup::Options, [a = mi.Autoreconnect] { return a->isChecked(); },
            [a = mi.Autoreconnect, rec = mi.Recordlog](bool on) {
                if (!on || !rec->isChecked()) return;
                a->setEnabled(true);
                a->setChecked(true);
            }),
        flagKey(QStringLiteral("Eventlog auto-transfer"), false, mi.EventLogTransfer, t.EventLog_Timer),
        choiceKey(QStringLiteral("Transfer interval"), mi.transferInterval),
        {kOptions,
         QStringLiteral("Password"),
         flagText(true),
         SettingKind::Flag,
         ReadGroup::Options,
         [show = mi.ShowPwd, hide = mi.HidePwd, pwd = adsl().widgets().Pwd_Label](const QString& v,
                                                                                  QString&) {
             if (v != QLatin1String("1")) {
                 show->setChecked(false);
                 hide->setChecked(true);
             }
             pwd->setVisible(show->isChecked());
             return true;
         },
         [show = mi.ShowPwd] { return std::optional<QString>(flagText(show->isChecked())); },
         {}},
        flagKey(QStringLiteral("Router uptime"), false, mi.Realtimeupdating, t.Uptime_Timer),
        choiceKey(QStringLiteral("Uptime update"), mi.uptimeUpdate),
        flagKey(QStringLiteral("Quota monitor"), false, mi.MonitorQuota, t.Quota_Timer),
        choiceKey(QStringLiteral("Quota update"), mi.quotaUpdate),
        flagKey(QStringLiteral("Interfaces autoupdate"), false, mi.DisplayInRealTime, t.Interfaces_Timer),
        choiceKey(QStringLiteral("Interfaces update"), mi.interfacesUpdate),
        wordKey(
            kOptions, QStringLiteral("Telnet on startup"), QStringLiteral("Enabled"),
            QStringLiteral("Disabled"), QStringLiteral("Enabled"), ReadGroup::Options,
            [on = mi.TelnetEnabled] { return on->isChecked(); },
            [on = mi.TelnetEnabled, off = mi.TelnetDisabled](bool enabled) {
                (enabled ? on : off)->setChecked(true);
            }),

        // The event-log directory (read after the quota keys).
        textKey(EventLog, QStringLiteral("Directory"), QString(), ReadGroup::EventLog,
                misc().widgets().Dir_Edit),

        // Quota.
        wordKey(
            Quota, QStringLiteral("Data"), QStringLiteral("DownloadUpload"), QStringLiteral("DownloadOnly"),
            QStringLiteral("DownloadOnly"), ReadGroup::Quota, [r = q.DownUp_RBut] { return r->isChecked(); },
            [q](bool both) { (both ? q.DownUp_RBut : q.Down_RBut)->setChecked(true); }),
        unitSizeKey(QStringLiteral("ISP bytes in Gigabyte"), QStringLiteral("1073741824"), q.Gbytes_Edit,
                    figures.BytesPerGigabyte),
        unitSizeKey(QStringLiteral("ISP bytes in Megabyte"), QStringLiteral("1048576"), q.MBytes_Edit,
                    figures.BytesPerMegabyte),
        {Quota,
         QStringLiteral("GBQuota"),
         QStringLiteral("0"),
         SettingKind::Text,
         ReadGroup::Quota,
         [e = q.GBQuota_Edit](const QString& v, QString& error) {
             e->setText(v.isEmpty() ? QStringLiteral("0") : v);
             if (quota::parseNumber(e->text(), quota::localeDecimalPoint())) return true;
             error = conversionError(QStringLiteral("GBQuota"), v, "number");
             return false;
         },
         [e = q.GBQuota_Edit] { return std::optional<QString>(e->text()); },
         {}},
        // Written at close after every other key (see saveSettings).
        {Quota,
         settingkeys::MBUsed,
         QStringLiteral("0"),
         SettingKind::Text,
         ReadGroup::Quota,
         [this, e = q.MBUsed_Edit](const QString& v, QString&) {
             m_startMBUsed = v.isEmpty() ? QStringLiteral("0") : v;
             e->setText(m_startMBUsed);
             return true;
         },
         [] { return std::nullopt; },
         {}},
        {Quota,
         QStringLiteral("Reset day"),
         QStringLiteral("0"),
         SettingKind::Integer,
         ReadGroup::Quota,
         [spin = q.ResetDay_Edit](const QString& v, QString& error) {
             const auto day = parseIniInteger(v);
             if (!day) {
                 error = conversionError(QStringLiteral("Reset day"), v, "integer");
                 return false;
             }
             spin->setValue(*day); // kept within 0 to 31
             return true;
         },
         [spin = q.ResetDay_Edit] { return std::optional<QString>(QString::number(spin->value())); },
         {}},
        // Written by the quota monitor at the monthly reset.
        {Quota,
         settingkeys::LastResetDate,
         QStringLiteral("------"),
         SettingKind::Text,
         ReadGroup::Quota,
         [this](const QString& v, QString&) {
             m_quota->restoreLastReset(v);
             return true;
         },
         [] { return std::nullopt; },
         {}},
    };
    for (SettingKey& k : lineHistoryKeys())
        keys.push_back(std::move(k));
    return keys;
}

bool TMainForm::restoreSettings(const IniFile& ini, QString& error) {
    const std::vector<SettingKey> keys = settingKeys();
    auto valueOf = [&](const SettingKey& k) {
        if (k.kind == SettingKind::Flag)
            return flagText(ini.readBool(k.section, k.key, k.def == QLatin1String("1")));
        return ini.readString(k.section, k.key, k.def);
    };
    for (ReadGroup group : {ReadGroup::Endpoint, ReadGroup::Options, ReadGroup::Quota, ReadGroup::EventLog}) {
        for (const SettingKey& k : keys)
            if (k.group == group && k.show) k.show(valueOf(k));
        for (const SettingKey& k : keys) {
            if (k.group != group) continue;
            // A key counts as read once it is taken: a key whose conversion never ran keeps its
            // value at close.
            m_readKeys.insert(keyId(k.section, k.key));
            if (!k.restore(valueOf(k), error)) return false;
        }
    }
    return true;
}

void TMainForm::rememberUnreadKeys() {
    // Keys the stopped start-up never reached keep their values in the file unless the user
    // changes them before closing.
    for (const auto& [section, key, value] : settingsEntries()) {
        const QString id = keyId(section, key);
        if ((section == Quota || section == EventLog) && !m_readKeys.contains(id))
            m_unreadAtStart.insert(id, value);
    }
    const QString mbUsed = keyId(Quota, settingkeys::MBUsed);
    if (!m_readKeys.contains(mbUsed)) m_unreadAtStart.insert(mbUsed, m_startMBUsed);
}

std::vector<std::array<QString, 3>> TMainForm::settingsEntries() {
    std::vector<std::array<QString, 3>> out;
    for (const SettingKey& k : settingKeys())
        if (const std::optional<QString> value = k.save()) out.push_back({k.section, k.key, *value});
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

    // Last, the used quota in megabytes after a quota page refresh.
    write(Quota, settingkeys::MBUsed, MBUsedAtClose());
}
