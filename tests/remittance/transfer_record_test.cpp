// The 175-byte transfer record field by field, and the ROC date field.
#include "remittance/transfer_file_record.h"
#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace {

using remittance::rocDateField;

struct RocCase {
    const char* date;
    const char* field;
};

TEST(TransferRecordDate, RocYearFieldForTwoAndThreeDigitYears)
{
    const RocCase cases[] = {
        {"2010/12/31", "991231"}, // the last ROC year of two digits
        {"1920/03/05", "90305"},  // one digit: padded by the record, not here
        {"2011/01/01", "000101"}, // ROC 100: modulo 100
        {"2016/02/29", "050229"}, // ROC 105, the day stays whole
        {"2110/12/31", "991231"}, // ROC 199
        {"2111/01/01", "000101"}, // ROC 200
        {"1912/01/01", "10101"},  // ROC 1
    };
    for (const auto& c : cases)
        EXPECT_EQ(rocDateField(c.date), c.field) << c.date;
}

TEST(TransferRecordDate, DateBeforeRocYearOneIsRefused)
{
    EXPECT_THROW(rocDateField("1911/12/31"), text::UserError);
    EXPECT_THROW(rocDateField("2016/2/29"), text::UserError); // not a date string
}

TEST(TransferRecord, FieldsByteForByte)
{
    remittance::TransferRow row;
    row.conPeople = "CP1";
    row.bankId = "0170012";
    row.bankAccId = "0012345";
    row.bankTitle = text::big5("大同公司有限公"); // 7 characters, 14 bytes
    row.amount = 1234.5;
    row.pAcntName = text::big5("總公司");
    const std::string record = remittance::transferRecord("90305", row);

    const std::string expected = std::string("90305 ") + "2210" + "CP1       " + "0170012" + "00000000012345" +
                                 text::big5("大同公司有限公") + std::string(26, ' ') + "000000001235" + "00" +
                                 text::big5("總公司") + std::string(34, ' ') + "1111" + std::string(36, ' ');
    ASSERT_EQ(record.size(), 175u);
    EXPECT_EQ(record, expected);
}

TEST(TransferRecord, LongTextsAreCutToTheirFieldWithoutHalfACharacter)
{
    remittance::TransferRow row;
    row.conPeople = "ABCDEFGHIJKLM"; // 13 bytes into 10
    row.bankId = "0170012";
    row.bankAccId = "99999999999999"; // 14 digits fill the field
    // 45 bytes: one ASCII letter, then 22 double-byte characters. The 20th character would
    // straddle the field's end at byte 40: its place is taken by a blank.
    std::string title = "A";
    for (int i = 0; i < 22; ++i)
        title += text::big5("銀");
    row.bankTitle = title;
    row.amount = 999999999999.0;
    row.pAcntName = std::string(45, 'N'); // 45 ASCII bytes cut to 40
    const std::string record = remittance::transferRecord("050229", row);

    ASSERT_EQ(record.size(), 175u);
    EXPECT_EQ(record.substr(10, 10), "ABCDEFGHIJ");
    EXPECT_EQ(record.substr(27, 14), "99999999999999");
    EXPECT_EQ(record.substr(41, 40), title.substr(0, 39) + " ");
    EXPECT_EQ(record.substr(81, 14), "99999999999900");
    EXPECT_EQ(record.substr(95, 40), std::string(40, 'N'));
    EXPECT_EQ(record.substr(135, 4), "1111");
}

TEST(TransferRecord, AmountsRoundHalfAwayFromZero)
{
    remittance::TransferRow row;
    row.bankAccId = "1";
    for (const auto& [amount, field] : {std::pair{1234.49, "00000000123400"}, std::pair{1234.5, "00000000123500"},
                                        std::pair{0.5, "00000000000100"}, std::pair{4900.0, "00000000490000"}}) {
        row.amount = amount;
        EXPECT_EQ(remittance::transferRecord("991231", row).substr(81, 14), field) << amount;
    }
}

} // namespace
