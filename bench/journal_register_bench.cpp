// The journal tab at the size of a year: a run per working day, each of 5,000 bills and one
// transfer file of 5,000 records.
//
//   journal_register_bench [runs (250)] [bills per run (5000)]
//
// Figures, medians of program and floor alternating, each verified to give the same rows:
//   - listing the year's runs, against the bare fetch of the same rows (limit 1.5x);
//   - opening a run's detail (its bills and files), against the bare fetch of them (1.5x);
//   - verifying the bank folder of the year's 250 files against the journal, against reading
//     and hashing those files alone (2x).
// The database and the folder are made in a temporary folder and removed afterwards.
#include "bare_fetch.h"
#include "bench_support.h"
#include "journal/folder_check.h"
#include "journal/payment_journal.h"
#include "journal/run_register.h"
#include "journal/sha256.h"
#include "platform/file_replace.h"
#include "text/error.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr int kRounds = 5;

// A transfer file's worth of fixed-width records.
std::string transferFile(int run, int records)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(records) * 177);
    for (int r = 0; r < records; ++r) {
        char record[200];
        std::snprintf(record, sizeof record, "2%07d%07d%-20s%016d%-120s", run, r, "0170001 00123456789", r * 7 + run,
                      "PROVIDER NAME");
        bytes += std::string(record).substr(0, 175) + "\r\n";
    }
    return bytes;
}

// One working day's remit as the journal holds it: its bills, its file's row, its sealed run.
void journalRun(db::Connection& database, long long runId, int bills, const std::string& folder,
                const std::string& name, const std::string& bytes)
{
    db::Transaction transaction(database);
    transaction.execute(
        "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < " + std::to_string(bills) +
        ") DO BEGIN INSERT INTO PAY_RUN_BILL (RUN_ID, BOOK, BILL_KEY, PROVIDER_ID, AMOUNT, STAMP_BEFORE, "
        "STAMP_AFTER) VALUES (" +
        std::to_string(runId) + ", 'PAY_MASTER', 'R" + std::to_string(runId) +
        "-' || :I, 'P' || MOD(:I, 200), :I * 1.5, NULL, "
        "'2024/02/01'); I = I + 1; END END");
    // The file's row as a press writes it, but its bytes stay in the folder only: the folder
    // check reads the journal's bytes only for a file that differs.
    transaction.execute("INSERT INTO PAY_RUN_FILE (RUN_ID, FILE_NO, FOLDER, FILE_NAME, TEMP_NAME, RECORDS, BYTE_SIZE, "
                        "SHA256) VALUES (" +
                        std::to_string(runId) + ", 1, " + db::quote(folder) + ", " + db::quote(name) + ", " +
                        db::quote(name + ".tmp") + ", " + std::to_string(bills) + ", " + std::to_string(bytes.size()) +
                        ", " + db::quote(journal::sha256Hex(bytes)) + ")");
    journal::RunEntry run;
    run.kind = journal::RunKind::Remit;
    run.books = "PAY_MASTER";
    run.runDate = "2024/02/01";
    run.conditions = "bench";
    journal::recordRun(transaction, runId, run, 1);
    transaction.commit();
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const int runs = argc > 1 ? std::atoi(argv[1]) : 250;
        const int bills = argc > 2 ? std::atoi(argv[2]) : 5000;
        const fs::path root = fs::temp_directory_path() / ("journal-register-bench-" + std::to_string(getpid()));
        const fs::path bank = root / "bank";
        fs::create_directories(bank);
        db::ConnectionParams params;
        params.database = (root / "journal.fdb").string();
        auto database = db::Connection::createDatabase(params, false);
        demo::createSchema(*database);

        std::printf("journalling %d runs of %d bills, one file each ...\n", runs, bills);
        const std::string folder = bank.string() + "/";
        for (int r = 1; r <= runs; ++r) {
            const std::string name = "D" + std::to_string(1000 + r) + ".TXT";
            const std::string bytes = transferFile(r, bills);
            if (!platform::replaceWholeFile(folder + name, bytes))
                throw text::UserError("cannot write " + folder + name);
            journalRun(*database, journal::newRunId(*database), bills, folder, name, bytes);
        }
        const long long someRun = runs / 2;

        // The same rows and columns as the tab shows: the kind's caption and the time as text.
        const std::string listFloor =
            "SELECT RUN_ID, CASE KIND WHEN 'REMIT' THEN x'B6D7B4DA' WHEN 'CHEQUE' THEN x'B67DB2BC' ELSE KIND END, "
            "KIND, "
            "BOOKS, LEFT(CAST(RUN_AT AS VARCHAR(24)), 19), DB_USER, DB_ROLE, HOST_NAME, RUN_DATE, BILL_COUNT, "
            "BILL_SUM, "
            "LEFT_OUT_COUNT, FILE_COUNT, REASON, CONDITIONS FROM PAY_RUN ORDER BY RUN_ID DESC";
        const std::string detailFloor =
            "SELECT BOOK, PROVIDER_ID, BILL_KEY, AMOUNT, STAMP_BEFORE, STAMP_AFTER FROM PAY_RUN_BILL WHERE RUN_ID = " +
            std::to_string(someRun) + " ORDER BY BOOK, BILL_KEY";
        std::vector<double> list, listBare, detail, detailBare, verify, hashOnly;
        for (int round = 0; round < kRounds; ++round) {
            long bareRows = 0;
            std::size_t rows = 0;
            listBare.push_back(bench::seconds([&] { bareRows = bench::bareFetch(*database, listFloor); }));
            list.push_back(bench::seconds([&] { rows = journal::listRuns(*database, {}).rowCount(); }));
            if (rows != static_cast<std::size_t>(bareRows) || rows != static_cast<std::size_t>(runs))
                throw text::UserError("run lists differ: " + std::to_string(rows) + " / " + std::to_string(bareRows));

            detailBare.push_back(bench::seconds([&] { bareRows = bench::bareFetch(*database, detailFloor); }));
            detail.push_back(bench::seconds([&] {
                rows = journal::runBills(*database, someRun).rowCount();
                rows += journal::runFiles(*database, someRun).size() - 1;
            }));
            if (rows != static_cast<std::size_t>(bareRows))
                throw text::UserError("run details differ: " + std::to_string(rows) + " / " + std::to_string(bareRows));

            std::size_t hashed = 0;
            hashOnly.push_back(bench::seconds([&] {
                for (const auto& entry : fs::directory_iterator(bank)) {
                    std::string bytes;
                    platform::readWholeFile(entry.path().string(), bytes);
                    hashed += journal::sha256Hex(bytes).size() == 64;
                }
            }));
            std::size_t matching = 0;
            verify.push_back(bench::seconds([&] {
                for (const journal::FolderFileCheck& check : journal::verifyFolder(*database, folder))
                    matching += check.verdict == journal::FileVerdict::Matches;
            }));
            if (matching != hashed || matching != static_cast<std::size_t>(runs))
                throw text::UserError("folder check found " + std::to_string(matching) + " of " +
                                      std::to_string(hashed));
        }
        const auto figure = [](const char* what, const std::vector<double>& program, const std::vector<double>& floor,
                               double limit) {
            const double ratio = bench::median(program) / bench::median(floor);
            std::printf("%-34s %.2fx (%.1f ms / %.1f ms), limit %.1fx %s\n", what, ratio, bench::median(program) * 1e3,
                        bench::median(floor) * 1e3, limit, ratio <= limit ? "ok" : "OVER");
            return ratio <= limit;
        };
        bool ok = figure("year's runs listed / bare fetch", list, listBare, 1.5);
        ok = figure("run detail opened / bare fetch", detail, detailBare, 1.5) && ok;
        ok = figure("folder verified / read and hash", verify, hashOnly, 2.0) && ok;
        bench::printLoad();
        database.reset();
        fs::remove_all(root);
        return ok ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "journal_register_bench: %s\n", error.what());
        return 2;
    }
}
