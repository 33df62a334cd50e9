// Help keyword resolution: page and anchor split, the directory rule and the page lookup.
#include "windows/core/HelpKeyword.h"

namespace helpcore {

namespace {

const QString kHelpSubdir = QStringLiteral("help/");

QString withSlash(const QString& dir) {
    return dir.isEmpty() || dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

// The candidate paths of a page, the directory rule's first.
QStringList candidatePaths(const QString& page, const HelpLocations& where) {
    QStringList paths{helpDirectory(where) + kHelpSubdir + page};
    for (const QString& dir : where.dataDirs)
        paths << withSlash(dir) + kHelpSubdir + page;
    return paths;
}

std::optional<QString> firstExisting(const QStringList& paths, const FileExists& exists) {
    for (const QString& path : paths)
        if (exists(path)) return path;
    return std::nullopt;
}

} // namespace

bool namesHtmlPage(const QString& keyword) {
    return keyword.contains(QStringLiteral(".html"), Qt::CaseInsensitive);
}

KeywordParts splitKeyword(const QString& keyword) {
    const qsizetype hash = keyword.lastIndexOf(QLatin1Char('#'));
    if (hash < 0) return {keyword, {}};
    return {keyword.left(hash), keyword.mid(hash + 1)};
}

QString helpDirectory(const HelpLocations& where) {
    const qsizetype slash = where.helpFileName.lastIndexOf(QLatin1Char('/'));
    QString dir = slash < 0 ? QString() : where.helpFileName.left(slash + 1);
    if (dir.isEmpty()) dir = withSlash(where.executableDir);
    if (dir == QStringLiteral("./")) dir = withSlash(where.pwd.isEmpty() ? where.currentDir : where.pwd);
    return dir;
}

std::optional<HelpTarget> resolveKeyword(const QString& keyword, const HelpLocations& where,
                                         const FileExists& exists) {
    if (!namesHtmlPage(keyword)) return std::nullopt;
    const KeywordParts parts = splitKeyword(keyword);
    if (parts.page.isEmpty()) return std::nullopt;
    const auto path = firstExisting(candidatePaths(parts.page, where), exists);
    if (!path) return std::nullopt;
    return HelpTarget{*path, parts.anchor};
}

std::optional<QString> resolveHelpFile(const HelpLocations& where, const FileExists& exists) {
    const QString name = where.helpFileName.mid(where.helpFileName.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.isEmpty()) return std::nullopt;
    return firstExisting(candidatePaths(name, where), exists);
}

} // namespace helpcore
