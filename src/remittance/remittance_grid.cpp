#include "remittance/remittance_grid.h"

namespace remittance {

const work::GridColumns& remittanceGridFields()
{
    static const work::GridColumns fields = [] {
        work::GridColumns f = {
            {"CHKED", "選擇", 2, true},
            {"PROVIDER_ID", "廠商編號", 10, true},
            {"PROVIDER_NAME", "廠商名稱", 22, true},
            {"AMT", "應付款", 10, true},
            {"ACNT_AMT", "手續費", 10, true},
            {"AMT2", "匯款金額", 10, true},
            {"BANK_DATE", "匯款日期", 10, true},
            {"P_BANK_NAME", "匯款帳戶", 24, true},
        };
        for (const char* hidden :
             {"FLAG",           "BILL_DATE",    "P_ACNT_NAME",  "BANK_ID",    "BANK_NAME",   "BANK_TITLE", "BANK_ACCID",
              "PROVIDER_PHONE", "ACNT_ID",      "P_BANK_ID",    "P_ACNT_NO",  "EXPORT_FILE", "CASH_AMT",   "PAGE_AMT",
              "PRE_PAY",        "TAKE_PRE",     "TOT_DISCOUNT", "TOT_PATCH",  "PATCH_AMT",   "OVER_PAY",   "TOTAL_PLUS",
              "BANK_IO",        "MASTERBILLID", "BANK_ID2",     "P_BANK_ID2", "CON_PEOPLE"})
            f.push_back({hidden, hidden, 10, false});
        return f;
    }();
    return fields;
}

void openRemittanceGrid(db::Executor& database, db::RecordSet& grid, const std::string& tableA)
{
    grid.clear();
    db::RecordSet opened = database.query("SELECT * FROM " + tableA + " ORDER BY PROVIDER_ID");
    work::checkGridColumns(opened, remittanceGridFields());
    grid = std::move(opened);
}

} // namespace remittance
