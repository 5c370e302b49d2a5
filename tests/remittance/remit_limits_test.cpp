// The limits of one bank transfer record, as the stamping checks them before stamping.
#include "remittance/transfer_record_check.h"

#include <gmock/gmock.h>

namespace {

TEST(TransferRecordCheck, LimitsOfTheRecord)
{
    const struct {
        const char* bankId;
        const char* account;
        const char* holder;
        double amount;
        std::vector<std::string> problems;
    } cases[] = {
        {"0170001", "00123456789012", "戶名", 999999999999.0, {}},
        {"016", "1", "x", 0.5, {}}, // rounds to 1
        {"", "123", "x", 10, {"銀行代號空白"}},
        {"  ", "123", "x", 10, {"銀行代號空白"}},
        {"01700012", "123", "x", 10, {"銀行代號超過 7 碼"}},
        {"0170001", "", "x", 10, {"帳號空白"}},
        {"0170001", "123456789012345", "x", 10, {"帳號超過 14 位"}},
        {"0170001", "12 34", "x", 10, {"帳號不是數字"}},
        {"0170001", "-1234", "x", 10, {"帳號不是數字"}},
        {"0170001", "123", " ", 10, {"戶名空白"}},
        {"0170001", "123", "x", 0.4, {"匯款金額不大於 0"}},
        {"0170001", "123", "x", -5, {"匯款金額不大於 0"}},
        {"0170001", "123", "x", 1e12, {"匯款金額超過 12 位數"}},
        {"", "", "", 0, {"銀行代號空白", "帳號空白", "戶名空白", "匯款金額不大於 0"}},
    };
    for (const auto& c : cases) {
        remittance::TransferValues values{c.bankId, c.account, c.holder, c.amount};
        EXPECT_EQ(remittance::transferRecordProblems(values), c.problems)
            << c.bankId << "|" << c.account << "|" << c.holder << "|" << c.amount;
    }
}

TEST(TransferRecordCheck, MessageListsRowsAndCountsTheRest)
{
    std::vector<remittance::RefusedRow> rows;
    for (int i = 0; i < 5; ++i)
        rows.push_back({"P" + std::to_string(i), "B" + std::to_string(i), {"帳號空白"}});
    const std::string message = remittance::refusedRowsMessage(rows, 3);
    EXPECT_THAT(message, testing::HasSubstr("廠商 P2 單據 B2: 帳號空白"));
    EXPECT_THAT(message, testing::Not(testing::HasSubstr("P3")));
    EXPECT_THAT(message, testing::EndsWith("另有 2 筆未列出"));
}

} // namespace
