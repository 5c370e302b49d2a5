#include "cheque/roc_due_date.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace {

struct RocCase {
    const char* due;
    const char* ymd;
    const char* yyyy;
    const char* mm;
    const char* dd;
};

class RocDueDateTest : public ::testing::TestWithParam<RocCase> {};

TEST_P(RocDueDateTest, SplitsTheDueDateIntoRocPieces)
{
    const RocCase c = GetParam();
    const cheque::RocDueDate roc = cheque::rocDueDate(c.due);
    EXPECT_EQ(roc.ymd, c.ymd);
    EXPECT_EQ(roc.yyyy, c.yyyy);
    EXPECT_EQ(roc.mm, c.mm);
    EXPECT_EQ(roc.dd, c.dd);
}

INSTANTIATE_TEST_SUITE_P(Dates, RocDueDateTest,
                         ::testing::Values(RocCase{"2016/02/29", "105/02/29", "105", "02", "29"},
                                           RocCase{"2010/12/31", "99/12/31", "99", "12", "31"},
                                           RocCase{"2011/01/01", "100/01/01", "100", "01", "01"},
                                           RocCase{"1920/03/05", "9/03/05", "9", "03", "05"},
                                           // Read as a date and written in full.
                                           RocCase{"2016/2/9", "105/02/09", "105", "02", "09"}));

struct BadCase {
    const char* due;
    const char* message;
};

class MalformedDueDateTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(MalformedDueDateTest, StopsWithTheConversionMessage)
{
    const BadCase c = GetParam();
    try {
        cheque::rocDueDate(c.due);
        FAIL() << "no error for " << c.due;
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(Dates, MalformedDueDateTest,
                         ::testing::Values(BadCase{"abcd/01/01", "'abcd' is not a valid integer value"},
                                           BadCase{"", "'' is not a valid integer value"},
                                           BadCase{"2016/02/30", "'2016/02/30' is not a valid date"},
                                           BadCase{"2016/13/01", "'2016/13/01' is not a valid date"},
                                           BadCase{"2016", "'2016' is not a valid date"}));

} // namespace
