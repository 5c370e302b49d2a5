#include "text/numbers.h"
#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Numbers, RoundsHalfAwayFromZero)
{
    struct Case {
        double value, rounded;
    };
    const Case cases[] = {
        {0, 0},
        {0.4, 0},
        {0.5, 1},
        {1.5, 2},
        {2.5, 3},
        {3.5, 4}, // no banker's rounding
        {-0.5, -1},
        {-1.5, -2},
        {-2.5, -3},
        {-2.4, -2},
        {0.49999999999999994, 0}, // adding 0.5 first would give 1
        {-0.49999999999999994, 0},
        {4503599627370495.5, 4503599627370496}, // largest doubles with a half
        {9999999999999.5, 10000000000000},
        {-9999999999999.5, -10000000000000},
        {1234567.4999, 1234567},
        {1e13, 1e13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.value);
        EXPECT_EQ(text::roundHalfAwayFromZero(c.value), c.rounded);
    }
    EXPECT_EQ(text::roundToInt64(2.5), 3);
    EXPECT_EQ(text::roundToInt64(-2.5), -3);
    EXPECT_EQ(text::roundToInt64(9999999999999.5), 10000000000000);
    EXPECT_THROW(text::roundToInt64(1e19), text::UserError);
    EXPECT_THROW(text::roundToInt64(std::nan("")), text::UserError);
}

TEST(Numbers, GroupsWholeAmounts)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {5, "5"},
        {-5, "-5"},
        {999, "999"},
        {1000, "1,000"},
        {-1000, "-1,000"},
        {12345, "12,345"},
        {123456, "123,456"},
        {1234567.5, "1,234,568"},
        {-1234567.5, "-1,234,568"},
        {999.5, "1,000"},
        {-0.4, "0"},
        {0.49999999999999994, "0"},
        {1e13, "10,000,000,000,000"},
        {9876543210987.0, "9,876,543,210,987"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.value);
        EXPECT_EQ(text::formatGrouped(c.value), c.text);
    }
}

TEST(Numbers, AmountsWithCentsAreToldApartAndShownWithThem)
{
    struct Case {
        double value;
        bool cents;
        const char* text;
    };
    const Case cases[] = {
        {244502.5, true, "244,502.50"},
        {148283, false, "148,283.00"},
        {-1234.05, true, "-1,234.05"},
        {0.004, false, "0.00"},
        {2.675, true, "2.68"},
        {-0.5, true, "-0.50"},
        {1000000.999, false, "1,000,001.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.value);
        EXPECT_EQ(text::hasCents(c.value), c.cents);
        EXPECT_EQ(text::formatGroupedCents(c.value), c.text);
    }
}

TEST(Numbers, PlainAmountsHaveNoExponentAndNoTrailingZeros)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {12, "12"},
        {-12, "-12"},
        {1234.5, "1234.5"},
        {1234.25, "1234.25"},
        {1234.50, "1234.5"},
        {0.1 + 0.2, "0.3"},
        {2.675, "2.68"},
        {1.005, "1.01"},
        {-2.675, "-2.68"},
        {0.004, "0"},
        {-0.004, "0"},
        {0.005, "0.01"},
        {9.995, "10"},
        {1e13, "10000000000000"},
        {1e20, "100000000000000000000"},
        {12345678901234.56, "12345678901234.56"},
        {1e-7, "0"},
        {100, "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.value);
        EXPECT_EQ(text::formatPlain(c.value), c.text);
    }
}

TEST(Numbers, ParsesStrictIntegers)
{
    struct Case {
        const char* text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"1", 1},
        {"-1", -1},
        {"+7", 7},
        {"007", 7},
        {"2147483648", 2147483648},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::parseInteger(c.text), c.value) << c.text;
}

TEST(Numbers, RefusesAnythingElseWithTheTextShown)
{
    const std::string cases[] = {
        "",
        " ",
        "-",
        "+",
        " 1",
        "1 ",
        "1.0",
        "1,000",
        "1e3",
        "0x10",
        "$10",
        "--1",
        "12a",
        "9223372036854775808",
        "-9223372036854775809",
        "99999999999999999999",
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c);
        try {
            text::parseInteger(c);
            ADD_FAILURE() << "accepted";
        } catch (const text::UserError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + c + "' is not a valid integer value");
        }
    }
    // A value read from a Big5 file is shown decoded in the message.
    try {
        text::parseInteger(text::big5("壹"));
        ADD_FAILURE() << "accepted";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "'壹' is not a valid integer value");
    }
}

} // namespace

TEST(Numbers, TwoDigitsAtLeast)
{
    const std::pair<int, const char*> cases[] = {{0, "00"}, {1, "01"}, {9, "09"}, {10, "10"}, {99, "99"}, {100, "100"}};
    for (const auto& [n, expected] : cases)
        EXPECT_EQ(text::twoDigits(n), expected) << n;
}
