#include "journal/run_register.h"

#include "db/sql.h"
#include "text/big5.h"

namespace journal {
namespace {

constexpr RunKind kKinds[] = {RunKind::Remit, RunKind::ChequeIssue, RunKind::Clearing, RunKind::Void, RunKind::Reprint};

// "YYYY/MM/DD" as the server reads a date.
std::string dateLiteral(std::string date)
{
    for (char& c : date)
        if (c == '/')
            c = '-';
    return "CAST(" + db::quote(date) + " AS DATE)";
}

std::string kindCaptionExpression()
{
    std::string cases = "CASE KIND";
    for (const RunKind kind : kKinds)
        cases += std::string(" WHEN '") + kindName(kind) + "' THEN CAST(" + db::quote(kindCaption(kind)) +
                 " AS VARCHAR(12))";
    return cases + " ELSE KIND END";
}

} // namespace

std::string kindCaption(RunKind kind)
{
    switch (kind) {
    case RunKind::Remit: return text::big5("匯款");
    case RunKind::ChequeIssue: return text::big5("開票");
    case RunKind::Clearing: return text::big5("清除匯款日");
    case RunKind::Void: return text::big5("作廢");
    case RunKind::Reprint: return text::big5("補印");
    }
    return {};
}

db::RecordSet listRuns(db::Executor& database, const RunFilter& filter)
{
    db::SqlLines sql;
    sql << "SELECT RUN_ID, " + kindCaptionExpression() + " AS KIND_NAME, KIND, BOOKS, ";
    sql << "  SUBSTRING(CAST(RUN_AT AS VARCHAR(24)) FROM 1 FOR 19) AS RUN_AT, DB_USER, DB_ROLE, ";
    sql << "  HOST_NAME, RUN_DATE, BILL_COUNT, BILL_SUM, LEFT_OUT_COUNT, FILE_COUNT, REASON, CONDITIONS ";
    // The probe a lost commit answer leaves behind never committed; a run always has a kind
    // of its own.
    sql << "FROM PAY_RUN WHERE KIND <> 'PROBE' ";
    if (!filter.from.empty())
        sql << "AND RUN_AT >= " + dateLiteral(filter.from) + " ";
    if (!filter.to.empty())
        sql << "AND RUN_AT < DATEADD(1 DAY TO " + dateLiteral(filter.to) + ") ";
    if (filter.kind)
        sql << std::string("AND KIND = '") + kindName(*filter.kind) + "' ";
    if (!filter.books.empty())
        sql << "AND BOOKS = " + db::quote(filter.books) + " ";
    if (!filter.user.empty())
        sql << "AND DB_USER = " + db::quote(filter.user) + " ";
    sql << "ORDER BY RUN_ID DESC";
    db::RecordSet runs = database.query(sql);
    work::checkGridColumns(runs, runColumns());
    return runs;
}

const work::GridColumns& runColumns()
{
    static const work::GridColumns columns = {
        {"RUN_ID", "序號", 7},       {"KIND_NAME", "類別", 10},   {"KIND", "", 6, false},
        {"BOOKS", "帳冊", 12},       {"RUN_AT", "作業時間", 19},  {"DB_USER", "使用者", 10},
        {"DB_ROLE", "角色", 14},     {"HOST_NAME", "工作站", 12}, {"RUN_DATE", "匯款/開票日", 10},
        {"BILL_COUNT", "筆數", 6},   {"BILL_SUM", "金額", 12},    {"LEFT_OUT_COUNT", "略過", 5},
        {"FILE_COUNT", "檔案數", 5}, {"REASON", "原因", 20},      {"CONDITIONS", "條件", 40},
    };
    return columns;
}

const work::GridColumns& runBillColumns()
{
    static const work::GridColumns columns = {
        {"BOOK", "帳冊", 12},   {"PROVIDER_ID", "廠商編號", 10},  {"BILL_KEY", "單據號碼", 14},
        {"AMOUNT", "金額", 12}, {"STAMP_BEFORE", "原匯款日", 10}, {"STAMP_AFTER", "新匯款日", 10},
    };
    return columns;
}

db::RecordSet runBills(db::Executor& database, long long runId)
{
    db::RecordSet bills = database.query(
        "SELECT BOOK, PROVIDER_ID, BILL_KEY, AMOUNT, STAMP_BEFORE, STAMP_AFTER FROM PAY_RUN_BILL WHERE RUN_ID = " +
        std::to_string(runId) + " ORDER BY BOOK, BILL_KEY");
    work::checkGridColumns(bills, runBillColumns());
    return bills;
}

std::vector<RunFile> runFiles(db::Executor& database, long long runId)
{
    const db::RecordSet rows = database.query(
        "SELECT FILE_NO, FOLDER, FILE_NAME, RECORDS, BYTE_SIZE, SHA256 FROM PAY_RUN_FILE WHERE RUN_ID = " +
        std::to_string(runId) + " ORDER BY FILE_NO");
    std::vector<RunFile> files;
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        RunFile file;
        file.runId = runId;
        file.fileNo = std::stoi(rows.text(r, 0));
        file.folder = rows.text(r, 1);
        file.name = rows.text(r, 2);
        file.records = std::stoi("0" + rows.text(r, 3));
        file.size = std::stoll("0" + rows.text(r, 4));
        file.sha256 = rows.text(r, 5);
        files.push_back(std::move(file));
    }
    return files;
}

} // namespace journal
