#include "journal/payment_journal.h"

#include "journal/run_chain.h"
#include "journal/sha256.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "text/error.h"

namespace journal {
namespace {

std::string quotedOrNull(const std::optional<std::string>& value)
{
    return value ? db::quote(*value) : "NULL";
}

std::string number(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// With an exponent the server reads the literal as a double, every digit as written; without
// one it would read a scaled integer and divide.
std::string doubleLiteral(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", value);
    return buffer;
}

constexpr const char* kBillColumns =
    "INSERT INTO PAY_RUN_BILL (RUN_ID, BOOK, BILL_KEY, PROVIDER_ID, AMOUNT, STAMP_BEFORE, STAMP_AFTER) ";
// Bills per EXECUTE BLOCK of recordBills.
constexpr std::size_t kBillsPerBlock = 150;

} // namespace

const char* kindName(RunKind kind)
{
    switch (kind) {
    case RunKind::Remit: return "REMIT";
    case RunKind::ChequeIssue: return "CHEQUE";
    case RunKind::Clearing: return "CLEAR";
    case RunKind::Void: return "VOID";
    case RunKind::Reprint: return "REPRINT";
    }
    return "REMIT";
}

std::string billEntriesSelect(long long runId)
{
    return std::string(kBillColumns) + "SELECT " + std::to_string(runId) + ", ";
}

std::string chequeEntryStatement(long long runId, const std::string& chequeId, const std::string& before,
                                 const std::string& after)
{
    return "INSERT INTO PAY_RUN_CHEQUE (RUN_ID, CHEQUE_ID, STATE_BEFORE, STATE_AFTER) VALUES (" +
           std::to_string(runId) + ", " + chequeId + ", " + before + ", " + after + "); ";
}

std::string chequeVoided(const std::string& chequeIdExpression)
{
    return "EXISTS (SELECT 1 FROM PAY_RUN_CHEQUE VC JOIN PAY_RUN VR ON VR.RUN_ID = VC.RUN_ID "
           "WHERE VC.CHEQUE_ID = " +
           chequeIdExpression + " AND VR.KIND = 'VOID')";
}

long long newRunId(db::Executor& database)
{
    return std::stoll(database.lookup("SELECT NEXT VALUE FOR PAY_RUN_SEQ FROM RDB$DATABASE"));
}

std::string billEntryStatement(long long runId, const std::string& bookLiteral, const std::string& key,
                               const std::string& provider, const std::string& amount, const std::string& before,
                               const std::string& after)
{
    return std::string(kBillColumns) + "VALUES (" + std::to_string(runId) + ", " + bookLiteral + ", " + key + ", " +
           provider + ", " + amount + ", " + before + ", " + after + "); ";
}

void recordBills(db::Executor& transaction, long long runId, const std::vector<BillEntry>& bills)
{
    for (std::size_t first = 0; first < bills.size(); first += kBillsPerBlock) {
        std::string block = "EXECUTE BLOCK AS BEGIN ";
        for (std::size_t i = first; i < bills.size() && i < first + kBillsPerBlock; ++i) {
            const BillEntry& bill = bills[i];
            block += billEntryStatement(runId, db::quote(bill.book), db::quote(bill.key), db::quote(bill.providerId),
                                        number(bill.amount), quotedOrNull(bill.before), quotedOrNull(bill.after));
        }
        transaction.execute(block + "END");
    }
}

void recordFile(db::Executor& transaction, long long runId, int fileNo, const FileEntry& file)
{
    // The bytes go as one BLOB parameter: pieced together from literals, every piece would
    // copy the whole blob again.
    transaction.executeWithBytes(
        "INSERT INTO PAY_RUN_FILE (RUN_ID, FILE_NO, FOLDER, FILE_NAME, TEMP_NAME, RECORDS, BYTE_SIZE, SHA256, BYTES) "
        "VALUES (" +
            std::to_string(runId) + ", " + std::to_string(fileNo) + ", " + db::quote(file.folder) + ", " +
            db::quote(file.name) + ", " + db::quote(file.tempName) + ", " + std::to_string(file.records) + ", " +
            std::to_string(file.bytes.size()) + ", " + db::quote(sha256Hex(file.bytes)) + ", ?)",
        file.bytes);
}

void recordRun(db::Executor& transaction, long long runId, const RunEntry& run, int fileCount)
{
    // The row's own fields, fixed here so that the seal covers them exactly as stored.
    const db::RecordSet now = transaction.query("SELECT CAST(CURRENT_TIMESTAMP AS VARCHAR(24)), CURRENT_USER, "
                                                "CURRENT_ROLE, CURRENT_CONNECTION FROM RDB$DATABASE");
    const ChainLink previous = lastSealedRun(transaction, runId);
    RunRow row;
    row.kind = kindName(run.kind);
    row.books = run.books;
    row.runAt = now.text(0, 0);
    row.user = now.text(0, 1);
    row.role = now.text(0, 2);
    row.host = hostName();
    row.attachment = now.text(0, 3);
    row.runDate = run.runDate;
    row.conditions = run.conditions.substr(0, 2000);
    row.reason = run.reason.substr(0, 400);
    row.leftOutCount = std::to_string(run.leftOutCount);
    row.fileCount = std::to_string(fileCount);
    row.previousRunId = previous.runId;
    // The count and sum come with the seal's reading of the bill rows.
    const RunSeal seal = runSeal(transaction, runId, row, previous.hash);

    const std::string id = std::to_string(runId);
    db::SqlLines sql;
    sql << "INSERT INTO PAY_RUN (RUN_ID, KIND, BOOKS, RUN_AT, DB_USER, DB_ROLE, HOST_NAME, ATTACHMENT_ID, RUN_DATE, ";
    sql << " CONDITIONS, REASON, BILL_COUNT, BILL_SUM, LEFT_OUT_COUNT, FILE_COUNT, PREV_RUN_ID, RUN_HASH) ";
    sql << "VALUES (" + id + ", " + db::quote(row.kind) + ", " + db::quote(row.books) + ", " + db::quote(row.runAt) +
               ", " + db::quote(row.user) + ", " + db::quote(row.role) + ", " + db::quote(row.host) + ", " +
               row.attachment + ", " + db::quote(row.runDate) + ", ";
    sql << " " + db::quote(row.conditions) + ", " + db::quote(row.reason) + ", " + std::to_string(seal.billCount) +
               ", " + doubleLiteral(seal.billSum) + ", " + row.leftOutCount + ", " + row.fileCount + ", " +
               (previous.runId.empty() ? "NULL" : previous.runId) + ", " + db::quote(seal.hash) + ")";
    transaction.execute(sql);
    platform::log("journal", platform::LogLevel::Info,
                  "run " + id + " " + row.kind + " " + row.books + " " + row.runDate + ", " + row.fileCount +
                      " files, conditions: " + platform::logText(row.conditions, 400) +
                      (row.reason.empty() ? "" : ", reason: " + platform::logText(row.reason, 200)));
}

std::string fileBytes(db::Executor& database, long long runId, int fileNo)
{
    return database.blobLookup("SELECT BYTES FROM PAY_RUN_FILE WHERE RUN_ID = " + std::to_string(runId) +
                               " AND FILE_NO = " + std::to_string(fileNo));
}

bool runCommitted(db::Connection& fresh, long long runId)
{
    db::Transaction probe(fresh);
    try {
        probe.execute("INSERT INTO PAY_RUN (RUN_ID, KIND) VALUES (" + std::to_string(runId) + ", 'PROBE')");
    } catch (const text::UserError& error) {
        const std::string message = error.what();
        if (message.find("PRIMARY or UNIQUE KEY") != std::string::npos)
            return true;
        throw;
    }
    probe.rollback();
    return false;
}

std::string hostName()
{
    return platform::hostName();
}

} // namespace journal
