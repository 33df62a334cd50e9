#include "app/core/IniFile.h"

#include <QStringDecoder>

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimmed(const QByteArray& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

bool sameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "[name]" (blanks allowed around the line and inside the brackets) gives the name.
std::optional<QByteArray> sectionHeader(const QByteArray& line) {
    const QByteArray t = trimmed(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
    return trimmed(t.mid(1, t.size() - 2));
}

// Gives a line that a new line is about to follow a full line ending.
template <class Line> void endLine(Line& line, const QByteArray& eol) {
    if (line.eol.isEmpty())
        line.eol = eol;
    else if (line.eol == "\r")
        line.eol = "\r\n";
}

// A name or value as text. A byte-order mark inside the file is a character like any other (the
// plain UTF-8 conversion would drop one at the start of the text, and a key "\uFEFF" would vanish).
QString fromFileBytes(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    if (!view.isValidUtf8()) return QString::fromLatin1(bytes);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

QByteArray toFileBytes(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

// Names on one line: line breaks become blanks, and so does "=" in a key (it would end the key).
QByteArray fileName(QByteArray bytes, bool key) {
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    if (key) bytes.replace('=', ' ');
    return trimmed(bytes);
}

// A name given by the caller, as the file would hold it (the form it is written in), or as it came
// out of the file: a name read from a file that is not UTF-8 comes back as Latin-1 text (see
// fromFileBytes) and may hold characters that the written form replaces.
struct Name {
    QByteArray bytes;
    std::vector<QByteArray> alternatives;
    Name(const QString& name, bool key) : bytes(fileName(name.toUtf8(), key)) {
        alternatives.push_back(trimmed(name.toUtf8()));
        bool latin1 = true;
        for (QChar c : name)
            if (c.unicode() > 0xff) latin1 = false;
        if (latin1) {
            alternatives.push_back(trimmed(name.toLatin1()));
            alternatives.push_back(fileName(name.toLatin1(), key));
        }
    }
    bool matches(const QByteArray& inFile) const {
        if (sameName(inFile, bytes)) return true;
        for (const QByteArray& a : alternatives)
            if (sameName(inFile, a)) return true;
        return false;
    }
};

// A key line must read back as one: a name that would make it a comment or a section header, or
// no name at all, cannot be written.
bool writableKey(const QByteArray& key) {
    return !key.isEmpty() && !key.startsWith(';') && !key.startsWith('#') && !key.startsWith('[');
}

} // namespace

void IniFile::parse(const QByteArray& content) {
    m_sections.clear();
    m_sections.push_back(Section{});
    m_byteOrderMark = content.startsWith(ByteOrderMark);
    qsizetype pos = m_byteOrderMark ? qsizetype(sizeof ByteOrderMark - 1) : 0;
    while (pos < content.size()) {
        qsizetype nl = content.indexOf('\n', pos);
        Line line;
        if (nl < 0) {
            line.text = content.mid(pos);
            pos = content.size();
            // A last line ended by a carriage return alone reads as it would with its line feed, so
            // that ending it properly later (before a new line is added) cannot change its meaning.
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.eol = "\r";
            }
        } else {
            line.text = content.mid(pos, nl - pos);
            line.eol = "\n";
            pos = nl + 1;
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.eol = "\r\n";
            }
        }
        if (auto name = sectionHeader(line.text)) {
            Section s;
            s.name = *name;
            s.lines.push_back(std::move(line));
            m_sections.push_back(std::move(s));
            continue;
        }
        if (m_sections.size() > 1) {
            const qsizetype eq = line.text.indexOf('=');
            if (eq > 0) {
                QByteArray key = trimmed(line.text.left(eq));
                if (!key.isEmpty() && !key.startsWith(';') && !key.startsWith('#')) {
                    line.key = std::move(key);
                    line.value = line.text.mid(eq + 1);
                }
            }
        }
        m_sections.back().lines.push_back(std::move(line));
    }
}

QByteArray IniFile::serialize() const {
    QByteArray out = m_byteOrderMark ? QByteArray(ByteOrderMark) : QByteArray();
    for (const Section& s : m_sections)
        for (const Line& l : s.lines) {
            out += l.text;
            out += l.eol;
        }
    return out;
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    const Name n(name, false);
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        if (n.matches(m_sections[i].name)) return &m_sections[i];
    return nullptr;
}

const IniFile::Line* IniFile::findLine(const QString& section, const QString& key) const {
    // A section may appear more than once in a hand-edited file; the first occurrence of the key
    // in file order counts.
    const Name s(section, false), k(key, true);
    for (std::size_t i = 1; i < m_sections.size(); ++i) {
        if (!s.matches(m_sections[i].name)) continue;
        for (const Line& l : m_sections[i].lines)
            if (!l.key.isEmpty() && k.matches(l.key)) return &l;
    }
    return nullptr;
}

QByteArray IniFile::newLineEnding() const {
    for (const Section& s : m_sections)
        for (const Line& l : s.lines)
            if (l.eol == "\n" || l.eol == "\r\n") return l.eol;
    return "\n";
}

bool IniFile::sectionExists(const QString& section) const {
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString& section, const QString& key) const {
    return findLine(section, key) != nullptr;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Line* l = findLine(section, key);
    if (!l) return std::nullopt;
    return fromFileBytes(l->value);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 defaultValue) const {
    const auto v = value(section, key);
    if (!v) return defaultValue;
    return parseIniInteger(*v).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    const auto v = value(section, key);
    if (!v) return defaultValue;
    const auto n = parseIniInteger(*v);
    return n ? *n != 0 : defaultValue;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const Name secName(section, false), keyName(key, true);
    const QByteArray& sec = secName.bytes;
    const QByteArray& k = keyName.bytes;
    const QByteArray v = toFileBytes(value);
    if (!writableKey(k)) return;
    if (m_sections.empty()) m_sections.push_back(Section{});

    for (std::size_t i = 1; i < m_sections.size(); ++i) {
        if (!secName.matches(m_sections[i].name)) continue;
        for (Line& l : m_sections[i].lines)
            if (!l.key.isEmpty() && keyName.matches(l.key)) {
                // A value that reads back as it is keeps its bytes (text in another encoding stays).
                if (fromFileBytes(l.value) == value) return;
                // Keep the key as the file spells it; only the value changes.
                const qsizetype eq = l.text.indexOf('=');
                l.text = l.text.left(eq + 1) + v;
                l.value = v;
                return;
            }
    }

    const QByteArray eol = newLineEnding();
    // The line before a new one must end, whatever the file's last line did.
    auto terminateLast = [&] {
        for (auto s = m_sections.rbegin(); s != m_sections.rend(); ++s)
            if (!s->lines.empty()) {
                endLine(s->lines.back(), eol);
                return;
            }
    };

    Line line;
    line.key = k;
    line.value = v;
    line.text = k + '=' + v;
    line.eol = eol;

    Section* target = nullptr;
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        if (secName.matches(m_sections[i].name)) {
            target = &m_sections[i];
            break;
        }
    if (target) {
        // After the section's last key (blank lines and comments that follow stay after it).
        std::size_t at = 1;
        for (std::size_t j = 1; j < target->lines.size(); ++j)
            if (!target->lines[j].key.isEmpty()) at = j + 1;
        endLine(target->lines[at - 1], eol);
        target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
        return;
    }

    terminateLast();
    Section s;
    s.name = sec;
    Line header;
    header.text = '[' + sec + ']';
    header.eol = eol;
    // A blank line between sections, as the program writes a fresh file.
    bool fileEmpty = true;
    for (const Section& existing : m_sections)
        if (!existing.lines.empty()) fileEmpty = false;
    if (!fileEmpty) {
        Line blank;
        blank.eol = eol;
        m_sections.back().lines.push_back(std::move(blank));
    }
    s.lines.push_back(std::move(header));
    s.lines.push_back(std::move(line));
    m_sections.push_back(std::move(s));
}

void IniFile::writeInteger(const QString& section, const QString& key, qint64 value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

std::vector<QString> IniFile::sections() const {
    std::vector<QByteArray> raw;
    for (std::size_t i = 1; i < m_sections.size(); ++i) {
        bool seen = false;
        for (const QByteArray& n : raw)
            if (sameName(n, m_sections[i].name)) seen = true;
        if (!seen) raw.push_back(m_sections[i].name);
    }
    std::vector<QString> names;
    for (const QByteArray& n : raw)
        names.push_back(fromFileBytes(n));
    return names;
}

std::vector<QString> IniFile::keys(const QString& section) const {
    const Name sec(section, false);
    std::vector<QByteArray> raw;
    for (std::size_t i = 1; i < m_sections.size(); ++i) {
        if (!sec.matches(m_sections[i].name)) continue;
        for (const Line& l : m_sections[i].lines) {
            if (l.key.isEmpty()) continue;
            bool seen = false;
            for (const QByteArray& k : raw)
                if (sameName(k, l.key)) seen = true;
            if (!seen) raw.push_back(l.key);
        }
    }
    std::vector<QString> names;
    for (const QByteArray& k : raw)
        names.push_back(fromFileBytes(k));
    return names;
}

std::optional<qint32> parseIniInteger(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    if (t.size() > 2 && t[0] == QLatin1Char('0') && (t[1] == QLatin1Char('x') || t[1] == QLatin1Char('X'))) {
        quint64 v = 0;
        for (qsizetype i = 2; i < t.size(); ++i) {
            const char16_t c = t[i].unicode();
            int d = -1;
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<quint64>(d);
            if (v > 0xFFFFFFFFull) return std::nullopt;
        }
        return static_cast<qint32>(static_cast<quint32>(v));
    }
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-')) {
        negative = t[0] == QLatin1Char('-');
        i = 1;
    }
    if (i >= t.size()) return std::nullopt;
    qint64 v = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
    return static_cast<qint32>(v);
}
