#include "text/dates.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using text::Date;

TEST(Dates, EditTextsAsTheMaskLeavesThem)
{
    struct Case {
        const char* edit;
        const char* date;
    };
    const Case cases[] = {
        {"2016/02/29", "2016/02/29"},  {"2016/ 2/ 9", "2016/02/09"}, {"2016/02/9 ", "2016/02/09"},
        {"2016/2/9", "2016/02/09"},    {"2016-02-09", "2016/02/09"}, {"2016.12.31", "2016/12/31"},
        {" 2016/01/01", "2016/01/01"}, {"2000/02/29", "2000/02/29"}, {"0001/01/01", "0001/01/01"},
        {"9999/12/31", "9999/12/31"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::dateStringFromEdit(c.edit), c.date) << c.edit;
    EXPECT_EQ(text::parseDateEditText("2016/ 2/ 9"), (Date{2016, 2, 9}));
}

TEST(Dates, InvalidEditTextsNameTheTextAsTyped)
{
    const std::string cases[] = {
        "",           "    /  /  ",  "    /  /",   "2015/02/29", "2016/13/01",    "2016/00/10",  "2016/01/00",
        "2016/04/31", "1900/02/29",  "16/02/09",   "2016/02",    "2016/02/09/01", "2016/0 2/09", "2016/02/09x",
        "2016/+2/09", "2016/002/09", "0000/01/01", "abcd/ef/gh",
    };
    for (const auto& edit : cases) {
        SCOPED_TRACE(edit);
        try {
            text::dateStringFromEdit(edit);
            ADD_FAILURE() << "accepted";
        } catch (const text::UserError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + edit + "' is not a valid date");
        }
    }
}

TEST(Dates, StrictDateStrings)
{
    Date d;
    ASSERT_TRUE(text::parseDateString("2016/02/29", d));
    EXPECT_EQ(d, (Date{2016, 2, 29}));
    for (const char* bad : {"2016/2/29", "2015/02/29", "2016-02-29", "2016/02/29 ", "    /  /  ", "", "2016/13/01"}) {
        Date untouched{1, 1, 1};
        EXPECT_FALSE(text::parseDateString(bad, untouched)) << bad;
        EXPECT_EQ(untouched, (Date{1, 1, 1})) << bad;
    }
    EXPECT_EQ(text::toDateString(Date{2016, 2, 9}), "2016/02/09");
    EXPECT_EQ(text::toDateString(Date{987, 12, 1}), "0987/12/01");
}

TEST(Dates, TodayIsTheLocalDate)
{
    const std::time_t now = std::time(nullptr);
    const std::tm local = *std::localtime(&now); // standard C++: this test reads it once
    const Date today = text::today();
    EXPECT_TRUE(text::isValidDate(today));
    // Straddling midnight between the two readings is the only way these can differ.
    if (today.day == local.tm_mday) {
        EXPECT_EQ(today, (Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}));
    }
}

TEST(Dates, RocYears)
{
    EXPECT_EQ(text::rocYear(2016), 105);
    EXPECT_EQ(text::rocYear(2010), 99);
    EXPECT_EQ(text::rocYear(1912), 1);
}

} // namespace
