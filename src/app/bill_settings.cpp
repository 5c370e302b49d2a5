#include "app/bill_settings.h"

#include "platform/ini_file.h"
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
    settings.radioGroup13 = ini.read(kSection, "bsSkinRadioGroup13", "");
    return settings;
}

int radioGroup13Index(const BillSettings& settings)
{
    if (settings.radioGroup13.empty())
        return 0;
    return static_cast<int>(text::parseInteger(settings.radioGroup13));
}

void writeBillSettings(const std::string& iniPath, bool accCheck, const std::string& bankPath, int radioIndex)
{
    platform::IniFile ini(iniPath);
    ini.write(kSection, "acc_check", accCheck ? "1" : "0");
    ini.write(kSection, "BANK_PATH", bankPath);
    ini.write(kSection, "bsSkinRadioGroup13", std::to_string(radioIndex));
}

} // namespace app
