// Help keyword resolution: from a keyword such as "150.html#iproutetable" to a page file and anchor.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace helpcore {

// A keyword split into the page name and the anchor after its last '#'.
struct KeywordParts {
    QString page;
    QString anchor; // empty when the keyword has no '#'
};

// Where the pages are looked for.
struct HelpLocations {
    QString helpFileName;  // the help system's current help file name
    QString executableDir; // the running program's directory, with a trailing '/'
    QString pwd;           // the PWD environment variable (may be empty)
    QString currentDir;    // the process's real working directory, used when PWD is unset
    QStringList dataDirs;  // installed data directories (each with a trailing '/'), tried after the rule
};

// A page the viewer can show.
struct HelpTarget {
    QString pagePath;
    QString anchor;
};

using FileExists = std::function<bool(const QString& path)>;

// Only the ".html" test ignores letter case; the page name is used exactly as given.
bool namesHtmlPage(const QString& keyword);
KeywordParts splitKeyword(const QString& keyword);
// The directory rule: the help file's directory, else the executable's; "./" means PWD.
QString helpDirectory(const HelpLocations& where);
// The page path for a keyword, or nothing when the keyword names no existing page.
std::optional<HelpTarget> resolveKeyword(const QString& keyword, const HelpLocations& where,
                                         const FileExists& exists);
// The help file itself (the contents page), found by the same rule as a keyword page.
std::optional<QString> resolveHelpFile(const HelpLocations& where, const FileExists& exists);

} // namespace helpcore
