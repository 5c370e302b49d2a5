#pragma once
// Bill.ini, section FormPayAcc: the settings the window reads at show and writes at close.
#include <string>

namespace app {

struct BillSettings {
    bool accCheck = true;        // acc_check: only the exact text "0" turns it off
    std::string bankPath;        // BANK_PATH (Big5); empty means "use the default folder"
    std::string radioGroup13;    // bsSkinRadioGroup13 as stored; converted where applied
};

BillSettings readBillSettings(const std::string& iniPath);
// Item index of bsSkinRadioGroup13: 0 when missing or empty, else the stored integer
// (throws "'%s' is not a valid integer value").
int radioGroup13Index(const BillSettings& settings);
// Writes acc_check, BANK_PATH, bsSkinRadioGroup13 in this order, each at once.
void writeBillSettings(const std::string& iniPath, bool accCheck, const std::string& bankPath, int radioIndex);

} // namespace app
