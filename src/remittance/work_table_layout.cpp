#include "remittance/work_table_layout.h"

#include "text/numbers.h"

namespace remittance {

namespace {

const char* const kVarchar2 = "VARCHAR(2)";
const char* const kVarchar3 = "VARCHAR(3)";
const char* const kVarchar10 = "VARCHAR(10)";
const char* const kVarchar20 = "VARCHAR(20)";
const char* const kVarchar50 = "VARCHAR(50)";
const char* const kDouble = "DOUBLE PRECISION";

// The order in which the copy names the columns: the system's own statement lists them so,
// which is not the table order.
const char* const kCopyOrder[] = {
    "CHKED",       "BILL_DATE", "BILL_YM",     "PAY_DATE",   "MASTERBILLID",   "PROVIDER_ID",  "PROVIDER_NAME",
    "BANK_ID",     "BANK_NAME", "BANK_TITLE",  "BANK_ACCID", "PROVIDER_PHONE", "ACNT_ID",      "P_BANK_ID",
    "P_BANK_NAME", "P_ACNT_NO", "P_ACNT_NAME", "ACNT_AMT",   "EXPORT_FILE",    "CON_PEOPLE",   "BANK_DATE",
    "FLAG",        "CASH_AMT",  "PAGE_AMT",    "PRE_PAY",    "TAKE_PRE",       "TOT_DISCOUNT", "TOT_PATCH",
    "PATCH_AMT",   "OVER_PAY",  "TOTAL_PLUS",  "BANK_IO",    "AMT2",           "AMT",          "BANK_ID2",
    "P_BANK_ID2",  "STORE_ID",  "STORE_NAME",
};

} // namespace

const std::vector<WorkColumn>& billColumns()
{
    static const std::vector<WorkColumn> columns = {
        {"CHKED", kVarchar2},
        {"BILL_DATE", kVarchar10},
        {"BILL_YM", kVarchar10},
        {"PAY_DATE", kVarchar10},
        {"MASTERBILLID", kVarchar20},
        {"PROVIDER_ID", kVarchar10},
        {"PROVIDER_NAME", kVarchar50},
        {"BANK_ID", kVarchar20},
        {"BANK_NAME", kVarchar50},
        {"BANK_TITLE", kVarchar50},
        {"BANK_ACCID", kVarchar20},
        {"PROVIDER_PHONE", kVarchar20},
        {"BANK_ID2", kVarchar3},
        {"ACNT_ID", kVarchar20},
        {"P_BANK_ID", kVarchar10},
        {"P_BANK_NAME", kVarchar50},
        {"P_ACNT_NO", kVarchar20},
        {"P_ACNT_NAME", kVarchar50},
        {"ACNT_AMT", kDouble},
        {"EXPORT_FILE", kVarchar20},
        {"BANK_DATE", kVarchar10},
        {"P_BANK_ID2", kVarchar3},
        {"CON_PEOPLE", kVarchar20},
        {"STORE_ID", kVarchar10},
        {"STORE_NAME", kVarchar20},
        {"FLAG", kVarchar10},
        {"CASH_AMT", kDouble},
        {"PAGE_AMT", kDouble},
        {"PRE_PAY", kDouble},
        {"TAKE_PRE", kDouble},
        {"TOT_DISCOUNT", kDouble},
        {"TOT_PATCH", kDouble},
        {"PATCH_AMT", kDouble},
        {"OVER_PAY", kDouble},
        {"TOTAL_PLUS", kDouble},
        {"BANK_IO", kDouble},
        {"AMT2", kDouble},
        {"AMT", kDouble},
    };
    return columns;
}

std::vector<WorkColumn> summaryColumns(int storeCount)
{
    const auto& bill = billColumns();
    std::vector<WorkColumn> columns = {
        {"CHKED", kVarchar2},          {"BILL_DATE", kVarchar10},    {"BILL_YM", kVarchar10},
        {"PAY_DATE", kVarchar10},      {"MASTERBILLID", kVarchar20}, {"PROVIDER_ID", kVarchar10},
        {"PROVIDER_NAME", kVarchar50}, {"ID", kVarchar20},
    };
    // Columns 8 to 25 of WorkTableA: BANK_ID ... STORE_NAME.
    columns.insert(columns.end(), bill.begin() + 7, bill.begin() + 25);
    for (int k = 1; k <= (storeCount < 1 ? 1 : storeCount); ++k) {
        const std::string kk = text::twoDigits(k);
        columns.push_back({"AMT2" + kk, kDouble});
        columns.push_back({"QTY2" + kk, kDouble});
        columns.push_back({"ID_" + kk, kVarchar20});
    }
    columns.push_back({"AMT_T", kDouble});
    columns.push_back({"QTY_T", kDouble});
    // Columns 26 to 38 of WorkTableA: FLAG ... AMT.
    columns.insert(columns.end(), bill.begin() + 25, bill.end());
    return columns;
}

db::SqlLines createTable(const std::string& name, const std::vector<WorkColumn>& columns)
{
    db::SqlLines sql;
    sql << "CREATE TABLE " + name + " ( ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql << "  " + columns[i].name + " " + columns[i].type + (i + 1 < columns.size() ? "," : "");
    sql << " ) ";
    return sql;
}

db::SqlLines copyBillRows(const std::string& tableA, const std::string& tableC, const std::string& bankDateValue,
                          const std::vector<std::string>& conditionLines)
{
    std::string targets;
    std::string sources;
    for (const char* column : kCopyOrder) {
        if (!targets.empty()) {
            targets += ", ";
            sources += ", ";
        }
        targets += column;
        sources += (!bankDateValue.empty() && std::string_view(column) == "BANK_DATE") ? db::quote(bankDateValue)
                                                                                       : std::string(column);
    }
    db::SqlLines sql;
    sql << "INSERT INTO " + tableC + " ( " + targets + " ) ";
    sql << "SELECT " + sources + " ";
    sql << "FROM " + tableA + " ";
    for (const std::string& line : conditionLines)
        sql << line;
    return sql;
}

} // namespace remittance
