// What the payment journal costs a remit press: "全部匯款" over 5,000 unremitted bills by the
// press the page calls (claims, stamps, copy, transfer files under temporary names flushed
// with their folder, the journal's bill rows, file bytes and checksums, commit, files put in
// place), against the same result without a journal in the same run: the same bills stamped
// by one keyed MERGE that claims them by their listed stamp, the same rows copied, the same
// files (built by the same record layout) written, flushed to disk and renamed into place
// with their folder flushed, as a press must before it reports the stamps, one commit. The
// press is timed up to its files being in place; the remittance list that follows is not
// part of either.
//
//   journal_bench [bills (5000)] [rounds (7)]
//
// On the server DESK_TEST_SERVER names (password DESK_TEST_PASSWORD), else on the embedded
// engine, in a fresh database. Press and floor alternate; the figure is the median of the
// rounds' ratios, each press against the floor run right after it. Exit 0 when it is at most 1.5.
#include "bench_support.h"
#include "platform/failpoint.h"
#include "remittance/condition_confirm.h"
#include "remittance/remit.h"
#include "remittance/transfer_files.h"
#include "remittance/work_table_layout.h"
#include "report/bridge.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;
using bench::Clock;

class SilentMessages : public work::Messages {
public:
    void inform(const std::string&) override {}
    bool confirm(const std::string&) override { return true; }
};

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

void addBills(db::Connection& database, long long count)
{
    database.execute("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, "
                     "CON_PEOPLE) VALUES ('A1', 'Head office', '0160002', 'Paying bank', '998877', 'ABC-DEF', 'CP')");
    database.execute(db::SqlLines{
        "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN", " WHILE (I <= " + std::to_string(count) + ") DO BEGIN",
        "  INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT)",
        "  VALUES ('P' || :I, 'Provider', IIF(MOD(:I, 5) = 0, '0160001', '0170001'), 'Bank', 'Holder', :I, 0);",
        "  INSERT INTO PAY_MASTER (MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME,",
        "   ACNT_ID, BANK_DATE, BANK_IO)",
        "  VALUES ('B' || (100000 + :I), '01', '2024/01/10', '2024/01/20', 'P' || :I, 'Provider', 'A1', NULL,",
        "   100 + MOD(:I, 900));", "  I = I + 1;", " END", "END"});
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const long long bills = argc > 1 ? std::atoll(argv[1]) : 5000;
        const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
        const fs::path work = fs::temp_directory_path() / ("journal-bench-" + std::to_string(::getpid()));
        fs::create_directories(work / "exe");
        fs::create_directories(work / "bank");
        const std::string exe = (work / "exe").string() + "/", bank = (work / "bank").string() + "/";

        db::ConnectionParams params;
        const std::string server = environment("DESK_TEST_SERVER");
        params.database = (server.empty() ? "" : server + ":") + (work / "bench.fdb").string();
        params.password = server.empty() ? "" : environment("DESK_TEST_PASSWORD");
        auto database = db::Connection::createDatabase(params, false);
        demo::createSchema(*database);
        addBills(*database, bills);
        std::printf("journal bench on %s: %lld bills, medians of %d alternating rounds\n", params.database.c_str(),
                    bills, rounds);
        bench::printLoad();

        work::WorkTables tables(*database, "_J", report::handOverFiles(exe));
        work::NullProgress progress;
        SilentMessages messages;
        db::RecordSet grid;
        remittance::ListedRun run;
        report::Bridge noLibrary(exe); // no report library: the list is not what is measured
        remittance::RemittanceDesk desk{*database, tables, progress, messages, grid, run, noLibrary};
        remittance::ConfirmConditions conditions;
        conditions.fromDateText = "2024/01/01";
        conditions.toDateText = "2024/01/31";
        conditions.accountComboText = "A1,";
        remittance::OutputControls tab;
        tab.bankPath = bank;
        tab.interBankFileName = "ABC";
        tab.sameBankFileName = "DEF";
        tab.fromDateText = conditions.fromDateText;
        tab.toDateText = conditions.toDateText;
        tab.remittanceDateText = "2024/02/01";
        const std::string clearStamps = "UPDATE PAY_MASTER SET BANK_DATE = NULL";

        std::vector<double> pressTimes, floorTimes;
        std::string pressFiles, floorFiles;
        for (int round = 0; round < rounds; ++round) {
            // The press, up to its files in place.
            remittance::confirmRemittance(desk, conditions, {});
            if (grid.rowCount() != static_cast<std::size_t>(bills))
                throw std::runtime_error("the list does not hold every bill");
            std::map<std::string, Clock::time_point> reached;
            platform::setFailpointHook([&](std::string_view point) { reached[std::string(point)] = Clock::now(); });
            const auto started = Clock::now();
            remittance::RemitResult result;
            try {
                result = remittance::remit(desk, remittance::RemitScope::AllRows, tab);
            } catch (const text::UserError& error) {
                if (std::string(error.what()) != "Unable to Load DLL")
                    throw;
            }
            platform::setFailpointHook(nullptr);
            const auto since = [&](Clock::time_point from, const char* to) {
                return std::chrono::duration<double>(reached.at(to) - from).count();
            };
            pressTimes.push_back(since(started, "after-place"));
            std::printf("  press round %d: to files flushed and run sealed %.3f s, commit %.3f s, in place %.3f s\n",
                        round + 1, since(started, "before-commit"), since(reached.at("before-commit"), "after-commit"),
                        since(reached.at("after-commit"), "after-place"));
            if (database->lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE BANK_DATE = '2024/02/01'") !=
                std::to_string(bills))
                throw std::runtime_error("the press did not stamp every bill");
            pressFiles = bench::readAll(bank + "ABC.TXT") + bench::readAll(bank + "DEF.TXT");
            database->execute(clearStamps);

            // The same result without a journal.
            remittance::confirmRemittance(desk, conditions, {});
            const work::WorkNames names = tables.names();
            const double floor = bench::seconds([&] {
                db::Transaction transaction(*database);
                transaction.execute("MERGE INTO PAY_MASTER P USING " + names.tableA +
                                    " A ON P.MASTERBILLID = "
                                    "A.MASTERBILLID AND COALESCE(P.BANK_DATE, '') = COALESCE(A.BANK_DATE, '') "
                                    "WHEN MATCHED THEN UPDATE SET BANK_DATE = '2024/02/01'");
                transaction.execute("UPDATE " + names.tableA + " SET BANK_DATE = '2024/02/01'");
                transaction.execute(remittance::copyBillRows(names.tableA, names.tableC, {}, {}));
                const remittance::TransferFiles files =
                    remittance::buildTransferFiles(transaction, names.tableC,
                                                   {.bankPath = bank,
                                                    .interBankFileName = "FLOORA",
                                                    .sameBankFileName = "FLOORB",
                                                    .remittanceDate = "2024/02/01"});
                transaction.commit();
                std::vector<std::pair<std::string, std::string>> written;
                for (const remittance::TransferFile& file : files.files)
                    written.emplace_back(file.name, file.content);
                bench::writeFilesDurably(files.folder, written);
            });
            floorTimes.push_back(floor);
            std::printf("  floor round %d: %.3f s; this round's ratio %.2f\n", round + 1, floor,
                        pressTimes.back() / floor);
            if (database->lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE BANK_DATE = '2024/02/01'") !=
                std::to_string(bills))
                throw std::runtime_error("the floor did not stamp every bill");
            floorFiles = bench::readAll(bank + "FLOORA.TXT") + bench::readAll(bank + "FLOORB.TXT");
            tables.dropAll();
            database->execute(clearStamps);
        }
        if (pressFiles != floorFiles || pressFiles.empty())
            throw std::runtime_error("the press and the floor wrote different files");

        // Medians of the alternating rounds: one lucky or unlucky round moves neither side. The
        // figure is the median of each round's own ratio: a press and the floor run right after
        // it see the same machine, which on a shared host changes speed from second to second.
        const double press = bench::median(pressTimes);
        const double floor = bench::median(floorTimes);
        std::vector<double> ratios;
        for (std::size_t i = 0; i < pressTimes.size(); ++i)
            ratios.push_back(pressTimes[i] / floorTimes[i]);
        const double ratio = bench::median(ratios);
        const std::string journalBytes = database->lookup("SELECT SUM(BYTE_SIZE) FROM PAY_RUN_FILE");
        std::printf("remit all with the journal (to files in place): %.3f s (best %.3f s)\n", press,
                    *std::min_element(pressTimes.begin(), pressTimes.end()));
        std::printf("same stamps, copy and files without a journal:   %.3f s (best %.3f s)\n", floor,
                    *std::min_element(floorTimes.begin(), floorTimes.end()));
        std::printf("median of the rounds' ratios %.2f (target at most 1.5); ratio of the medians %.2f\n", ratio,
                    press / floor);
        std::printf("the journal holds %s file bytes over %d runs\n", journalBytes.c_str(), rounds);
        bench::printLoad();
        database.reset();
        std::error_code ignored;
        fs::remove_all(work, ignored);
        return ratio <= 1.5 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "journal_bench: %s\n", error.what());
        return 2;
    }
}
