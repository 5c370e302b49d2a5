#include "platform/log.h"
#include "support/test_database.h"
#include "text/big5.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> linesOf(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The file turns over before a line would take it past its size; the older files move up
// and the oldest beyond the kept number goes, so the newest lines are all there, in order.
TEST(RotatingLogFile, TurnsOverKeepingTheNewestLinesInOrder)
{
    testing_support::TempFolder folder;
    const std::string path = folder.path() + "desk.log";
    platform::RotatingLogFile log(path, 100, 2);
    for (int n = 10; n < 30; ++n)
        ASSERT_TRUE(log.append("line " + std::to_string(n) + " of the desk's log"));

    namespace fs = std::filesystem;
    EXPECT_TRUE(fs::exists(path + ".1"));
    EXPECT_TRUE(fs::exists(path + ".2"));
    EXPECT_FALSE(fs::exists(path + ".3"));
    std::vector<std::string> kept;
    for (const std::string& file : {path + ".2", path + ".1", path}) {
        EXPECT_LE(fs::file_size(file), 100u) << file;
        for (const std::string& line : linesOf(file))
            kept.push_back(line);
    }
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.back(), "line 29 of the desk's log");
    for (std::size_t i = 1; i < kept.size(); ++i)
        EXPECT_EQ(kept[i].substr(5, 2), std::to_string(std::stoi(kept[i - 1].substr(5, 2)) + 1)) << kept[i];

    // A log that already has lines goes on from its size when the program starts again.
    platform::RotatingLogFile again(path, 100, 2);
    const auto before = fs::file_size(path);
    ASSERT_TRUE(again.append("x"));
    EXPECT_TRUE(fs::file_size(path) == before + 2 || fs::file_size(path) == 2u);
}

TEST(LogText, ShowsDatabaseBytesReadablyOnOneLine)
{
    struct Case {
        std::string bytes;
        std::size_t max;
        std::string expected;
    };
    const Case cases[] = {
        {text::big5("SELECT '甲商行'"), 100, "SELECT '甲商行'"},
        {"plain\r\nnext", 100, "plain  next"},
        {std::string("A\xff\x80Z", 4), 100, "A\\xFF\\x80Z"},
        // Cut on a character, never inside one, saying how long the whole was.
        {text::big5("甲乙丙"), 3, text::big5ToUtf8(text::big5("甲")) + "…(6 bytes)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::logText(c.bytes, c.max), c.expected) << c.expected;
}

TEST(Log, GoesToTheInstalledSinkOnly)
{
    std::vector<std::string> seen;
    EXPECT_FALSE(platform::logging());
    platform::log("db", platform::LogLevel::Info, "before any sink");
    platform::setLogSink([&](std::string_view category, platform::LogLevel, std::string_view text) {
        seen.push_back(std::string(category) + ": " + std::string(text));
    });
    EXPECT_TRUE(platform::logging());
    platform::log("db", platform::LogLevel::Warning, "a statement");
    platform::setLogSink({});
    platform::log("db", platform::LogLevel::Info, "after");
    EXPECT_EQ(seen, std::vector<std::string>{"db: a statement"});
}

} // namespace
