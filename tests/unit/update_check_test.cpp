// The version file's reading rule, the comparison of versions and the update messages.
#include "update/core/UpdateCheck.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

using namespace updatecheck;

namespace {
std::string messageFor(std::string_view body) {
    return updateMessage(readVersionFile(body), "1.2.0.1");
}
const std::string kEqual =
    "You are already using the latest version (1.2.0.1)\rwhich was released on 17/03/2004.";
} // namespace

TEST(UpdateCheck, ReadingRule) {
    const VersionFile f = readVersionFile("1.2.0.1\n\n\n17/03/2004\r\r\n in June ");
    EXPECT_EQ(f.version, "1.2.0.1");
    EXPECT_EQ(f.released, "17/03/2004");
    EXPECT_EQ(f.expected, " in June "); // nothing trimmed
    EXPECT_EQ(readVersionFile("1.3\0garbage\r\nx"s).released, "");
    const VersionFile empty = readVersionFile("");
    EXPECT_EQ(empty.version + empty.released + empty.expected, "");
}

TEST(UpdateCheck, VersionOrder) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"1.2.0.1", "1.2.0.1", 0},  {"1.2.0.10", "1.2.0.1", 1}, {"1.10.0.0", "1.2.0.1", 1},
        {"1.2.0", "1.2.0.1", -1},   {"", "1.2.0.1", -1},        {"1.2.0.01", "1.2.0.1", -1},
        {"1.2.0.1b", "1.2.0.1", 1}, {"1.2.a", "1.2.0", 1},      {"2", "10", -1},
        {"1.2.0.1 ", "1.2.0.1", 1}, {"0.9.9.9", "1.2.0.1", -1}, {"99999999999999999999", "2", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareVersions(c.a, c.b), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(compareVersions(c.b, c.a), -c.order) << c.b << " vs " << c.a;
    }
}

TEST(UpdateCheck, Messages) {
    EXPECT_EQ(messageFor("1.2.0.1\r\n17/03/2004\r\n"), kEqual);
    EXPECT_EQ(messageFor("1.2.0.1\n\n\n17/03/2004"), kEqual);
    EXPECT_EQ(messageFor("1.2.0.1\r\n17/03/2004\r\nsoon\r\n"), kEqual);
    EXPECT_EQ(messageFor("1.2.0.1\r\n17/03/2004\r\nin June\r\n"),
              kEqual + "\r\rA new version is expected in June");
    const std::string newer =
        "You are using version 1.2.0.1\r\rA new version (1.2.0.10) is available!\rIt was released on "
        "1/5/2005.\r\rPlease visit the Kestrune Utility web site to download it.";
    EXPECT_EQ(messageFor("1.2.0.10\r\n1/5/2005\r\n"), newer);
    EXPECT_EQ(messageFor("1.10.0.0\r\n2/2/2006").substr(0, 55),
              "You are using version 1.2.0.1\r\rA new version (1.10.0.0)");
    const std::string older =
        "You are already using a later version (1.2.0.1)\rthan the version () which is publicly\ravailable!";
    EXPECT_EQ(messageFor(""), older);
    EXPECT_EQ(messageFor("\r\n17/03/2004"), older); // an empty first line
}

TEST(UpdateCheck, VerdictOnTheFetchedBody) {
    const std::string fits = "1.2.0.1\r\n17/03/2004\r\n" + std::string(kMaxVersionFileBytes - 21, ' ');
    const struct Case {
        std::string body;
        bool error;
        std::string text; // the whole text, or its start when longer
    } cases[] = {
        {"1.2.0.1\r\n17/03/2004\r\n", false, kEqual},
        {"1.2.0.1b\r\n1/1/2030\r\n", false, "You are using version 1.2.0.1\r\rA new version (1.2.0.1b)"},
        {"", false, "You are already using a later version (1.2.0.1)"},
        {"<html><body>Moved</body></html>\r\n", false, kNotVersionFileText},
        {"\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, false, kNotVersionFileText},
        {"9.9.9.9 (beta)\r\n1/1/2030\r\n", false, kNotVersionFileText},
        {"1..2\r\n", false, kNotVersionFileText},
        {"2\r\n1/1/2030\r\n", false, kNotVersionFileText},
        {std::string(60000, '1') + "x\r\n", false, kNotVersionFileText}, // one long line
        {fits, false, kEqual},
        {fits + " ", true, kTooLargeText},
    };
    for (const Case& c : cases) {
        const Verdict v = verdictFor(c.body, "1.2.0.1");
        EXPECT_EQ(v.error, c.error) << c.body.substr(0, 40);
        EXPECT_EQ(v.text.substr(0, c.text.size()), c.text) << c.body.substr(0, 40);
    }
}
