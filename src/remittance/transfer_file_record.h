#pragma once
// One 175-byte record of a bank transfer file, field by field, as the bank's upload software
// reads it. Texts are the Big5 bytes stored in the database; widths count bytes.
#include "db/record_set.h"

#include <string>
#include <string_view>

namespace remittance {

constexpr std::size_t transferRecordWidth = 175;

// Where a field's bytes come from.
enum class TransferSource {
    RocDate,       // the remittance date in ROC form (rocDateField)
    Contact,       // CON_PEOPLE of the paying account
    BankId,        // BANK_ID: the provider's bank and branch
    AccountNumber, // BANK_ACCID read as a number
    AccountHolder, // BANK_TITLE: the name on the provider's account
    WholeAmount,   // AMT2 rounded half away from zero to whole dollars
    PayerName,     // P_ACNT_NAME: the paying account's name
    Constant,      // the field's own text
    Filler,        // nothing: the filler byte throughout
};

// One field of the record. A text field is cut to its width and padded on the right with
// `filler` (a cut never leaves half a double-byte character); a number field ('0' filler) is
// zero-filled on the left and refused when it does not fit.
struct TransferField {
    std::string_view name;
    std::size_t width;
    char filler;
    TransferSource source;
    std::string_view constant = {}; // TransferSource::Constant only
};

// The record, field by field, as the bank's upload software reads it.
inline constexpr TransferField transferLayout[] = {
    {"remittance date", 6, ' ', TransferSource::RocDate},
    {"transaction code", 4, ' ', TransferSource::Constant, "2210"},
    {"contact", 10, ' ', TransferSource::Contact},
    {"bank code", 7, ' ', TransferSource::BankId},
    {"account number", 14, '0', TransferSource::AccountNumber},
    {"account holder", 40, ' ', TransferSource::AccountHolder},
    {"amount", 12, '0', TransferSource::WholeAmount},
    {"amount cents", 2, ' ', TransferSource::Constant, "00"}, // whole dollars written in hundredths
    {"payer name", 40, ' ', TransferSource::PayerName},
    {"service code", 4, ' ', TransferSource::Constant, "1111"},
    {"reserved", 36, ' ', TransferSource::Filler},
};

// The width of the field fed from `source` (the record check refuses values that overflow it).
constexpr std::size_t transferFieldWidth(TransferSource source)
{
    for (const TransferField& field : transferLayout)
        if (field.source == source)
            return field.width;
    return 0;
}

namespace layout_checks {
constexpr bool widthsAddUp()
{
    std::size_t total = 0;
    for (const TransferField& field : transferLayout)
        total += field.width;
    return total == transferRecordWidth;
}
constexpr bool constantsFillTheirFields()
{
    for (const TransferField& field : transferLayout)
        if ((field.source == TransferSource::Constant) != !field.constant.empty() ||
            (field.source == TransferSource::Constant && field.constant.size() != field.width))
            return false;
    return true;
}
constexpr bool fillersMatchTheirKind()
{
    for (const TransferField& field : transferLayout) {
        const bool number =
            field.source == TransferSource::AccountNumber || field.source == TransferSource::WholeAmount;
        if (field.filler != (number ? '0' : ' '))
            return false;
    }
    return true;
}
} // namespace layout_checks
static_assert(layout_checks::widthsAddUp(), "the transfer record's fields must add up to 175 bytes");
static_assert(layout_checks::constantsFillTheirFields(), "a constant field holds exactly its own text");
static_assert(layout_checks::fillersMatchTheirKind(), "texts are padded with blanks, numbers filled with zeros");

// The values of one remitted bill that a record carries (columns of WorkTableC).
struct TransferRow {
    std::string conPeople; // CON_PEOPLE of the paying account
    std::string bankId;    // BANK_ID: the provider's bank and branch
    std::string bankAccId; // BANK_ACCID: the provider's account number, digits
    std::string bankTitle; // BANK_TITLE: the name on the provider's account
    double amount = 0;     // AMT2: amount to remit
    std::string pAcntName; // P_ACNT_NAME: the paying account's name
};

TransferRow transferRowAt(const db::RecordSet& rows, std::size_t row);

// The date field's text for a remittance date string "yyyy/mm/dd" (without its padding):
// the ROC year, month and day. Up to ROC year 99 the year is written as it is (991231,
// 90305 for 1920/03/05); from ROC year 100 on, the two-digit form the banks switched to
// then, the ROC year modulo 100 (2016/02/29 -> 050229), so the day is never cut off.
// Throws text::UserError for a date before ROC year 1, which the field cannot hold.
std::string rocDateField(const std::string& dateString);

// The record without its line end. The row must have passed the transfer record check
// (transfer_record_check.h); the amount is rounded half away from zero to whole dollars.
std::string transferRecord(const std::string& rocDate, const TransferRow& row);

} // namespace remittance
