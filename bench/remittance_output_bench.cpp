// Remitting about 5,000 bills end to end against a set-based floor measured in the same run.
//
//   remittance_output_bench [database file] [bills per book]
//
// Without a file a demo database is generated in a temporary folder (200,000 bills per book
// unless given) and removed afterwards; with one, the file is generated when missing and
// reused when present. The joint books are remitted so that the list has its store columns.
//
// The routine: "全部匯款" with stamping on (stamps of both books and the copy into WorkTableC
// in one transaction, the transfer files written before its commit), then the output routine:
// WorkTableD, its zeros and totals, the data and header record sets and the hand-over files,
// up to the library call (the report folder holds no library, so the call ends in
// "Unable to Load DLL" and the clean-up).
// The floor: the same bills stamped by one MERGE per book (a set-based UPDATE driven from the
// work table) and copied by one INSERT ... SELECT in one transaction, the two transfer files
// written and flushed to disk as the press must, and WorkTableD filled by one INSERT ... SELECT written here (checked
// cell for cell against the program's list in the same run), its rows read and the header's counts and sums taken in
// one statement, and last the run's view and work tables dropped, as the routine's clean-up drops its own.
// Program and floor alternate; the figures are medians. A server database "host/port:path" may be given
// (DESK_BENCH_USER, DESK_BENCH_PASSWORD).
#include "bench_support.h"
#include "db/connection.h"
#include "demo/demo_database.h"
#include "platform/failpoint.h"
#include "remittance/condition_confirm.h"
#include "remittance/output_routine.h"
#include "remittance/remit.h"
#include "remittance/remittance_report_table.h"
#include "remittance/transfer_file_record.h"
#include "remittance/transfer_files.h"
#include "remittance/work_table_layout.h"
#include "report/bridge.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/messages.h"
#include "work/work_tables.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr long long kTargetBills = 5000;
const char* const kRemittanceDate = "2026/12/09";

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Notes the time of every progress line, so the routine's own stages can be timed.
class TimedProgress : public work::ProgressDisplay {
public:
    void clear() override { lines.clear(); }
    void setGauge(int value, int maximum) override
    {
        value_ = value;
        max_ = maximum;
    }
    int gaugeValue() const override { return value_; }
    int gaugeMaximum() const override { return max_; }
    void addLine(const std::string& big5) override { lines.push_back({text::big5ToUtf8(big5), Clock::now()}); }
    std::vector<std::pair<std::string, Clock::time_point>> lines;

private:
    int value_ = 0, max_ = 10;
};

class SilentMessages : public work::Messages {
public:
    void inform(const std::string& utf8) override { informed.push_back(utf8); }
    bool confirm(const std::string&) override { return true; }
    std::vector<std::string> informed;
};

struct Range {
    std::string account, accountCombo, from, to;
    long long bills = 0;
};

// The first account's payment dates in order until about 5,000 bills of the joint books.
Range chooseRange(db::Connection& database)
{
    const auto days = database.query("SELECT ACNT_ID, PAY_DATE, COUNT(*) AS N FROM PAY_MASTERU WHERE BANK_IO <> 0 "
                                     "GROUP BY ACNT_ID, PAY_DATE ORDER BY ACNT_ID, PAY_DATE");
    Range range;
    for (std::size_t r = 0; r < days.rowCount() && range.bills < kTargetBills; ++r) {
        if (range.account.empty())
            range.account = days.text(r, "ACNT_ID");
        if (days.text(r, "ACNT_ID") != range.account)
            break;
        if (range.from.empty())
            range.from = days.text(r, "PAY_DATE");
        range.to = days.text(r, "PAY_DATE");
        range.bills += static_cast<long long>(days.number(r, "N"));
    }
    range.accountCombo =
        range.account + "," +
        database.lookup("SELECT ACNT_NAME FROM BANK_ACCOUNT WHERE ACNT_ID = " + db::quote(range.account));
    return range;
}

// The demo book keeps a few providers without bank data and bills whose fee eats the
// amount; the remittance refuses those, as it should. The bench remits a book where every
// bill can be carried.
void makeRemittable(db::Connection& database, const Range& range)
{
    database.execute("UPDATE PROVIDER SET BANK_ID = '0170001', BANK_ACCID = '12345678', BANK_TITLE = PROVIDER_NAME "
                     "WHERE STRLEN(BANK_ID) = 0 OR STRLEN(BANK_ACCID) = 0 OR STRLEN(BANK_TITLE) = 0 "
                     "OR STRLEN(BANK_ID) > 7");
    database.execute("UPDATE PROVIDER SET ACNT_AMT = 0 WHERE ACNT_AMT IS NULL");
    database.execute("UPDATE PAY_MASTERU P SET BANK_IO = ABS(BANK_IO) + "
                     "(SELECT V.ACNT_AMT FROM PROVIDER V WHERE V.PROVIDER_ID = P.PROVIDER_ID) + 1 "
                     "WHERE ACNT_ID = " +
                     db::quote(range.account) + " AND PAY_DATE BETWEEN " + db::quote(range.from) + " AND " +
                     db::quote(range.to) +
                     " AND BANK_IO <> 0 AND BANK_IO - "
                     "(SELECT V.ACNT_AMT FROM PROVIDER V WHERE V.PROVIDER_ID = P.PROVIDER_ID) < 1");
}

struct Page {
    db::Connection& database;
    work::WorkTables tables;
    TimedProgress progress;
    SilentMessages messages;
    db::RecordSet grid;
    remittance::ListedRun run;
    report::Bridge noLibrary; // the list is not printed: the press stops at the library load
    remittance::RemittanceDesk desk{database, tables, progress, messages, grid, run, noLibrary};
    remittance::ExportFileNames fileNames;

    Page(db::Connection& db, const std::string& exeFolder)
        : database(db), tables(db, "_B", report::handOverFiles(exeFolder)), noLibrary(exeFolder)
    {
    }

    void confirm(const Range& range)
    {
        remittance::ConfirmConditions conditions;
        conditions.state = remittance::RemittanceState::Either; // the same bills on every run
        conditions.fromDateText = range.from;
        conditions.toDateText = range.to;
        conditions.accountComboText = range.accountCombo;
        conditions.books = remittance::Books::Joint;
        remittance::confirmRemittance(desk, conditions,
                                      {.showFileNames = [this](const remittance::ExportFileNames& n) { fileNames = n; },
                                       .enableSelectAll = [] {}});
    }

    remittance::OutputControls controls(const Range& range, const std::string& bankFolder) const
    {
        remittance::OutputControls c;
        c.bankPath = bankFolder;
        c.interBankFileName = fileNames.interBank.empty() ? "BENCHA" : fileNames.interBank;
        c.sameBankFileName = fileNames.sameBank.empty() ? "BENCHB" : fileNames.sameBank;
        c.fromDateText = range.from;
        c.toDateText = range.to;
        c.remittanceDateText = kRemittanceDate;
        c.books = 1;
        c.reportTitle = text::big5("基準公司");
        return c;
    }
};

// The floor's WorkTableD for the inter-bank group of joint books, written here: the bills
// numbered per provider, month and store by key, grouped per number with a sum and count per
// store, each group completed from its first store's bill.
std::string floorListSql(const std::string& tableC, const std::string& tableD, const db::RecordSet& stores)
{
    std::string storeIds, targets, values, sums;
    for (std::size_t r = 0; r < stores.rowCount(); ++r) {
        const std::string ee = (r < 9 ? "0" : "") + std::to_string(r + 1);
        const std::string id = db::quote(stores.text(r, 0));
        storeIds += (r ? "," : "") + id;
        targets += ",AMT2" + ee + ",QTY2" + ee;
        values += ",g.A" + ee + ",g.Q" + ee;
        sums += ",SUM(IIF(n.STORE_ID = " + id + ", COALESCE(n.AMT2, 0), 0)) AS A" + ee + ",SUM(IIF(n.STORE_ID = " + id +
                ", 1, 0)) AS Q" + ee;
    }
    const std::string numbered =
        "(SELECT c.RDB$DB_KEY AS DK, c.PROVIDER_ID, c.BILL_YM, c.STORE_ID, c.AMT2, ROW_NUMBER() OVER (PARTITION BY "
        "c.PROVIDER_ID, c.BILL_YM, c.STORE_ID ORDER BY c.MASTERBILLID) AS SEQ FROM " +
        tableC + " c WHERE c.STORE_ID IN (" + storeIds + ") AND c.BANK_ID NOT LIKE '016%')";
    const std::string copied =
        "BILL_YM,PROVIDER_ID,PROVIDER_NAME,BANK_ID,BANK_NAME,BANK_TITLE,BANK_ACCID,PROVIDER_PHONE,"
        "BANK_ID2,BANK_DATE,ACNT_ID,P_BANK_ID,P_BANK_NAME,P_ACNT_NO,P_ACNT_NAME,ACNT_AMT,"
        "EXPORT_FILE,P_BANK_ID2,CON_PEOPLE";
    std::string fromFirst;
    for (std::size_t start = 0; start < copied.size();) {
        const std::size_t comma = copied.find(',', start);
        fromFirst += (start ? ",f." : "f.") + copied.substr(start, comma == std::string::npos ? comma : comma - start);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return "INSERT INTO " + tableD + " (" + copied + ",ID" + targets + ",AMT_T,QTY_T) SELECT " + fromFirst +
           ",IIF(g.SEQ < 1000, LPAD(g.SEQ, 3, '0'), CAST(g.SEQ AS VARCHAR(20)))" + values +
           ",g.AMT_SUM,g.QTY_SUM FROM (SELECT n.PROVIDER_ID, n.BILL_YM, n.SEQ, MIN(n.STORE_ID) AS FIRST_STORE" + sums +
           ",SUM(COALESCE(n.AMT2, 0)) AS AMT_SUM, COUNT(*) AS QTY_SUM FROM " + numbered +
           " n GROUP BY n.PROVIDER_ID, n.BILL_YM, n.SEQ) g JOIN " + numbered +
           " m ON m.PROVIDER_ID = g.PROVIDER_ID AND m.BILL_YM = g.BILL_YM AND m.SEQ = g.SEQ AND m.STORE_ID = "
           "g.FIRST_STORE JOIN " +
           tableC + " f ON f.RDB$DB_KEY = m.DK";
}

void printStage(const char* name, double seconds)
{
    std::printf("  %-44s %8.3f s\n", name, seconds);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const fs::path work = fs::temp_directory_path() / ("remittance-bench-" + std::to_string(::getpid()));
        fs::create_directories(work / "exe");
        fs::create_directories(work / "bank");
        const std::string exeFolder = (work / "exe").string() + "/";
        const std::string bankFolder = (work / "bank").string() + "/";

        const db::ConnectionParams params = bench::bookParams(argc > 1 ? argv[1] : (work / "bench.fdb").string());
        demo::DemoOptions options;
        options.bills = argc > 2 ? std::atoll(argv[2]) : 200000;
        std::unique_ptr<db::Connection> database;
        if (!params.embedded() || fs::exists(params.database)) {
            database = std::make_unique<db::Connection>(params);
        } else {
            const auto started = Clock::now();
            database = demo::createDemoDatabase(params, options);
            std::printf("generated %s with %lld bills per book in %.1f s\n", params.database.c_str(), options.bills,
                        secondsSince(started));
        }
        const std::string booksSize = database->lookup("SELECT COUNT(*) FROM PAY_MASTERU");

        const Range range = chooseRange(*database);
        makeRemittable(*database, range);

        // Program and floor alternate; the figures are medians, the stages those of the last round.
        const int rounds = 5;
        std::vector<double> routineRuns, floorRuns;
        std::vector<double> routineToLaunchRuns, floorBeforeDropRuns; // both without the clean-up drop
        std::size_t bills = 0;
        double routineSeconds = 0, pressSeconds = 0, placeSeconds = 0, outputSeconds = 0, tableDSeconds = 0,
               reportSeconds = 0;
        double floorSeconds = 0, floorStampSeconds = 0, floorFilesSeconds = 0, floorTableSeconds = 0,
               floorDropSeconds = 0;
        std::uintmax_t interBytes = 0, sameBytes = 0;
        remittance::OutputControls controls;
        for (int round = 0; round < rounds; ++round) {
            // ---- the routine
            Page page(*database, exeFolder);
            page.confirm(range);
            bills = page.grid.rowCount();
            report::Bridge noLibrary(exeFolder);
            controls = page.controls(range, bankFolder);

            // The press's steps, timed at its named points.
            std::map<std::string, Clock::time_point> reached;
            platform::setFailpointHook([&](std::string_view point) { reached[std::string(point)] = Clock::now(); });
            // The clean-up's drop starts when the library load has failed: the run up to it is
            // the routine without its clean-up.
            Clock::time_point cleanUpStarted;
            page.tables.setOnDrop([&] { cleanUpStarted = Clock::now(); });
            const auto remitStarted = Clock::now();
            std::string launchError;
            remittance::RemitResult result;
            try {
                result = remittance::remit(page.desk, remittance::RemitScope::AllRows, controls);
            } catch (const text::UserError& e) {
                launchError = e.what();
            }
            platform::setFailpointHook(nullptr);
            pressSeconds = std::chrono::duration<double>(reached.at("before-commit") - remitStarted).count();
            placeSeconds =
                std::chrono::duration<double>(reached.at("after-place") - reached.at("before-commit")).count();
            outputSeconds = secondsSince(reached.at("after-place"));
            routineSeconds = secondsSince(remitStarted);
            routineRuns.push_back(routineSeconds);
            if (cleanUpStarted == Clock::time_point{})
                throw text::UserError("the routine dropped no work tables");
            routineToLaunchRuns.push_back(std::chrono::duration<double>(cleanUpStarted - remitStarted).count());
            if (!result.refused.empty() || !result.leftOut.empty())
                throw text::UserError("the remittance refused or left bills out");
            if (launchError != "Unable to Load DLL")
                throw text::UserError("unexpected end of the output routine: " + launchError);

            // Stages of the output routine from its progress lines.
            // The condition confirm writes lines of the same marks; only the press's own count.
            std::map<std::string, Clock::time_point> at;
            for (const auto& [line, time] : page.progress.lines)
                if (time >= remitStarted)
                    at.emplace(line, time);
            const auto span = [&](const char* from, const char* to) {
                return std::chrono::duration<double>(at.at(to) - at.at(from)).count();
            };
            tableDSeconds = span("CAST7 .....2", "CAST7 .....5") + span("CAST7 .....5", "CAST7 .....7");
            reportSeconds = outputSeconds - span("CAST7 .....", "CAST7 .....7");
            interBytes = fs::exists(bankFolder + controls.interBankFileName + ".TXT")
                             ? fs::file_size(bankFolder + controls.interBankFileName + ".TXT")
                             : 0;
            sameBytes = fs::exists(bankFolder + controls.sameBankFileName + ".TXT")
                            ? fs::file_size(bankFolder + controls.sameBankFileName + ".TXT")
                            : 0;

            // ---- the floor, on the same bills after a new condition confirm
            Page floorPage(*database, exeFolder);
            floorPage.confirm(range);
            const auto& names = floorPage.tables.names();
            const auto floorStarted = Clock::now();
            {
                db::Transaction transaction(*database);
                const std::string date = db::quote(kRemittanceDate);
                // Driven from the work table through the books' keys: an UPDATE ... WHERE key IN
                // (SELECT ...) would look up the work table once per bill of the whole book.
                transaction.execute("MERGE INTO PAY_MASTER P USING " + names.tableA +
                                    " A ON P.MASTERBILLID = A.MASTERBILLID "
                                    "WHEN MATCHED THEN UPDATE SET BANK_DATE = " +
                                    date);
                transaction.execute("MERGE INTO PAY_MASTERU P USING " + names.tableA +
                                    " A ON P.SECBILLID = A.MASTERBILLID "
                                    "WHEN MATCHED THEN UPDATE SET BANK_DATE = " +
                                    date);
                transaction.execute(remittance::copyBillRows(names.tableA, names.tableC, kRemittanceDate, {}));
                transaction.commit();
            }
            floorStampSeconds = secondsSince(floorStarted);
            const auto floorFilesStarted = Clock::now();
            const std::string rocDate = remittance::rocDateField(kRemittanceDate);
            std::vector<std::pair<std::string, std::string>> floorFiles;
            for (const auto& [condition, file] :
                 {std::pair{"BANK_ID NOT LIKE '016%'", "FLOORA"}, std::pair{"BANK_ID LIKE '016%'", "FLOORB"}}) {
                const auto rows = database->query("SELECT * FROM " + names.tableC + " WHERE " + condition +
                                                  " ORDER BY ACNT_ID,BILL_DATE,PROVIDER_ID");
                floorFiles.emplace_back(std::string(file) + ".TXT", remittance::transferFileContent(rocDate, rows));
            }
            bench::writeFilesDurably(bankFolder, floorFiles);
            floorFilesSeconds = secondsSince(floorFilesStarted);
            const auto floorTableStarted = Clock::now();
            const auto stores = database->query("SELECT STORE_ID, STORE_NAME FROM SLAVE_ITEM ORDER BY STORE_ID");
            database->execute(floorListSql(names.tableC, names.tableD, stores));
            const db::RecordSet listed =
                database->query("SELECT * FROM " + names.tableD + " ORDER BY BILL_YM, PROVIDER_ID, ID");
            const db::RecordSet counts = database->query(
                "SELECT COUNT(*), SUM(AMT2), SUM(IIF(P_BANK_ID2 = BANK_ID2, 1, 0)), SUM(IIF(P_BANK_ID2 = BANK_ID2, "
                "AMT2, 0)), "
                "SUM(IIF(P_BANK_ID2 <> BANK_ID2, 1, 0)), SUM(IIF(P_BANK_ID2 <> BANK_ID2, AMT2, 0)) FROM " +
                names.tableC);
            floorTableSeconds = secondsSince(floorTableStarted);
            floorSeconds = secondsSince(floorStarted);
            floorBeforeDropRuns.push_back(floorSeconds);
            if (round == 0) {
                // The floor's list against the program's own fill of a second table, outside the timing.
                work::WorkNames check = names;
                check.tableD = names.tableD + "K";
                database->execute(bench::createLike(*database, names.tableD, check.tableD));
                remittance::fillReportTable(*database, check, remittance::listStores(*database, true),
                                            remittance::BankGroup::InterBank);
                bench::requireSameRows(*database, check.tableD, names.tableD);
                database->execute("DROP TABLE " + check.tableD);
                std::printf("the floor's WorkTableD equals the program's, cell for cell (%zu rows)\n",
                            listed.rowCount());
            }
            // The routine ends by dropping its run's work objects; the floor leaves none either.
            std::vector<std::string> drops;
            for (const auto& [kind, name] :
                 {std::pair{"VIEW", names.viewA}, std::pair{"TABLE", names.tableA}, std::pair{"TABLE", names.tableB},
                  std::pair{"TABLE", names.tableC}, std::pair{"TABLE", names.tableD}})
                if (!name.empty() && database->lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " +
                                                      db::quote(name)) != "0")
                    drops.push_back(std::string("DROP ") + kind + " " + name);
            floorDropSeconds = bench::seconds([&] {
                db::Transaction transaction(*database);
                for (const std::string& drop : drops)
                    transaction.execute(drop);
                transaction.commit();
            });
            floorSeconds += floorDropSeconds;
            floorRuns.push_back(floorSeconds);
            if (database->lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH 'TMP_' "
                                 "OR RDB$RELATION_NAME STARTING WITH 'VIEW_A'") != "0")
                throw text::UserError("work objects were left behind");
        }

        std::printf("remittance output: %zu bills remitted (joint books, %s bills in the book), files of %ju and %ju "
                    "bytes\n",
                    bills, booksSize.c_str(), interBytes, sameBytes);
        std::printf("routine, end to end                          %8.3f s\n", routineSeconds);
        printStage("checks, stamps, copy, files flushed, journal", pressSeconds);
        printStage("commit, files put in place", placeSeconds);
        printStage("WorkTableD (fill, zeros, totals)", tableDSeconds);
        printStage("list, header, hand-over, clean-up", reportSeconds);
        std::printf("floor, set-based                             %8.3f s\n", floorSeconds);
        printStage("two MERGE updates and the copy (one transaction)", floorStampSeconds);
        printStage("transfer files", floorFilesSeconds);
        printStage("WorkTableD (one INSERT ... SELECT), its rows and counts", floorTableSeconds);
        printStage("the run's view and work tables dropped (one commit)", floorDropSeconds);
        const double routineMedian = bench::median(routineRuns), floorMedian = bench::median(floorRuns);
        std::printf("medians of %d alternating rounds: routine %.3f s, floor %.3f s\n", rounds, routineMedian,
                    floorMedian);
        std::printf("ratio routine / floor: %.2f (limit 1.5)\n", routineMedian / floorMedian);
        const double toLaunch = bench::median(routineToLaunchRuns), beforeDrop = bench::median(floorBeforeDropRuns);
        std::printf("without the drops on either side: routine to its clean-up %.3f s, floor before its drop %.3f s, "
                    "ratio %.2f\n",
                    toLaunch, beforeDrop, toLaunch / beforeDrop);
        bench::printLoad();

        database.reset();
        std::error_code ignored;
        if (argc > 1)
            fs::remove_all(work / "exe", ignored), fs::remove_all(work / "bank", ignored), fs::remove(work, ignored);
        else
            fs::remove_all(work, ignored);
        return routineMedian <= 1.5 * floorMedian ? 0 : 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "remittance_output_bench: %s\n", e.what());
        return 1;
    }
}
