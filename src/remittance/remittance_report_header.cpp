#include "remittance/remittance_report_header.h"

#include "db/sql.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/combo_key.h"
#include "text/numbers.h"

#include <utility>

namespace remittance {
namespace {

struct CountAndSum {
    std::string count, sum; // "#,##0"
};

struct HeaderCounts {
    CountAndSum sameBank, otherBank, all;
};

// Bills of WorkTableC and their AMT2 sums: paid from the same bank, from another, and all of
// them, in one pass over the table.
HeaderCounts headerCounts(db::Executor& database, const std::string& workTableC)
{
    const auto rows =
        database.query(db::SqlLines{"SELECT COUNT(CASE WHEN P_BANK_ID2 = BANK_ID2 THEN 1 END) AS SAME_COU,"
                                    "SUM(CASE WHEN P_BANK_ID2 = BANK_ID2 THEN AMT2 END) AS SAME_AMT,",
                                    "COUNT(CASE WHEN P_BANK_ID2 <> BANK_ID2 THEN 1 END) AS OTHER_COU,"
                                    "SUM(CASE WHEN P_BANK_ID2 <> BANK_ID2 THEN AMT2 END) AS OTHER_AMT,",
                                    "COUNT(*) AS COU,SUM(AMT2) AS AMT FROM " + workTableC});
    const auto pair = [&](const char* count, const char* sum) {
        return CountAndSum{text::formatGrouped(rows.number(0, count)), text::formatGrouped(rows.number(0, sum))};
    };
    return {pair("SAME_COU", "SAME_AMT"), pair("OTHER_COU", "OTHER_AMT"), pair("COU", "AMT")};
}

} // namespace

std::map<std::string, std::string> remittanceHeader(db::Executor& database, const std::string& workTableC,
                                                    const ReportHeaderInput& input)
{
    const auto [sameBank, otherBank, all] = headerCounts(database, workTableC);

    const bool oneStore = input.books == 1 && !text::isBlank(text::comboKey(input.storeComboText));
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
