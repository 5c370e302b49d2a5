#include "text/fixed_width.h"
#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace {

// "現金" is B2 7B AA F7; "金" alone AA F7 (its trail byte F7 lies in the lead range).
const std::string cash = "\xB2\x7B\xAA\xF7";

struct WidthCase {
    std::string input;
    std::size_t width;
    std::string cut, right, left;
};

TEST(FixedWidth, CutsAndPadsCountBytesAndNeverSplitACharacter)
{
    const WidthCase cases[] = {
        {"", 0, "", "", ""},
        {"", 3, "", "   ", "   "},
        {"ABC", 3, "ABC", "ABC", "ABC"},
        {"ABCD", 3, "ABC", "ABC", "ABC"},
        {"AB", 4, "AB", "AB  ", "  AB"},
        {cash, 4, cash, cash, cash},
        {cash, 6, cash, cash + "  ", "  " + cash},
        {cash, 3, "\xB2\x7B ", "\xB2\x7B ", "\xB2\x7B "}, // 金 would be split: a blank instead
        {cash, 2, "\xB2\x7B", "\xB2\x7B", "\xB2\x7B"},
        {cash, 1, " ", " ", " "},
        {"A" + cash, 2, "A ", "A ", "A "},
        {"A" + cash, 4, "A\xB2\x7B ", "A\xB2\x7B ", "A\xB2\x7B "},
        {"A" + cash, 3, "A\xB2\x7B", "A\xB2\x7B", "A\xB2\x7B"},
        // The trail byte F7 must not be taken for a lead byte when the walk starts at the front.
        {"\xAA\xF7\xAA\xF7"
         "B",
         3, "\xAA\xF7 ", "\xAA\xF7 ", "\xAA\xF7 "},
        {"\xAA\xF7\xAA\xF7"
         "B",
         4, "\xAA\xF7\xAA\xF7", "\xAA\xF7\xAA\xF7", "\xAA\xF7\xAA\xF7"},
        // A damaged lead byte that has no trail byte is one byte of its own.
        {"\xB2 XY", 2, "\xB2 ", "\xB2 ", "\xB2 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << text::big5ToUtf8(c.input) << " to " << c.width);
        EXPECT_EQ(text::cutBytes(c.input, c.width), c.cut);
        EXPECT_EQ(text::padRight(c.input, c.width), c.right);
        EXPECT_EQ(text::padLeft(c.input, c.width), c.left);
        EXPECT_EQ(text::padRight(c.input, c.width).size(), c.width);
        EXPECT_EQ(text::padLeft(c.input, c.width).size(), c.width);
    }
}

TEST(FixedWidth, ProviderNameInATwentyByteField)
{
    const auto name = text::big5("台灣大大食品股份有限公司"); // 24 bytes
    const auto field = text::padRight(name, 19);
    ASSERT_EQ(field.size(), 19u);
    EXPECT_EQ(text::big5ToUtf8(field), "台灣大大食品股份有 ");
}

TEST(FixedWidth, ZeroFilledIntegers)
{
    struct Case {
        std::int64_t value;
        std::size_t width;
        const char* expected;
    };
    const Case cases[] = {
        {0, 1, "0"}, {0, 5, "00000"}, {42, 5, "00042"}, {12345, 5, "12345"}, {123456789012345, 15, "123456789012345"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::zeroFilled(c.value, c.width), c.expected);
}

TEST(FixedWidth, ZeroFilledRefusesWhatDoesNotFit)
{
    try {
        text::zeroFilled(123456, 5);
        ADD_FAILURE() << "no error";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "數值 123456 無法填入 5 位數的欄位");
    }
    EXPECT_THROW(text::zeroFilled(-1, 5), text::UserError);
    EXPECT_THROW(text::zeroFilled(1, 0), text::UserError);
}

} // namespace
