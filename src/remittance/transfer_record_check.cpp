#include "remittance/transfer_record_check.h"

#include "remittance/transfer_file_record.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/numbers.h"

#include <utility>

namespace remittance {

namespace {

// The limits are the record's own field widths: a value that passes fits its field.
constexpr std::size_t kBankIdBytes = transferFieldWidth(TransferSource::BankId);
constexpr std::size_t kAccountDigits = transferFieldWidth(TransferSource::AccountNumber);
constexpr std::size_t kAmountDigits = transferFieldWidth(TransferSource::WholeAmount);

// 10^kAmountDigits: the first whole amount the amount field cannot hold.
double amountLimit()
{
    double limit = 1;
    for (std::size_t i = 0; i < kAmountDigits; ++i)
        limit *= 10;
    return limit;
}

bool allDigits(const std::string& value)
{
    for (const char c : value)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool holdsControlBytes(const std::string& value)
{
    for (const char c : value)
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    return false;
}

} // namespace

std::vector<std::string> transferRecordProblems(const TransferValues& values)
{
    std::vector<std::string> problems;
    if (text::isBlank(values.bankId))
        problems.push_back("銀行代號空白");
    else if (values.bankId.size() > kBankIdBytes)
        problems.push_back("銀行代號超過 " + std::to_string(kBankIdBytes) + " 碼");

    const std::string account = text::trimmed(values.accountNo);
    if (account.empty())
        problems.push_back("帳號空白");
    else if (!allDigits(account))
        problems.push_back("帳號不是數字");
    else if (account.size() > kAccountDigits)
        problems.push_back("帳號超過 " + std::to_string(kAccountDigits) + " 位");

    if (text::isBlank(values.accountHolder))
        problems.push_back("戶名空白");

    const double amount = text::roundHalfAwayFromZero(values.amount);
    if (!(amount > 0))
        problems.push_back("匯款金額不大於 0");
    else if (!(amount < amountLimit()))
        problems.push_back("匯款金額超過 " + std::to_string(kAmountDigits) + " 位數");

    const std::pair<const char*, const std::string*> texts[] = {{"銀行代號", &values.bankId},
                                                                {"帳號", &values.accountNo},
                                                                {"戶名", &values.accountHolder},
                                                                {"聯絡人", &values.contact},
                                                                {"付款帳戶名稱", &values.payerName}};
    for (const auto& [label, value] : texts)
        if (holdsControlBytes(*value))
            problems.push_back(std::string(label) + "含控制字元(如換行)");
    return problems;
}

std::string refusedRowsMessage(const std::vector<RefusedRow>& rows, std::size_t maxListed)
{
    // The clerk must read first that the press did nothing at all, then what to do about it.
    std::string message = "本次未匯款,沒有任何單據被處理:未蓋匯款日,也未寫出匯款檔。\n"
                          "下列單據無法寫入匯款檔案。請取消勾選這些單據後按「選擇性匯款」,"
                          "或修正其原因後再匯款(廠商銀行資料修正後請重新「條件確認」):";
    std::size_t listed = 0;
    for (const RefusedRow& row : rows) {
        if (listed == maxListed)
            break;
        message += "\n廠商 " + text::big5ToUtf8(row.providerId) + " 單據 " + text::big5ToUtf8(row.billId) + ":";
        for (std::size_t i = 0; i < row.problems.size(); ++i)
            message += (i ? "、" : " ") + row.problems[i];
        ++listed;
    }
    if (rows.size() > listed)
        message += "\n另有 " + std::to_string(rows.size() - listed) + " 筆未列出";
    return message;
}

} // namespace remittance
