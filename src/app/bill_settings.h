#pragma once
// Bill.ini, section FormPayAcc: the settings the window reads at show and writes at close.
#include <optional>
#include <string>

namespace app {

struct BillSettings {
    bool accCheck = true; // acc_check: only the exact text "0" turns it off
    std::string bankPath; // BANK_PATH as stored (Big5); empty means "use the default folder"
    std::string books;    // key bsSkinRadioGroup13, the books option as stored
};

BillSettings readBillSettings(const std::string& iniPath);
// Item index of the books option: 0 when missing or empty, else the stored integer
// (throws "'%s' is not a valid integer value").
int booksIndex(const BillSettings& settings);

// The stored bank path as the clerk should see it. The program stores Big5; an administrator
// who edited the file may have written UTF-8. Either is read as meant; anything else is shown
// as far as it can be, and `problem` says what the clerk should know (empty when nothing).
struct BankPathText {
    std::string utf8;
    std::string problem; // UTF-8 message
};
BankPathText bankPathText(const std::string& stored);

// Writes acc_check, BANK_PATH, bsSkinRadioGroup13 (the books option) in this order, each at
// once. Without a bank path (one that Big5 cannot hold) BANK_PATH keeps what the file holds.
void writeBillSettings(const std::string& iniPath, bool accCheck, const std::optional<std::string>& bankPath,
                       int radioIndex);

} // namespace app
