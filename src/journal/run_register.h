#pragma once
// Reading the payment journal back for the clerk: the runs of a period, newest first, and a
// run's bills and files.
#include "db/executor.h"
#include "db/record_set.h"
#include "journal/payment_journal.h"
#include "work/grid_columns.h"

#include <optional>
#include <string>
#include <vector>

namespace journal {

// Which runs to list. Dates are "YYYY/MM/DD" and bound the day the run was made (inclusive);
// "" leaves that end open. `books` is PAY_MASTER or PAY_MASTERU, `user` a database user; ""
// for any.
struct RunFilter {
    std::string from, to;
    std::optional<RunKind> kind;
    std::string books;
    std::string user;
};

// Big5 captions of a run's kind: 匯款, 開票, 清除匯款日, 作廢, 補印.
std::string kindCaption(RunKind kind);

// RUN_ID, KIND_NAME (the caption), KIND, BOOKS, RUN_AT, DB_USER, DB_ROLE, HOST_NAME,
// RUN_DATE, BILL_COUNT, BILL_SUM, LEFT_OUT_COUNT, FILE_COUNT, REASON, CONDITIONS; newest first.
db::RecordSet listRuns(db::Executor& database, const RunFilter& filter);
// How the runs grid shows them.
const work::GridColumns& runColumns();

// The run's bills: BOOK, PROVIDER_ID, BILL_KEY, AMOUNT, STAMP_BEFORE, STAMP_AFTER, by key.
db::RecordSet runBills(db::Executor& database, long long runId);
// How the bills grid shows them.
const work::GridColumns& runBillColumns();

// A file as the run wrote it.
struct RunFile {
    long long runId = 0;
    int fileNo = 0;
    std::string folder; // with its trailing separator, as the file system names it
    std::string name;
    int records = 0;
    long long size = 0;
    std::string sha256; // hex
};
std::vector<RunFile> runFiles(db::Executor& database, long long runId);

} // namespace journal
