// The remittance condition confirm on a book of a million bills against a floor measured in
// the same run, program and floor alternating, medians reported: the condition confirm
// selecting about 5,000 bills vs. the same work objects (the view and the four tables, dropped
// and created again) filled by SQL written here, the rows of WorkTableA read in the grid's
// order. The floor's tables are checked cell for cell against the program's in the same run.
// The remit press that follows is measured end to end by remittance_output_bench and for its
// journal by journal_bench, each against a floor that gives the same result.
//
//   remittance_bench [database] [bills]
//
// The database is a file (default /tmp/remittance_bench.fdb, created with the demo data when
// missing) or a server database "host/port:path" (DESK_BENCH_USER, DESK_BENCH_PASSWORD).
// Before measuring, the bench completes the demo's providers with missing bank data and turns
// the credit notes of the chosen range into payments, as the remittance benchmarks do, so that
// every listed bill is one a transfer record can carry.
#include "bench_support.h"
#include "remittance/condition_confirm.h"
#include "report/bridge.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::seconds;

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

// The floor of the condition confirm: its own view and four tables, shaped like the
// program's, filled by the SQL below (the own store's unremitted bills of the range, each
// completed with its provider's and the paying account's data), in one transaction.
struct ConfirmFloor {
    std::string view = "VIEW_FLOOR", a = "TMP_FLOOR_A", b = "TMP_FLOOR_B", c = "TMP_FLOOR_C", d = "TMP_FLOOR_D";
    std::string createA, createB, createC, createD;

    void prepare(db::Connection& database, const work::WorkNames& shapes)
    {
        createA = bench::createLike(database, shapes.tableA, a);
        createB = bench::createLike(database, shapes.tableB, b);
        createC = bench::createLike(database, shapes.tableC, c);
        createD = bench::createLike(database, shapes.tableD, d);
    }

    void drop(db::Connection& database)
    {
        bench::dropIfExists(database, view, true);
        for (const std::string* table : {&a, &b, &c, &d})
            bench::dropIfExists(database, *table);
    }

    std::size_t run(db::Connection& database, const Range& range)
    {
        drop(database);
        const std::string unremitted = "m.PAY_DATE BETWEEN " + db::quote(range.from) + " AND " + db::quote(range.to) +
                                       " AND m.ACNT_ID = " + db::quote(range.account) +
                                       " AND m.BANK_IO <> 0 AND (m.BANK_DATE IS NULL OR CHAR_LENGTH(m.BANK_DATE) = 0)";
        for (const std::string* ddl : {&createA, &createB, &createC, &createD})
            database.execute(*ddl);
        database.execute(
            "CREATE VIEW " + view +
            " (MASTERBILLID, BILL_DATE, BILL_YM, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, CASH_AMT, "
            "PAGE_AMT, PRE_PAY, TAKE_PRE, TOT_DISCOUNT, TOT_PATCH, PATCH_AMT, OVER_PAY, TOTAL_PLUS, BANK_IO, "
            "STORE_ID) AS SELECT m.MASTERBILLID, m.BILL_DATE, COALESCE(LEFT(m.BILL_DATE, 7), ''), m.PAY_DATE, "
            "m.PROVIDER_ID, m.PROVIDER_NAME, m.BANK_DATE, m.CASH_AMT, m.PAGE_AMT, m.PRE_PAY, m.TAKE_PRE, "
            "m.TOT_DISCOUNT, m.TOT_PATCH, '0', m.OVER_PAY, m.TOTAL_PLUS, m.BANK_IO, '' FROM PAY_MASTER m WHERE " +
            unremitted);
        db::Transaction fill(database);
        fill.execute(
            "INSERT INTO " + a +
            " (MASTERBILLID, BILL_DATE, BILL_YM, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, AMT, AMT2, "
            "ACNT_AMT, PROVIDER_PHONE, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, BANK_ID2, STORE_ID, STORE_NAME, "
            "ACNT_ID, P_BANK_ID, P_BANK_NAME, P_ACNT_NO, P_ACNT_NAME, EXPORT_FILE, CON_PEOPLE, P_BANK_ID2) "
            "SELECT m.MASTERBILLID, m.BILL_DATE, COALESCE(LEFT(m.BILL_DATE, 7), ''), m.PAY_DATE, m.PROVIDER_ID, "
            "m.PROVIDER_NAME, m.BANK_DATE, m.BANK_IO, m.BANK_IO - v.ACNT_AMT, v.ACNT_AMT, v.PROVIDER_PHONE, "
            "v.BANK_ID, v.BANK_NAME, v.BANK_TITLE, v.BANK_ACCID, COALESCE(LEFT(v.BANK_ID, 3), ''), '', " +
            db::quote(text::big5("本店")) +
            ", m.ACNT_ID, k.BANK_ID, k.BANK_NAME, k.ACNT_NO, k.ACNT_NAME, k.EXPORT_FILE, k.CON_PEOPLE, "
            "COALESCE(LEFT(k.BANK_ID, 3), '') "
            "FROM PAY_MASTER m LEFT JOIN PROVIDER v ON v.PROVIDER_ID = m.PROVIDER_ID "
            "LEFT JOIN BANK_ACCOUNT k ON k.ACNT_ID = m.ACNT_ID WHERE " +
            unremitted);
        fill.execute("INSERT INTO " + b +
                     " (MASTERBILLID, PROVIDER_ID) SELECT m.MASTERBILLID, m.PROVIDER_ID "
                     "FROM PAY_MASTER m WHERE " +
                     unremitted);
        const db::RecordSet grid = fill.query("SELECT * FROM " + a + " ORDER BY PROVIDER_ID");
        fill.commit();
        return grid.rowCount();
    }
};

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string path = argc > 1 ? argv[1] : "/tmp/remittance_bench.fdb";
    const long long bills = argc > 2 ? std::atoll(argv[2]) : 1000000;

    try {
        auto database = bench::openOrCreate(path, bills);
        const Range range = chooseRange(*database, 5000);
        makeRangeRemittable(*database, range);
        std::printf("book: %s; account %s, pay dates %s to %s: %lld unremitted bank bills\n", path.c_str(),
                    range.account.c_str(), range.from.c_str(), range.to.c_str(), range.bills);

        work::WorkTables tables(*database, "_" + std::to_string(database->connectionId()));
        work::NullProgress progress;
        CountingMessages messages;
        db::RecordSet grid;
        remittance::ListedRun run;
        report::Bridge noLibrary("/tmp/"); // the list is not printed: the press stops at the library load
        remittance::RemittanceDesk desk{*database, tables, progress, messages, grid, run, noLibrary};

        remittance::ConfirmConditions conditions;
        conditions.fromDateText = range.from;
        conditions.toDateText = range.to;
        conditions.accountComboText = range.account + ",";
        const remittance::ConfirmOutputs outputs;

        // Warm the cache and check the floor against the program's tables.
        remittance::confirmRemittance(desk, conditions, outputs);
        if (grid.rowCount() == 0)
            throw std::runtime_error("the condition confirm found nothing");
        ConfirmFloor floor;
        floor.prepare(*database, tables.names());
        const std::size_t floorRows = floor.run(*database, range);
        bench::requireSameRows(*database, tables.names().viewA, floor.view);
        bench::requireSameRows(*database, tables.names().tableA, floor.a);
        bench::requireSameRows(*database, tables.names().tableB, floor.b);
        if (floorRows != grid.rowCount())
            throw std::runtime_error("the floor's grid rows differ from the program's");
        std::printf("the floor's view and tables equal the program's, cell for cell (%zu bills)\n", floorRows);

        const int rounds = 5;
        std::vector<double> confirmTimes, confirmFloorTimes;
        for (int round = 0; round < rounds; ++round) {
            confirmTimes.push_back(seconds([&] { remittance::confirmRemittance(desk, conditions, outputs); }));
            confirmFloorTimes.push_back(seconds([&] { floor.run(*database, range); }));
        }
        tables.dropAll();
        floor.drop(*database);

        const double confirm = median(confirmTimes), confirmFloor = median(confirmFloorTimes);
        std::printf("medians of %d alternating rounds\n", rounds);
        std::printf("condition confirm (%zu bills): %.3f s; floor (same tables by SQL written here): %.3f s; "
                    "ratio %.2f (limit 1.5)\n",
                    grid.rowCount(), confirm, confirmFloor, confirm / confirmFloor);
        bench::printLoad();
        return confirm / confirmFloor <= 1.5 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "remittance_bench: %s\n", error.what());
        return 2;
    }
}
