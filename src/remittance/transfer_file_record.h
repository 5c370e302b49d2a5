#pragma once
// One 175-byte record of a bank transfer file, field by field, as the bank's upload software
// reads it. Texts are the Big5 bytes stored in the database; widths count bytes.
#include "db/record_set.h"

#include <string>

namespace remittance {

constexpr std::size_t transferRecordWidth = 175;

// The values of one remitted bill that a record carries (columns of WorkTableC).
struct TransferRow {
    std::string conPeople;   // CON_PEOPLE of the paying account
    std::string bankId;      // BANK_ID: the provider's bank and branch
    std::string bankAccId;   // BANK_ACCID: the provider's account number, digits
    std::string bankTitle;   // BANK_TITLE: the name on the provider's account
    double amount = 0;       // AMT2: amount to remit
    std::string pAcntName;   // P_ACNT_NAME: the paying account's name
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
