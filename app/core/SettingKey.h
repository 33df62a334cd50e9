// One key of the settings file: where it lives, its default, how it is read and what the close
// writes for it. The window's table of them (TMainForm::settingKeys) drives both directions, so a
// subsystem adds a key by adding one row.
#pragma once

#include <QString>

#include <functional>
#include <optional>

enum class SettingKind {
    Text,    // a text as it stands (an edit, a label)
    Flag,    // "1" or "0" (a menu item's check mark)
    Word,    // one of two words (a pair of items or radio buttons)
    Choice,  // an interval item's value
    Number,  // a number in the locale's format; shown before it is taken, and it may end the start-up
    Integer, // an integer (decimal or hexadecimal); it may end the start-up
};

// When the start-up reads a key: the groups are read in this order, each one whole before the next;
// Never: the start-up does not read it (only the close writes it).
enum class ReadGroup { Never, Endpoint, Options, Quota, EventLog };

struct SettingKey {
    QString section;
    QString key;
    QString def;
    SettingKind kind;
    ReadGroup group;
    // Takes the value read (for a Flag "1" or "0"); false with `error` set ends the start-up.
    std::function<bool(const QString& value, QString& error)> restore;
    // What the close writes; nothing leaves the key as the file holds it.
    std::function<std::optional<QString>()> save;
    // Number keys: shows the text read before any key of the group is taken.
    std::function<void(const QString& value)> show;
};

// The keys other parts of the program name too.
namespace settingkeys {
inline const QString Quota = QStringLiteral("Quota");
inline const QString EventLog = QStringLiteral("EventLog");
inline const QString MBUsed = QStringLiteral("MBUsed");
inline const QString LastResetDate = QStringLiteral("Last reset date");
} // namespace settingkeys
