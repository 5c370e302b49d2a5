#pragma once
// Writing the payment journal inside a press's own transaction, so the press's stamps and
// its journal rows commit together or not at all; and, after a lost commit answer, asking
// the server whether a run committed.
#include "db/connection.h"

#include <optional>
#include <string>
#include <vector>

namespace journal {

enum class RunKind { Remit, ChequeIssue, Clearing, Void, Reprint };
const char* kindName(RunKind kind); // "REMIT", "CHEQUE", "CLEAR", "VOID", "REPRINT"

// What a press says about itself; texts are Big5 as the clerk set them.
struct RunEntry {
    RunKind kind = RunKind::Remit;
    std::string books;      // the payment book: PAY_MASTER or PAY_MASTERU
    std::string runDate;    // the remittance or issue date ("" for a clearing)
    std::string conditions; // the list's and the press's conditions as the clerk set them
    std::string reason;     // why a cheque is issued again ("" otherwise)
    int leftOutCount = 0;   // bills the press left out because their state had changed
};

// A run id from the generator. Taken before the press's transaction: ids are never reused,
// whether the run commits or not.
long long newRunId(db::Executor& database);

// One row per bill touched. `before`/`after` are the stamp (BANK_DATE) as found and as left;
// nullopt for NULL.
struct BillEntry {
    std::string book, key, providerId;
    double amount = 0;
    std::optional<std::string> before, after;
};
void recordBills(db::Executor& transaction, long long runId, const std::vector<BillEntry>& bills);

// The PSQL statement that journals one bill from variables of an EXECUTE BLOCK (the press
// stamps and journals each bill in one pass on the server). The arguments are PSQL value
// expressions, e.g. ":K".
std::string billEntryStatement(long long runId, const std::string& bookLiteral, const std::string& key,
                               const std::string& provider, const std::string& amount, const std::string& before,
                               const std::string& after);

// The head of a statement that journals the rows a SELECT yields, one bill each: the text
// ends in "SELECT <runId>, " and the caller completes the select list with the book, key,
// provider, amount, stamp before and stamp after, then its FROM.
std::string billEntriesSelect(long long runId);

// A cheque a cheque run issued or voided, with its issue state before and after: a PSQL
// statement; the arguments are PSQL value expressions, e.g. ":K".
std::string chequeEntryStatement(long long runId, const std::string& chequeId, const std::string& before,
                                 const std::string& after);

// The condition, for a cheque number expression, that a void run has voided that cheque: it
// is never issued or printed as valid again.
std::string chequeVoided(const std::string& chequeIdExpression);

// One file of the run: where it goes, under which temporary name it waits, and its bytes.
struct FileEntry {
    std::string folder;   // the bank folder, with its trailing separator
    std::string name;     // e.g. "ABC.TXT"
    std::string tempName; // name of the temporary file in the same folder
    int records = 0;
    std::string bytes;
};
// Stores the bytes and their SHA-256; the row is sealed by the checksum.
void recordFile(db::Executor& transaction, long long runId, int fileNo, const FileEntry& file);

// The run's own row, written last; counts and sums are taken from its bill rows, and the row
// is sealed onto the chain of runs (journal/run_chain.h).
void recordRun(db::Executor& transaction, long long runId, const RunEntry& run, int fileCount);

// The bytes of a journalled file.
std::string fileBytes(db::Executor& database, long long runId, int fileNo);

// Whether run `runId` committed, asked on a fresh connection after the answer to the commit
// was lost: an insert of the same run id waits for the press's transaction if the server
// still holds it, then fails as a duplicate (committed) or goes through (not committed; the
// probe is rolled back).
bool runCommitted(db::Connection& fresh, long long runId);

// The workstation's host name.
std::string hostName();

} // namespace journal
