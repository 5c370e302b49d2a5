#include "text/blank.h"
#include "text/big5.h"

#include <gtest/gtest.h>

namespace {

TEST(Blank, NothingButBlanksAndControlCharactersIsBlank)
{
    struct Case {
        std::string value;
        bool blank;
    };
    const Case cases[] = {
        {"", true},
        {" ", true},
        {"   ", true},
        {"\t \r\n", true},
        {std::string(1, '\0'), true},
        {"0", false},
        {" 01 ", false},
        {",", false},
        {text::big5("　"), false}, // the full-width space is a character of its own
        {text::big5(" 本店 "), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::isBlank(c.value), c.blank) << '"' << c.value << '"';
}

TEST(Blank, TrimmingDropsTheSameBlanksAtTheEnds)
{
    EXPECT_EQ(text::trimmed("  A B \t"), "A B");
    EXPECT_EQ(text::trimmedRight("  A B \t"), "  A B");
    EXPECT_EQ(text::trimmed(" \t "), "");
    EXPECT_EQ(text::trimmedRight("TMP_A123456                    "), "TMP_A123456");
    // A Big5 trail byte is never taken for a blank: 許 ends in 0x5C.
    const std::string name = text::big5(" 許 ");
    EXPECT_EQ(text::trimmed(name), text::big5("許"));
}

} // namespace
