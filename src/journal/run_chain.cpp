#include "journal/run_chain.h"

#include "journal/payment_journal.h"
#include "journal/sha256.h"
#include "text/big5.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string_view>
#include <vector>

namespace journal {
namespace {

// Unit, field and record separators of the sealed text; NULL is told from "" by its own byte.
constexpr char kNull = '\x01';
constexpr char kField = '\x1f';
constexpr char kRecord = '\x1e';

void appendRow(std::string& sealed, const db::RecordSet& rows, std::size_t r)
{
    for (std::size_t c = 0; c < rows.columnCount(); ++c) {
        if (rows.isNull(r, c)) {
            sealed += kNull;
        } else if (rows.column(c).type == db::FieldType::String) {
            sealed += rows.stringView(r, c);
        } else {
            // Every digit of a number, as the record set holds it.
            char digits[32];
            std::snprintf(digits, sizeof digits, "%.17g", rows.number(r, c));
            sealed += digits;
        }
        sealed += kField;
    }
    sealed += kRecord;
}

// Rows in the order the query gave them (a unique key's order).
void appendRows(std::string& sealed, const db::RecordSet& rows)
{
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        appendRow(sealed, rows, r);
}

// Rows that have no unique order in their table are sealed in the order of their sealed
// bytes: sorting the few thousand rows of a run here is cheaper than a server sort on every
// column, and gives the same order on every reading. The rows are laid out in one buffer and
// sorted as views of it: a string apiece would cost an allocation per bill.
void appendRowsInByteOrder(std::string& sealed, const db::RecordSet& rows)
{
    std::string laidOut;
    std::vector<std::size_t> ends(rows.rowCount());
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        appendRow(laidOut, rows, r);
        ends[r] = laidOut.size();
    }
    std::vector<std::string_view> each(rows.rowCount());
    for (std::size_t r = 0, start = 0; r < rows.rowCount(); start = ends[r++])
        each[r] = std::string_view(laidOut).substr(start, ends[r] - start);
    if (!std::is_sorted(each.begin(), each.end()))
        std::sort(each.begin(), each.end());
    sealed.reserve(sealed.size() + laidOut.size());
    for (const std::string_view row : each)
        sealed += row;
}

double numberOrZero(const std::string& text)
{
    return text.empty() ? 0.0 : std::stod(text);
}

std::string runTail(long long runId)
{
    return " WHERE RUN_ID = " + std::to_string(runId);
}

// The stored bytes of every file of every run: their checksum is part of the seal, so the
// bytes themselves are checked against it.
std::string fileBytesProblem(db::Executor& database, long long runId)
{
    const db::RecordSet files = database.query("SELECT FILE_NO, FILE_NAME, SHA256, BYTE_SIZE FROM PAY_RUN_FILE" +
                                               runTail(runId) + " ORDER BY FILE_NO");
    for (std::size_t r = 0; r < files.rowCount(); ++r) {
        const std::string bytes = fileBytes(database, runId, std::stoi(files.text(r, 0)));
        if (sha256Hex(bytes) != files.text(r, 2) || std::to_string(bytes.size()) != files.text(r, 3))
            return "檔案 " + files.text(r, 1) + " 存於紀錄中的內容與其檢查碼不符";
    }
    return {};
}

std::vector<std::string> booksDiffering(db::Executor& database)
{
    std::vector<std::string> differing;
    const std::pair<const char*, const char*> books[] = {{"PAY_MASTER", "MASTERBILLID"}, {"PAY_MASTERU", "SECBILLID"}};
    for (const auto& [book, key] : books) {
        const db::RecordSet rows = database.query(
            std::string("SELECT L.RUN_ID, L.BILL_KEY, B.STAMP_AFTER, M.BANK_DATE FROM ") +
            "(SELECT BILL_KEY, MAX(RUN_ID) AS RUN_ID FROM PAY_RUN_BILL WHERE BOOK = '" + book +
            "' GROUP BY BILL_KEY) L " + "JOIN PAY_RUN_BILL B ON B.RUN_ID = L.RUN_ID AND B.BOOK = '" + book +
            "' AND B.BILL_KEY = L.BILL_KEY " + "JOIN " + book + " M ON M." + key + " = L.BILL_KEY " +
            "WHERE COALESCE(B.STAMP_AFTER, '') <> COALESCE(M.BANK_DATE, '') ORDER BY L.RUN_ID, L.BILL_KEY");
        for (std::size_t r = 0; r < rows.rowCount(); ++r)
            differing.push_back(std::string(book) + " " + text::big5ToUtf8(rows.text(r, 1)) + "（付款紀錄 " +
                                rows.text(r, 0) + "：記錄為 " + (rows.text(r, 2).empty() ? "空白" : rows.text(r, 2)) +
                                "，帳冊現為 " + (rows.text(r, 3).empty() ? "空白" : rows.text(r, 3)) + "）");
    }
    return differing;
}

} // namespace

ChainLink lastSealedRun(db::Executor& database, long long beforeRunId)
{
    const db::RecordSet last =
        database.query("SELECT FIRST 1 RUN_ID, RUN_HASH FROM PAY_RUN WHERE RUN_HASH IS NOT NULL AND RUN_ID < " +
                       std::to_string(beforeRunId) + " ORDER BY RUN_ID DESC");
    if (last.isEmpty())
        return {};
    return {last.text(0, 0), last.text(0, 1)};
}

RunSeal runSeal(db::Executor& database, long long runId, const RunRow& row, const std::string& previousHash)
{
    std::string sealed = previousHash;
    sealed += kRecord;
    for (const std::string* field :
         {&row.kind, &row.books, &row.runAt, &row.user, &row.role, &row.host, &row.attachment, &row.runDate,
          &row.conditions, &row.reason, &row.leftOutCount, &row.fileCount, &row.previousRunId}) {
        sealed += *field;
        sealed += kField;
    }
    sealed += kRecord;
    RunSeal seal;
    const db::RecordSet bills = database.query("SELECT BOOK, BILL_KEY, PROVIDER_ID, AMOUNT, STAMP_BEFORE, STAMP_AFTER "
                                               "FROM PAY_RUN_BILL" +
                                               runTail(runId));
    appendRowsInByteOrder(sealed, bills);
    seal.billCount = static_cast<long long>(bills.rowCount());
    for (std::size_t r = 0; r < bills.rowCount(); ++r)
        if (!bills.isNull(r, 3))
            seal.billSum += bills.number(r, 3);
    sealed += kRecord;
    appendRows(sealed, database.query("SELECT FILE_NO, FOLDER, FILE_NAME, TEMP_NAME, RECORDS, BYTE_SIZE, SHA256 "
                                      "FROM PAY_RUN_FILE" +
                                      runTail(runId) + " ORDER BY FILE_NO"));
    sealed += kRecord;
    appendRowsInByteOrder(
        sealed, database.query("SELECT CHEQUE_ID, STATE_BEFORE, STATE_AFTER FROM PAY_RUN_CHEQUE" + runTail(runId)));
    seal.hash = sha256Hex(sealed);
    return seal;
}

ChainReport verifyChain(db::Executor& database)
{
    ChainReport report;
    const db::RecordSet runs =
        database.query("SELECT RUN_ID, KIND, BOOKS, CAST(RUN_AT AS VARCHAR(24)), DB_USER, DB_ROLE, HOST_NAME, "
                       "ATTACHMENT_ID, RUN_DATE, "
                       "CONDITIONS, REASON, LEFT_OUT_COUNT, FILE_COUNT, PREV_RUN_ID, RUN_HASH, BILL_COUNT, "
                       "CAST(BILL_SUM AS VARCHAR(32)) FROM PAY_RUN WHERE KIND <> 'PROBE' ORDER BY RUN_ID");
    std::map<std::string, std::string> sealOf;
    const auto broken = [&](const std::string& runId, std::string problem) {
        report.firstBrokenRun = std::stoll(runId);
        report.problem = std::move(problem);
    };
    for (std::size_t r = 0; r < runs.rowCount() && report.firstBrokenRun == 0; ++r) {
        const std::string runId = runs.text(r, 0);
        ++report.runsChecked;
        const std::string seal = runs.text(r, 14);
        if (seal.empty()) {
            // Runs journalled before seals existed come first; an unsealed one later was not
            // written by a press.
            if (!sealOf.empty())
                broken(runId, "這筆紀錄沒有封存碼，不是付款作業寫入的");
            else
                ++report.unsealedRuns;
            continue;
        }
        RunRow row;
        std::string* fields[] = {&row.kind,         &row.books,      &row.runAt,        &row.user,       &row.role,
                                 &row.host,         &row.attachment, &row.runDate,      &row.conditions, &row.reason,
                                 &row.leftOutCount, &row.fileCount,  &row.previousRunId};
        for (std::size_t f = 0; f < std::size(fields); ++f)
            *fields[f] = runs.text(r, f + 1);
        std::string previousHash;
        if (!row.previousRunId.empty()) {
            const auto previous = sealOf.find(row.previousRunId);
            if (previous == sealOf.end()) {
                broken(runId, "它所接續的付款紀錄 " + row.previousRunId + " 已不存在");
                break;
            }
            previousHash = previous->second;
        }
        const RunSeal resealed = runSeal(database, std::stoll(runId), row, previousHash);
        if (resealed.hash != seal) {
            broken(runId, "紀錄、單據、檔案或支票的內容與封存時不同");
            break;
        }
        // The sum is money: a difference below half a cent is the order of the additions.
        if (std::to_string(resealed.billCount) != runs.text(r, 15) ||
            std::abs(resealed.billSum - numberOrZero(runs.text(r, 16))) >= 0.005) {
            broken(runId, "筆數或金額與單據明細不符");
            break;
        }
        if (std::string problem = fileBytesProblem(database, std::stoll(runId)); !problem.empty()) {
            broken(runId, problem);
            break;
        }
        sealOf[runId] = seal;
    }
    report.booksDiffer = booksDiffering(database);
    return report;
}

} // namespace journal
