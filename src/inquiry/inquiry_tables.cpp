#include "inquiry/inquiry_tables.h"

#include "text/numbers.h"

#include <cstddef>

namespace inquiry {

namespace {

struct ColumnDef {
    const char* name;
    const char* type;
};

constexpr const char* kDouble = "DOUBLE PRECISION";

// WorkTableA in column order. The first 22 (CHKED .. CON_PEOPLE) also lead WorkTableB.
const ColumnDef kDetailColumns[] = {
    {"CHKED", "VARCHAR(2)"},
    {"BILL_DATE", "VARCHAR(10)"},
    {"PAY_DATE", "VARCHAR(10)"},
    {"MASTERBILLID", "VARCHAR(20)"},
    {"PROVIDER_ID", "VARCHAR(10)"},
    {"PROVIDER_NAME", "VARCHAR(50)"},
    {"BANK_ID", "VARCHAR(20)"},
    {"BANK_NAME", "VARCHAR(50)"},
    {"BANK_TITLE", "VARCHAR(50)"},
    {"BANK_ACCID", "VARCHAR(20)"},
    {"PROVIDER_PHONE", "VARCHAR(20)"},
    {"BANK_ID2", "VARCHAR(3)"},
    {"ACNT_ID", "VARCHAR(20)"},
    {"P_BANK_ID", "VARCHAR(10)"},
    {"P_BANK_NAME", "VARCHAR(50)"},
    {"P_ACNT_NO", "VARCHAR(20)"},
    {"P_ACNT_NAME", "VARCHAR(50)"},
    {"ACNT_AMT", kDouble},
    {"EXPORT_FILE", "VARCHAR(20)"},
    {"BANK_DATE", "VARCHAR(10)"},
    {"P_BANK_ID2", "VARCHAR(3)"},
    {"CON_PEOPLE", "VARCHAR(20)"},
    // --- end of the columns WorkTableB shares
    {"FLAG", "VARCHAR(10)"},
    {"FLAG_ID", "VARCHAR(10)"},
    {"FLAG_ID2", "VARCHAR(10)"},
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
    {"CASH_AMT", kDouble},
    {"PAGE_AMT", kDouble},
    {"EXPDATE", "VARCHAR(10)"},
    {"STORE_ID", "VARCHAR(10)"},
    {"STORE_NAME", "VARCHAR(20)"},
};
constexpr std::size_t kSharedLeadingColumns = 22;

// WorkTableB after its store groups.
const ColumnDef kStatisticsTrailingColumns[] = {
    {"FLAG", "VARCHAR(10)"}, {"FLAG_ID", "VARCHAR(10)"}, {"FLAG_ID2", "VARCHAR(10)"}, {"PRE_PAY", kDouble},
    {"TAKE_PRE", kDouble},   {"TOT_DISCOUNT", kDouble},  {"TOT_PATCH", kDouble},      {"PATCH_AMT", kDouble},
    {"OVER_PAY", kDouble},   {"TOTAL_PLUS", kDouble},    {"BANK_IO", kDouble},        {"AMT2", kDouble},
    {"AMT", kDouble},        {"CASH_AMT", kDouble},      {"PAGE_AMT", kDouble},       {"EXPDATE", "VARCHAR(10)"},
};

std::string columnLine(const ColumnDef& column, bool last)
{
    return std::string(" ") + column.name + " " + column.type + (last ? " " : ", ");
}

} // namespace

const work::GridColumns& inquiryFields()
{
    static const work::GridColumns fields = [] {
        work::GridColumns f = {
            {"PAY_DATE", "付款日期", 10, true},
            {"FLAG", "付款別", 5, true},
            {"PROVIDER_ID", "廠商編號", 8, true},
            {"PROVIDER_NAME", "廠商名稱", 25, true},
            {"AMT2", "匯款金額", 10, true},
            {"BANK_DATE", "處理日期", 10, true},
            {"CASH_AMT", "支付現金", 10, true},
            {"EXPDATE", "票據到期日", 10, true},
            {"PAGE_AMT", "支付票據", 10, true},
            {"BILL_DATE", "條件日期", 10, false},
            {"CHKED", "選擇", 2, false},
            {"P_BANK_NAME", "匯款帳戶", 50, false},
            {"AMT", "應付款", 10, false},
            {"ACNT_AMT", "手續費", 10, false},
            {"P_ACNT_NAME", "匯款帳戶", 50, false},
        };
        for (const char* name : {"BANK_ID", "BANK_NAME", "BANK_TITLE", "BANK_ACCID", "PROVIDER_PHONE", "ACNT_ID",
                                 "P_BANK_ID", "P_ACNT_NO", "EXPORT_FILE"})
            f.push_back({name, "", 20, false});
        for (const char* name :
             {"PRE_PAY", "TAKE_PRE", "TOT_DISCOUNT", "TOT_PATCH", "PATCH_AMT", "OVER_PAY", "TOTAL_PLUS", "BANK_IO"})
            f.push_back({name, "", 10, false});
        for (const char* name : {"MASTERBILLID", "BANK_ID2", "P_BANK_ID2", "CON_PEOPLE", "FLAG_ID"})
            f.push_back({name, "", 20, false});
        return f;
    }();
    return fields;
}

void openGrid(db::Executor& database, const db::SqlLines& sql, db::RecordSet& grid)
{
    grid.clear();
    db::RecordSet opened = database.query(sql);
    work::checkGridColumns(opened, inquiryFields());
    grid = std::move(opened);
}

db::SqlLines createDetailTable(const std::string& name)
{
    db::SqlLines sql{"CREATE TABLE " + name + " ( "};
    const std::size_t count = std::size(kDetailColumns);
    for (std::size_t i = 0; i < count; ++i)
        sql << columnLine(kDetailColumns[i], i + 1 == count);
    sql << ")";
    return sql;
}

db::SqlLines createStatisticsTable(const std::string& name, int groups)
{
    db::SqlLines sql{"CREATE TABLE " + name + " ( "};
    for (std::size_t i = 0; i < kSharedLeadingColumns; ++i)
        sql << columnLine(kDetailColumns[i], false);
    for (int n = 1; n <= groups; ++n) {
        const std::string nn = text::twoDigits(n);
        sql << " STORE_ID_" + nn + " VARCHAR(10),       "
            << " STORE_NAME_" + nn + " VARCHAR(20),       "
            << " AMT2_" + nn + " DOUBLE PRECISION,  "
            << " CASH_AMT_" + nn + " DOUBLE PRECISION,  "
            << " PAGE_AMT_" + nn + " DOUBLE PRECISION,  ";
    }
    const std::size_t count = std::size(kStatisticsTrailingColumns);
    for (std::size_t i = 0; i < count; ++i)
        sql << columnLine(kStatisticsTrailingColumns[i], i + 1 == count);
    sql << ")";
    return sql;
}

} // namespace inquiry
