#include "cheque/cheque_table.h"

#include "cheque/issue_state.h"

namespace cheque {
namespace {

db::SqlLines createTable(const std::string& name, const std::string& lastLine)
{
    db::SqlLines sql{"CREATE TABLE " + name + " ( ", "CHKED VARCHAR(2),          ",  "RCVDATE VARCHAR(10),        ",
                     "EXPDATE VARCHAR(10),        ", "ADVDATE VARCHAR(10),        ", "PROVIDER_ID    VARCHAR(10), ",
                     "PROVIDER_NAME  VARCHAR(50), ", "CHKTITLE VARCHAR(50),       ", "ID VARCHAR(20),             ",
                     "ACNT_ID VARCHAR(20),        ", "ACNT_NO VARCHAR(20),        ", "BANK_NAME VARCHAR(50),      ",
                     "CURRAMT DOUBLE PRECISION,   ", "MEMO VARCHAR(200),          ", "REMARK2 VARCHAR(50),        ",
                     "ACC_ID    VARCHAR(20),",       "BANK_DATE VARCHAR(10),",       "YMD       VARCHAR(10),",
                     "YYYY      VARCHAR(10),",       "MM        VARCHAR(10),",       "DD        VARCHAR(10),"};
    sql << lastLine;
    return sql;
}

} // namespace

db::SqlLines createListedTable(const std::string& name)
{
    return createTable(name, "FLAG           VARCHAR(10))");
}

db::SqlLines createIssuedTable(const std::string& name)
{
    return createTable(name, "FLAG      VARCHAR(10))");
}

db::SqlLines copyFromChequeBook(const std::string& listedTable)
{
    return {"INSERT INTO " + listedTable + "(RCVDATE,EXPDATE,ADVDATE,PROVIDER_ID,PROVIDER_NAME,",
            "CHKTITLE,ID,ACNT_ID,ACNT_NO,BANK_NAME,CURRAMT,MEMO,REMARK2)",
            "SELECT RCVDATE,EXPDATE,ADVDATE,PROVIDER_ID,PROVIDER_NAME,",
            "CHKTITLE,ID,ACNT_ID,ACNT_NO,BANK_NAME,CURRAMT,MEMO,REMARK2", "FROM CHKPAY "};
}

db::SqlLines copyIssuedCheques(const std::string& issuedTable, const std::string& listedTable)
{
    return {"INSERT INTO " + issuedTable + "(RCVDATE,EXPDATE,ADVDATE,PROVIDER_ID,PROVIDER_NAME,ACC_ID,MEMO,REMARK2,",
            "CHKTITLE,ID,ACNT_ID,ACNT_NO,BANK_NAME,CURRAMT,YMD,YYYY,MM,DD)",
            "SELECT RCVDATE,EXPDATE,ADVDATE,PROVIDER_ID,PROVIDER_NAME,ACC_ID,MEMO,REMARK2,",
            "CHKTITLE,ID,ACNT_ID,ACNT_NO,BANK_NAME,CURRAMT,YMD,YYYY,MM,DD", "FROM " + listedTable};
}

std::string dateColumnName(DateColumn column)
{
    switch (column) {
    case DateColumn::Issued: return "RCVDATE";
    case DateColumn::Advance: return "ADVDATE";
    case DateColumn::Due: break;
    }
    return "EXPDATE";
}

std::string orderByLine(SortOrder order)
{
    return order == SortOrder::Provider ? "ORDER BY PROVIDER_ID,ID" : "ORDER BY ACNT_NO,ID";
}

std::string templateFile(ChequeForm form)
{
    switch (form) {
    case ChequeForm::Two: return "Tolvane_21.rtm";
    case ChequeForm::Three: return "Tolvane_22.rtm";
    case ChequeForm::One: break;
    }
    return "P99_000502.rtm";
}

work::GridColumns gridFields()
{
    // The cheque number keeps its column's 20 bytes and is shown as wide, so a long number
    // is neither cut in the record set nor hidden on screen.
    return {
        {"CHKED", "選擇", 2, true},
        {"ID", "支票號碼", 20, true},
        {"PROVIDER_ID", "廠商編號", 8, true},
        {"PROVIDER_NAME", "廠商名稱", 10, true},
        {"CHKTITLE", "支票抬頭", 26, true},
        {"EXPDATE", "支票到期日", 10, true},
        {"CURRAMT", "支票金額", 8, true},
        {"ACNT_NO", "開立帳號", 13, true},
        {"RCVDATE", "開票日期", 10, true},
        // The issue state of the cheque's bills, after the columns the grid always had.
        {kIssueStateField, "已開票", 10, true},
        {"ACNT_ID", "開立帳戶", 20, false},
        {"BANK_NAME", "BANK_NAME", 50, false},
        {"FLAG", "FLAG", 10, false},
        {"YMD", "YMD", 10, false},
        {"YYYY", "YYYY", 10, false},
        {"MM", "MM", 10, false},
        {"DD", "DD", 10, false},
        {"ADVDATE", "ADVDATE", 10, false},
    };
}

} // namespace cheque
