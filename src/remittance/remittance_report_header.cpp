#include "remittance/remittance_report_header.h"

#include "db/sql.h"
#include "text/big5.h"
#include "text/combo_key.h"
#include "text/numbers.h"

#include <utility>

namespace remittance {
namespace {

struct CountAndSum {
    std::string count, sum; // "#,##0"
};

// Bills of WorkTableC and their AMT2 sum; `condition` is an extra WHERE line or empty.
CountAndSum countAndSum(db::Executor& database, const std::string& workTableC, const std::string& condition)
{
    db::SqlLines sql{"SELECT COUNT(*) AS COU,SUM(AMT2) AS AMT FROM " + workTableC};
    if (!condition.empty())
        sql << condition;
    const auto rows = database.query(sql);
    if (rows.isEmpty())
        return {"0", "0"};
    return {text::formatGrouped(rows.number(0, "COU")), text::formatGrouped(rows.number(0, "AMT"))};
}

bool blank(const std::string& s)
{
    return s.find_first_not_of(' ') == std::string::npos;
}

} // namespace

std::map<std::string, std::string> remittanceHeader(db::Executor& database, const std::string& workTableC,
                                                    const ReportHeaderInput& input)
{
    const auto sameBank = countAndSum(database, workTableC, "WHERE P_BANK_ID2 = BANK_ID2 ");
    const auto otherBank = countAndSum(database, workTableC, "WHERE P_BANK_ID2 <> BANK_ID2 ");
    const auto all = countAndSum(database, workTableC, {});

    const bool oneStore = input.books == 1 && !blank(text::comboKey(input.storeComboText));
    return {
        {"Field0", text::big5("廠商批次匯款明細表")},
        {"Field1", input.fromDate},
        {"Field2", input.toDate},
        {"Field3", sameBank.count},
        {"Field4", sameBank.sum},
        {"Field5", otherBank.count},
        {"Field6", otherBank.sum},
        {"Field7", input.reportTitle},
        {"Field8", input.reprintMark},
        {"Field9", oneStore ? text::big5("分店資料:") + input.storeComboText : text::big5("分店資料:全部")},
        {"Field10", text::big5("匯款日期:") + input.reportDate},
        {"Field11", all.count},
        {"Field12", all.sum},
    };
}

} // namespace remittance
