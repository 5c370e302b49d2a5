#pragma once
// The journal's tamper evidence: each run is sealed, in its own transaction, with a SHA-256
// over its own row, its bills, files and cheques, and the seal of the run before it (a
// chain). Walking the chain later names the first run whose rows no longer give its seal,
// whose stored file bytes no longer give their checksum, or whose predecessor is gone; and
// the books are compared with the last run that touched each bill.
#include "db/executor.h"

#include <string>
#include <vector>

namespace journal {

// The run row's own fields as they are stored and sealed. `runAt` is the server's timestamp
// as text (CAST(... AS VARCHAR(24))), so the row reads back as it was sealed.
struct RunRow {
    std::string kind, books, runAt, user, role, host, attachment, runDate, conditions, reason;
    std::string leftOutCount, fileCount;
    std::string previousRunId; // "" for the first sealed run
};

// The run that the next run seals onto: the latest committed run this transaction sees.
struct ChainLink {
    std::string runId; // "" when there is none
    std::string hash;
};
ChainLink lastSealedRun(db::Executor& database, long long beforeRunId);

// The seal of run `runId`: SHA-256 over the previous seal, the run row and the run's bill,
// file and cheque rows as stored (read in `database`, which for a press is its transaction),
// with the count and sum of the bill rows taken in the same reading.
struct RunSeal {
    std::string hash;
    long long billCount = 0;
    double billSum = 0; // the AMOUNTs in the order read, a NULL as 0
};
RunSeal runSeal(db::Executor& database, long long runId, const RunRow& row, const std::string& previousHash);

struct ChainReport {
    int runsChecked = 0;
    int unsealedRuns = 0;         // runs from before the journal was sealed (at its start only)
    long long firstBrokenRun = 0; // 0 when the chain holds
    std::string problem;          // UTF-8, what no longer matches in that run
    // Bills whose stamp in the books is not the one the last run that touched them left:
    // "BOOK KEY (run N: recorded X, now Y)", UTF-8.
    std::vector<std::string> booksDiffer;
};

// Walks every run in order. Reads every stored file's bytes once.
ChainReport verifyChain(db::Executor& database);

} // namespace journal
