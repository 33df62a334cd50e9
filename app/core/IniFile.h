// The settings file: an INI text held wholly in memory while it is used.
//
// A line "[name]" opens a section; a line "key=value" inside a section holds one value (the value is
// everything after the first "="; the key is trimmed). Every other line (blank lines, comments, text
// before the first section, lines without "=") is kept as it is. Untouched content is written back
// byte for byte; a changed value rewrites only its own line; new keys go after the last key of their
// section and new sections at the end of the file. Section and key names match ignoring ASCII case;
// when a key appears twice in a section the first one counts.
//
// Values are bytes in the file: UTF-8 when they are valid UTF-8, Latin-1 otherwise (every byte stays
// visible); values written are UTF-8, except that writing the value a line already holds leaves the line
// byte for byte as it is.
//
// A UTF-8 byte-order mark at the start of the file is not part of the first line; it is written back
// where it was.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QByteArray& content) { parse(content); }

    // Replaces the whole content.
    void parse(const QByteArray& content);
    QByteArray serialize() const;

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    std::optional<QString> value(const QString& section, const QString& key) const;

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The value as an integer (see parseIniInteger); the default when missing or not a number.
    qint32 readInteger(const QString& section, const QString& key, qint32 defaultValue) const;
    // Integer value not 0; the default when missing or not a number.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Line breaks in a value would split the line: each CR or LF is written as a blank. In names,
    // line breaks (and "=" in a key) become blanks and surrounding blanks go; a key that is then
    // empty or begins with ";", "#" or "[" cannot be written (nothing changes).
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, qint64 value);
    void writeBool(const QString& section, const QString& key, bool value); // "1" or "0"

    // Names in order of first appearance.
    std::vector<QString> sections() const;
    std::vector<QString> keys(const QString& section) const;

private:
    struct Line {
        QByteArray text;  // the line without its terminator
        QByteArray eol;   // "\n", "\r\n" or empty (last line without one)
        QByteArray key;   // trimmed key of a "key=value" line inside a section; empty otherwise
        QByteArray value; // text after the first "="
    };
    struct Section {
        QByteArray name;         // empty for the lines before the first section
        std::vector<Line> lines; // the header line first (except for the preamble)
    };

    const Section* findSection(const QString& name) const;
    const Line* findLine(const QString& section, const QString& key) const;
    QByteArray newLineEnding() const;

    std::vector<Section> m_sections; // m_sections[0] is the preamble (no header)
    bool m_byteOrderMark = false;    // the content began with a UTF-8 byte-order mark
};

// An integer text as the settings file holds it: optional blanks around it, an optional sign and
// decimal digits, or "0x"/"0X" followed by hexadecimal digits; it must fit in 32 bits (signed for
// decimal, any 32-bit pattern for hexadecimal). Anything else gives nothing.
std::optional<qint32> parseIniInteger(const QString& text);
