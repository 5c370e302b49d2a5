// The remittance condition confirm and "全部匯款" on a book of a million bills, each against a
// baseline measured in the same run:
//   - condition confirm selecting about 5,000 bills vs. the same statements replayed back to
//     back through the db API (the statements are recorded while the confirm runs);
//   - remit all of those bills (claiming stamps, WorkTableA's dates, the copy into
//     WorkTableC, one transaction) vs. the floor: one set-based update (a MERGE driven by the
//     work table's keys) of the same bills in one transaction.
//
//   remittance_bench [database file] [bills]
//
// The database (default /tmp/remittance_bench.fdb) is created with the demo data when
// missing and reused when present. Stamps made by a measurement are cleared again after it,
// so runs can be repeated. Before measuring, the bench completes the demo's providers with
// missing bank data and turns the credit notes of the chosen range into payments, so that
// every listed bill is one a transfer record can carry (the remit refuses otherwise).
#include "bench_support.h"
#include "db/connection.h"
#include "demo/demo_data.h"
#include "demo/schema_loader.h"
#include "remittance/condition_confirm.h"
#include "remittance/remit.h"
#include "report/bridge.h"
#include "text/error.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::openOrCreate;
using bench::RecordingExecutor;
using bench::seconds;
using bench::Statement;

class CountingMessages : public work::Messages {
public:
    void inform(const std::string& utf8) override
    {
        ++count;
        std::printf("message: %.300s\n", utf8.c_str());
    }
    bool confirm(const std::string&) override { return true; }
    int count = 0;
};

struct Range {
    std::string account, from, to;
    long long bills = 0;
};

// The paying account with the most unremitted bank bills, and the latest run of payment days
// that holds at least `wanted` of them (unremitted bills gather at the recent end of the book).
Range chooseRange(db::Connection& database, long long wanted)
{
    Range range;
    range.account = database.lookup(
        "SELECT ACNT_ID FROM PAY_MASTER WHERE BANK_IO <> 0 GROUP BY ACNT_ID ORDER BY COUNT(*) DESC ROWS 1");
    const db::RecordSet days = database.query(
        "SELECT PAY_DATE, COUNT(*) FROM PAY_MASTER WHERE ACNT_ID = " + db::quote(range.account) +
        " AND BANK_IO <> 0 AND (BANK_DATE IS NULL OR BANK_DATE = '') GROUP BY PAY_DATE ORDER BY PAY_DATE DESC");
    for (std::size_t r = 0; r < days.rowCount() && range.bills < wanted; ++r) {
        if (range.to.empty())
            range.to = days.text(r, 0);
        range.from = days.text(r, 0);
        range.bills += static_cast<long long>(days.number(r, 1));
    }
    return range;
}

std::string rangeCondition(const Range& range)
{
    return " WHERE PAY_DATE BETWEEN " + db::quote(range.from) + " AND " + db::quote(range.to) +
           " AND ACNT_ID = " + db::quote(range.account) + " AND BANK_IO <> 0 ";
}

// Every listed bill must be one a transfer record can carry.
void makeRangeRemittable(db::Connection& database, const Range& range)
{
    database.execute("UPDATE PROVIDER SET BANK_ID = '0170001' WHERE BANK_ID IS NULL OR BANK_ID = ''");
    database.execute("UPDATE PROVIDER SET BANK_ACCID = '1234567890' WHERE BANK_ACCID IS NULL OR BANK_ACCID = ''");
    database.execute("UPDATE PROVIDER SET BANK_TITLE = 'ACCOUNT' WHERE BANK_TITLE IS NULL OR BANK_TITLE = ''");
    database.execute("UPDATE PROVIDER SET ACNT_AMT = 0 WHERE ACNT_AMT IS NULL");
    database.execute("UPDATE PAY_MASTER SET BANK_IO = 100 - BANK_IO" + rangeCondition(range) + " AND BANK_IO < 100");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : "/tmp/remittance_bench.fdb";
    const long long bills = argc > 2 ? std::atoll(argv[2]) : 1000000;
    const std::string stampDate = "2099/12/31"; // no demo bill carries it: easy to clear again

    try {
        auto database = openOrCreate(path, bills);
        const Range range = chooseRange(*database, 5000);
        makeRangeRemittable(*database, range);
        const std::string clearStamps =
            "UPDATE PAY_MASTER SET BANK_DATE = NULL" + rangeCondition(range) + " AND BANK_DATE = " + db::quote(stampDate);
        database->execute(clearStamps);
        std::printf("book: %s; account %s, pay dates %s to %s: %lld unremitted bank bills\n", path.c_str(),
                    range.account.c_str(), range.from.c_str(), range.to.c_str(), range.bills);

        work::WorkTables tables(*database, "_" + std::to_string(database->connectionId()), "/tmp/");
        work::NullProgress progress;
        CountingMessages messages;
        db::RecordSet grid;
        remittance::ListedRun run;
        report::Bridge noLibrary("/tmp/"); // the list is not printed: the press stops at the library load
        remittance::RemittanceDesk desk{*database, tables, progress, messages, grid, run, noLibrary};
        const std::string bankFolder = "/tmp/remittance_bench_bank/";
        std::filesystem::create_directories(bankFolder);

        remittance::ConfirmConditions conditions;
        conditions.fromDateText = range.from;
        conditions.toDateText = range.to;
        conditions.accountComboText = range.account + ",";
        const remittance::ConfirmOutputs outputs;

        const int rounds = 3;
        std::vector<double> confirmTimes, replayTimes, remitTimes, floorTimes;
        for (int round = 0; round < rounds; ++round) {
            // Condition confirm, then the same statements replayed.
            RecordingExecutor recorder(*database);
            confirmTimes.push_back(seconds([&] { remittance::confirmRemittance(desk, recorder, conditions, outputs); }));
            if (grid.rowCount() == 0)
                throw std::runtime_error("the condition confirm found nothing");
            const auto firstCreate = std::find_if(recorder.statements.begin(), recorder.statements.end(),
                                                  [](const Statement& s) { return s.sql.rfind("CREATE", 0) == 0; });
            replayTimes.push_back(seconds([&] {
                tables.dropAll();
                for (auto s = firstCreate; s != recorder.statements.end(); ++s) {
                    if (s->isQuery)
                        database->query(s->sql);
                    else
                        database->execute(s->sql);
                }
            }));

            // Remit all, then the floor on the same bills.
            confirmRemittance(desk, conditions, outputs);
            remittance::OutputControls tab;
            tab.remittanceDateText = stampDate;
            tab.fromDateText = range.from;
            tab.toDateText = range.to;
            tab.bankPath = bankFolder;
            tab.interBankFileName = "BENCHA";
            tab.sameBankFileName = "BENCHB";
            remittance::RemitResult result;
            remitTimes.push_back(seconds([&] {
                try {
                    result = remittance::remit(desk, remittance::RemitScope::AllRows, tab);
                } catch (const text::UserError& error) {
                    if (std::string(error.what()) != "Unable to Load DLL")
                        throw;
                }
            }));
            if (!result.leftOut.empty() || result.stamped.size() != grid.rowCount())
                throw std::runtime_error("the remit was refused or left bills out");
            const long long stamped = std::atoll(database->lookup(
                "SELECT COUNT(*) FROM PAY_MASTER" + rangeCondition(range) + " AND BANK_DATE = " + db::quote(stampDate)).c_str());
            if (stamped != static_cast<long long>(grid.rowCount()))
                throw std::runtime_error("not every listed bill was stamped");
            database->execute(clearStamps);

            // The floor: the same bills stamped by one statement driven by WorkTableA's keys
            // through the books' primary key.
            floorTimes.push_back(seconds([&] {
                db::Transaction transaction(*database);
                transaction.execute("MERGE INTO PAY_MASTER P USING (SELECT MASTERBILLID FROM " + tables.names().tableA +
                                    ") A ON P.MASTERBILLID = A.MASTERBILLID WHEN MATCHED THEN UPDATE SET BANK_DATE = " +
                                    db::quote(stampDate));
                transaction.commit();
            }));
            database->execute(clearStamps);
        }
        tables.dropAll();

        const auto best = [](std::vector<double> v) { return *std::min_element(v.begin(), v.end()); };
        const double confirm = best(confirmTimes), replay = best(replayTimes);
        const double remit = best(remitTimes), floor = best(floorTimes);
        std::printf("condition confirm (%zu bills): %.3f s; same statements back to back: %.3f s; ratio %.2f (limit 1.5)\n",
                    grid.rowCount(), confirm, replay, confirm / replay);
        std::printf("remit all: %.3f s; one set-based update (MERGE by key) in one transaction: %.3f s; ratio %.2f (limit 3)\n", remit,
                    floor, remit / floor);
        return confirm / replay <= 1.5 && remit / floor <= 3 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "remittance_bench: %s\n", error.what());
        return 2;
    }
}
