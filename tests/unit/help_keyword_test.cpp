// Help keywords: page and anchor, the directory rule, and the help system's dispatch to its viewer.
#include "windows/core/HelpKeyword.h"
#include "windows/core/HelpSystem.h"

#include <gtest/gtest.h>

#include <set>

using namespace helpcore;

namespace {

HelpLocations programAt(const QString& exeDir) {
    HelpLocations where;
    where.helpFileName = QStringLiteral("kestrune.html");
    where.executableDir = exeDir;
    where.pwd = QStringLiteral("/home/owner");
    where.currentDir = QStringLiteral("/real/cwd");
    return where;
}

FileExists filesAt(std::set<QString> files) {
    return [files = std::move(files)](const QString& path) { return files.count(path) > 0; };
}

} // namespace

TEST(HelpKeyword, ResolvesPageAndAnchorUnderTheProgramsHelpDirectory) {
    const auto exists = filesAt({"/opt/k/help/150.html", "/opt/k/help/150.HTML", "/opt/k/help/a#b.html"});
    const HelpLocations where = programAt("/opt/k/");
    struct Case {
        const char* keyword;
        std::optional<HelpTarget> expected;
    };
    const Case cases[] = {
        {"150.html", HelpTarget{"/opt/k/help/150.html", ""}},
        {"150.html#iproutetable", HelpTarget{"/opt/k/help/150.html", "iproutetable"}},
        {"a#b.html#x", HelpTarget{"/opt/k/help/a#b.html", "x"}}, // split at the last '#'
        {"150.HTML", HelpTarget{"/opt/k/help/150.HTML", ""}},    // exists under exactly that name
        {"150.Html", std::nullopt},                              // no such file: only ".html" ignores case
        {"", std::nullopt},
        {"#iproutetable", std::nullopt},
        {"150.htm", std::nullopt},
        {"999.html", std::nullopt},
        {"kestrune", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto got = resolveKeyword(QString::fromUtf8(c.keyword), where, exists);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.keyword;
        if (!got) continue;
        EXPECT_EQ(got->pagePath, c.expected->pagePath) << c.keyword;
        EXPECT_EQ(got->anchor, c.expected->anchor) << c.keyword;
    }
}

TEST(HelpKeyword, DirectoryIsTheHelpFilesElseTheExecutablesAndDotSlashMeansPwd) {
    HelpLocations where = programAt("/usr/bin");
    EXPECT_EQ(helpDirectory(where), "/usr/bin/");
    where.helpFileName = QStringLiteral("/srv/doc/kestrune.html");
    EXPECT_EQ(helpDirectory(where), "/srv/doc/");
    where.helpFileName = QStringLiteral("./kestrune.html");
    EXPECT_EQ(helpDirectory(where), "/home/owner/");
    where.helpFileName = QStringLiteral("kestrune.html");
    where.executableDir = QStringLiteral("./");
    EXPECT_EQ(helpDirectory(where), "/home/owner/");
    where.pwd.clear(); // PWD unset: the process's real working directory
    EXPECT_EQ(helpDirectory(where), "/real/cwd/");
}

TEST(HelpKeyword, InstalledDataDirectoriesAreTriedAfterTheRule) {
    HelpLocations where = programAt("/usr/bin/");
    where.dataDirs = {"/usr/share/kestrune/", "/usr/local/share/kestrune"};
    const auto installed =
        filesAt({"/usr/local/share/kestrune/help/110.html", "/usr/share/kestrune/help/kestrune.html"});
    EXPECT_EQ(resolveKeyword("110.html", where, installed)->pagePath,
              "/usr/local/share/kestrune/help/110.html");
    EXPECT_EQ(resolveHelpFile(where, installed), "/usr/share/kestrune/help/kestrune.html");
    const auto both = filesAt({"/usr/bin/help/110.html", "/usr/share/kestrune/help/110.html"});
    EXPECT_EQ(resolveKeyword("110.html", where, both)->pagePath, "/usr/bin/help/110.html");
}

namespace {

// A viewer that accepts the keywords it is given and records what it was asked.
class RecordingViewer : public ICustomHelpViewer {
public:
    explicit RecordingViewer(std::set<QString> accepted) : m_accepted(std::move(accepted)) {}
    QString ViewerName() const override { return QStringLiteral("recorder"); }
    int AcceptKeyword(const QString& keyword) override { return m_accepted.count(keyword) ? 1 : 0; }
    QStringList KeywordPages(const QString&) const override { return {}; }
    bool HasContentsPage() const override { return false; }
    void ShowContentsPage() override {}
    void ShowKeyword(const QString& keyword) override { shown << keyword; }
    void SetViewerId(int id, IHelpManager* m) override {
        this->id = id;
        manager = m;
    }
    void Detach() override { manager = nullptr; }
    void Finish() override {}

    QStringList shown;
    int id = 0;
    IHelpManager* manager = nullptr;

private:
    std::set<QString> m_accepted;
};

QString thrownMessage(THelpManager& help, const QString& keyword) {
    try {
        help.ShowKeywordHelp(keyword, keyword);
    } catch (const EHelpSystemException& e) {
        return e.message();
    }
    return QStringLiteral("(nothing thrown)");
}

} // namespace

TEST(HelpSystem, HandsAcceptedKeywordsToTheViewerAndReportsTheRest) {
    THelpManager help;
    EXPECT_NO_THROW(help.ShowKeywordHelp("999.html", "x.html")); // no viewer registered: nothing happens
    auto viewer = std::make_shared<RecordingViewer>(std::set<QString>{"150.html#iproutetable"});
    help.RegisterHelpViewer(viewer);
    EXPECT_GT(viewer->id, 0);
    EXPECT_EQ(viewer->manager, &help);

    help.ShowKeywordHelp("150.html#iproutetable", "");
    EXPECT_EQ(viewer->shown, QStringList{"150.html#iproutetable"});
    EXPECT_EQ(help.HelpFileName(), "x.html"); // an empty help file name keeps the current one

    EXPECT_EQ(thrownMessage(help, "999.html"), "No help found for \"999.html\"");
    EXPECT_EQ(thrownMessage(help, ""), "No help found for \"\"");
    EXPECT_EQ(help.HelpFileName(), "999.html");
    EXPECT_EQ(viewer->shown.size(), 1);
}
