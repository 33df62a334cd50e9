// The settings file reader and writer on arbitrary bytes: no crash, untouched content written back
// byte for byte, every value written is read back the same, the file keeps its sections and keys,
// and the integer reading agrees with itself.
#include "app/core/IniFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// A name as the file holds it: line breaks and "=" as blanks, blanks and tabs around it dropped.
QByteArray fileName(const QString& name) {
    QByteArray b = name.toUtf8();
    for (char& c : b)
        if (c == '\r' || c == '\n' || c == '=') c = ' ';
    while (!b.isEmpty() && (b.front() == ' ' || b.front() == '\t'))
        b.remove(0, 1);
    while (!b.isEmpty() && (b.back() == ' ' || b.back() == '\t'))
        b.chop(1);
    return b;
}

bool writable(const QString& key) {
    const QByteArray b = fileName(key);
    return !b.isEmpty() && !b.startsWith(';') && !b.startsWith('#') && !b.startsWith('[');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Round trip of untouched content.
    IniFile ini(input);
    check(ini.serialize() == input);

    // Reading every key that exists never fails and agrees with the integer parser.
    for (const QString& section : ini.sections())
        for (const QString& key : ini.keys(section)) {
            check(ini.valueExists(section, key));
            const QString value = ini.readString(section, key, QStringLiteral("\x01"));
            const auto n = parseIniInteger(value);
            check(ini.readInteger(section, key, 12345) == (n ? *n : 12345));
            check(ini.readBool(section, key, true) == (n ? *n != 0 : true));
        }

    // Writes: the last bytes of the input choose a section, a key and a value; earlier keys stay.
    const qsizetype third = input.size() / 3;
    const QString section = QString::fromUtf8(input.left(third)).trimmed();
    const QString key = QString::fromUtf8(input.mid(third, third)).trimmed();
    const QString value = QString::fromUtf8(input.mid(2 * third));
    IniFile before(input);
    ini.writeString(QStringLiteral("Program"), QStringLiteral("Version"), QStringLiteral("1.2.0.1"));
    ini.writeString(section.isEmpty() ? QStringLiteral("S") : section,
                    key.isEmpty() ? QStringLiteral("K") : key, value);
    const QByteArray written = ini.serialize();
    const IniFile after(written);
    check(after.serialize() == written);

    QString expected = value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString s = section.isEmpty() ? QStringLiteral("S") : section;
    const QString k = key.isEmpty() ? QStringLiteral("K") : key;
    if (writable(k)) {
        // A written value comes back as written, and the other write stays unless it was the same key.
        check(after.readString(s, k, QStringLiteral("\x01")) == expected);
        if (fileName(s).compare("Program", Qt::CaseInsensitive) != 0 ||
            fileName(k).compare("Version", Qt::CaseInsensitive) != 0)
            check(after.readString(QStringLiteral("Program"), QStringLiteral("Version"), {}) ==
                  QStringLiteral("1.2.0.1"));
    } else {
        IniFile only(input);
        only.writeString(QStringLiteral("Program"), QStringLiteral("Version"), QStringLiteral("1.2.0.1"));
        check(written == only.serialize());
    }

    // Keys that were there before are still there.
    for (const QString& sec : before.sections())
        for (const QString& key2 : before.keys(sec))
            check(after.valueExists(sec, key2));
    return 0;
}
