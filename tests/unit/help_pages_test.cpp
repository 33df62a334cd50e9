// The help pages: every keyword the program sets and every link inside the pages lands on a page and anchor.
#include "windows/core/HelpKeyword.h"
#include "windows/core/HelpKeywords.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

const QString kSourceDir = QStringLiteral(KESTRUNE_SOURCE_DIR);
const QString kHelpDir = kSourceDir + QStringLiteral("/help/");

QString readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QSet<QString> matches(const QString& text, const QRegularExpression& re, int group) {
    QSet<QString> found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured(group));
    return found;
}

QSet<QString> anchorsOf(const QString& page) {
    static const QRegularExpression re(QStringLiteral(R"re(\b(?:name|id)="([^"]+)")re"));
    return matches(readFile(kHelpDir + page), re, 1);
}

// Why a keyword does not land on a page and anchor ("" when it does).
std::string problemWith(const QString& keyword) {
    const auto parts = helpcore::splitKeyword(keyword);
    if (!QFile::exists(kHelpDir + parts.page)) return "no page " + parts.page.toStdString();
    if (!parts.anchor.isEmpty() && !anchorsOf(parts.page).contains(parts.anchor))
        return "no anchor " + parts.anchor.toStdString();
    return {};
}

// Every help keyword written in the program's sources.
QSet<QString> keywordsInSources() {
    static const QRegularExpression re(QStringLiteral(R"re("(\d{3}\.html(?:#\w+)?)")re"));
    QSet<QString> found;
    for (const char* dir : {"app", "views", "monitor", "telnet", "eventlog", "update", "windows"}) {
        QDirIterator it(kSourceDir + QLatin1Char('/') + QLatin1String(dir), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found.unite(matches(readFile(it.next()), re, 1));
    }
    return found;
}

QSet<QString> keywordList() {
    QSet<QString> list;
    for (std::string_view k : helpkw::All)
        list.insert(QString::fromLatin1(k.data(), qsizetype(k.size())));
    return list;
}

} // namespace

TEST(HelpPages, EveryKeywordOfTheProgramLandsOnItsPageAndAnchor) {
    const QSet<QString> listed = keywordList();
    const QSet<QString> inSources = keywordsInSources();
    EXPECT_GE(inSources.size(), 15); // the pages set their keywords in the sources
    for (const QString& keyword : inSources)
        EXPECT_TRUE(listed.contains(keyword)) << "not listed: " << qPrintable(keyword);
    for (const QString& keyword : listed + inSources)
        EXPECT_EQ(problemWith(keyword), "") << qPrintable(keyword);
}

TEST(HelpPages, EveryLinkInsideThePagesResolves) {
    static const QRegularExpression href(QStringLiteral(R"re(href="([^"]*)")re"));
    const QStringList pages = QDir(kHelpDir).entryList({"*.html"}, QDir::Files);
    EXPECT_EQ(pages.size(), 14); // the eleven tab pages, contents, index, line history
    for (const QString& page : pages) {
        const QString text = readFile(kHelpDir + page);
        EXPECT_TRUE(text.startsWith("<!DOCTYPE html>") && text.contains("</html>")) << qPrintable(page);
        for (const QString& target : matches(text, href, 1)) {
            const QString keyword = target.startsWith('#') ? page + target : target;
            EXPECT_EQ(problemWith(keyword), "") << qPrintable(page) << " -> " << qPrintable(target);
        }
    }
}
