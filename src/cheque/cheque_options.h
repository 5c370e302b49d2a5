#pragma once
// The choices the cheque tab offers, as the module takes them.
#include <string>

namespace cheque {

// Which date of a cheque the listed range applies to ("到期日期", "開票日期", "預兌日期").
enum class DateColumn { Due, Issued, Advance };
// Row order of the grid and of the print ("支票號碼", "廠商編號").
enum class SortOrder { ChequeNumber, Provider };
// The printed form ("格式一", "格式二", "格式三").
enum class ChequeForm { One, Two, Three };

// What the condition confirm reads from the tab. Texts are Big5 as the controls hold them;
// the date texts are parsed here, so a bad one stops the run with the date message.
struct ListConditions {
    DateColumn dateColumn = DateColumn::Due;
    std::string startDateText;
    std::string endDateText;
    std::string accountComboText; // "id,name" or whatever the clerk typed
    SortOrder order = SortOrder::ChequeNumber;
};

struct PrintOptions {
    ChequeForm form = ChequeForm::One;
    SortOrder order = SortOrder::ChequeNumber;
    std::string reportTitle; // Big5, the company title of the report headings
};

struct IssueOptions {
    // The issue date edit's text, stamped as it stands.
    std::string issueDateText;
    PrintOptions print;
};

} // namespace cheque
