#include "app/bill_settings.h"

#include "platform/ini_file.h"
#include "text/big5.h"
#include "text/numbers.h"

namespace app {

namespace {
const std::string kSection = "FormPayAcc";
}

BillSettings readBillSettings(const std::string& iniPath)
{
    const platform::IniFile ini(iniPath);
    BillSettings settings;
    settings.accCheck = ini.read(kSection, "acc_check", "") != "0";
    settings.bankPath = ini.read(kSection, "BANK_PATH", "");
    settings.books = ini.read(kSection, "bsSkinRadioGroup13", "");
    return settings;
}

int booksIndex(const BillSettings& settings)
{
    if (settings.books.empty())
        return 0;
    return static_cast<int>(text::parseInteger(settings.books));
}

BankPathText bankPathText(const std::string& stored)
{
    // Big5 is what the program writes, so valid Big5 is read as Big5. Text in UTF-8 is rarely
    // valid Big5 too (its continuation bytes 0x80-0xA0 are no Big5 trail bytes).
    if (text::isBig5Text(stored))
        return {text::big5ToUtf8(stored), {}};
    if (text::isUtf8Text(stored))
        return {stored,
                "Bill.ini 的 BANK_PATH 不是 Big5 文字,已當作 UTF-8 讀入:「" + stored + "」。離開時以 Big5 存回。"};
    return {text::big5ToUtf8(stored),
            "Bill.ini 的 BANK_PATH 含有無法辨識的位元組,顯示為「�」。請在「路徑檔名」重新輸入銀行檔案的資料夾。"};
}

void writeBillSettings(const std::string& iniPath, bool accCheck, const std::optional<std::string>& bankPath,
                       int radioIndex)
{
    platform::IniFile ini(iniPath);
    ini.write(kSection, "acc_check", accCheck ? "1" : "0");
    if (bankPath)
        ini.write(kSection, "BANK_PATH", *bankPath);
    ini.write(kSection, "bsSkinRadioGroup13", std::to_string(radioIndex));
}

} // namespace app
