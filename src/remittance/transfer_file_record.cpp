#include "remittance/transfer_file_record.h"

#include "text/big5.h"
#include "text/dates.h"
#include "text/error.h"
#include "text/fixed_width.h"
#include "text/numbers.h"

#include <cctype>

namespace remittance {
namespace {

// The account number's digits as a number: leading zeros are dropped and zero-filled again.
std::int64_t accountNumber(const std::string& digits)
{
    std::int64_t value = 0;
    for (const char c : digits)
        if (std::isdigit(static_cast<unsigned char>(c)))
            value = value * 10 + (c - '0');
    return value;
}

} // namespace

TransferRow transferRowAt(const db::RecordSet& rows, std::size_t row)
{
    TransferRow r;
    r.conPeople = rows.text(row, "CON_PEOPLE");
    r.bankId = rows.text(row, "BANK_ID");
    r.bankAccId = rows.text(row, "BANK_ACCID");
    r.bankTitle = rows.text(row, "BANK_TITLE");
    r.amount = rows.number(row, "AMT2");
    r.pAcntName = rows.text(row, "P_ACNT_NAME");
    return r;
}

std::string rocDateField(const std::string& dateString)
{
    text::Date date;
    if (!text::parseDateString(dateString, date))
        throw text::UserError(text::formatMessage("'%s' is not a valid date", text::big5ToUtf8(dateString)));
    const int roc = text::rocYear(date.year);
    if (roc < 1)
        throw text::UserError("匯款日期 " + dateString + " 早於民國元年，無法寫入匯款檔案");
    const std::string monthDay = dateString.substr(5, 2) + dateString.substr(8, 2);
    if (roc < 100)
        return std::to_string(roc) + monthDay;
    return text::twoDigits(roc % 100) + monthDay;
}

std::string transferRecord(const std::string& rocDate, const TransferRow& row)
{
    std::string record;
    record.reserve(transferRecordWidth);
    for (const TransferField& field : transferLayout) {
        const auto text = [&](std::string_view value) { record += text::padRight(value, field.width); };
        const auto number = [&](std::int64_t value) { record += text::zeroFilled(value, field.width); };
        switch (field.source) {
        case TransferSource::RocDate: text(rocDate); break;
        case TransferSource::Contact: text(row.conPeople); break;
        case TransferSource::BankId: text(row.bankId); break;
        case TransferSource::AccountNumber: number(accountNumber(row.bankAccId)); break;
        case TransferSource::AccountHolder: text(row.bankTitle); break;
        case TransferSource::WholeAmount: number(text::roundToInt64(row.amount)); break;
        case TransferSource::PayerName: text(row.pAcntName); break;
        case TransferSource::Constant: record += field.constant; break;
        case TransferSource::Filler: record.append(field.width, field.filler); break;
        }
    }
    return record;
}

} // namespace remittance
