// An across-store inquiry with provider statistics over a month of bills of all stores, on a
// book of a million bills, against a floor measured in the same run, program and floor
// alternating, medians reported. The floor builds the same work objects (the view, the detail
// table and the statistics table, dropped and created again) with SQL written here: the
// detail rows as one row per bill and payment kind completed with provider, account and store
// data, the statistics as one grouped statement, the detail rows read in the grid's order.
// Its tables are checked cell for cell against the program's in the same run.
//
//   inquiry_bench [database] [bills] [months]
//
// The database is a file (default /tmp/inquiry_bench.fdb, created with the demo data when
// missing) or a server database "host/port:path" (DESK_BENCH_USER, DESK_BENCH_PASSWORD).
// `months` (default 1) is how many months before today the inquiry covers: 3 for a quarter.
#include "bench_support.h"
#include "inquiry/inquiry_run.h"
#include "report/bridge.h"
#include "text/big5.h"
#include "text/dates.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::seconds;

class SilentMessages : public work::Messages {
public:
    void inform(const std::string& utf8) override { std::printf("message: %s\n", utf8.c_str()); }
    bool confirm(const std::string&) override { return true; }
};

// The last `months` full months before today.
std::pair<std::string, std::string> lastMonths(int months)
{
    text::Date last = text::today();
    last.month -= 1;
    if (last.month == 0) {
        last.month = 12;
        last.year -= 1;
    }
    text::Date first = last;
    first.month -= months - 1;
    while (first.month < 1) {
        first.month += 12;
        first.year -= 1;
    }
    int day = 31;
    while (!text::isValidDate({last.year, last.month, day}))
        --day;
    return {text::toDateString({first.year, first.month, 1}), text::toDateString({last.year, last.month, day})};
}

struct InquiryFloor {
    std::string view = "VIEW_FLOORQ", a = "TMP_FLOORQ_A", b = "TMP_FLOORQ_B";
    std::string createA, createB;

    void prepare(db::Connection& database, const work::WorkNames& shapes)
    {
        createA = bench::createLike(database, shapes.tableA, a);
        createB = bench::createLike(database, shapes.tableB, b);
    }

    void drop(db::Connection& database)
    {
        bench::dropIfExists(database, view, true);
        bench::dropIfExists(database, a);
        bench::dropIfExists(database, b);
    }

    std::size_t run(db::Connection& database, const std::string& from, const std::string& to)
    {
        drop(database);
        const std::string month = " WHERE u.PAY_DATE BETWEEN " + db::quote(from) + " AND " + db::quote(to);
        database.execute(createA);
        database.execute(
            "CREATE VIEW " + view +
            " (MASTERBILLID, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, BILL_DATE, "
            "PAY_DATE, CASH_AMT, PAGE_AMT, EXPDATE, ACNT_ID, PRE_PAY, TAKE_PRE, TOT_DISCOUNT, TOT_PATCH, "
            "PATCH_AMT, OVER_PAY, TOTAL_PLUS, BANK_IO, FAX_YN, STORE_ID) AS SELECT u.SECBILLID, u.PROVIDER_ID, "
            "u.PROVIDER_NAME, u.BANK_DATE, u.PAY_DATE, u.PAY_DATE, u.CASH_AMT, u.PAGE_AMT, u.EXPDATE, u.ACNT_ID, "
            "u.PRE_PAY, u.TAKE_PRE, u.TOT_DISCOUNT, u.TOT_PATCH, '0', u.OVER_PAY, u.TOTAL_PLUS, u.BANK_IO, "
            "v.FAX_YN, u.STORE_ID FROM PAY_MASTERU u LEFT JOIN PROVIDER v ON v.PROVIDER_ID = u.PROVIDER_ID" +
            month);
        const db::RecordSet stores = database.query("SELECT STORE_ID, STORE_NAME FROM SLAVE_ITEM ORDER BY STORE_ID");
        database.execute(createB);

        db::Transaction fill(database);
        const auto kind = [&](const char* flag, const char* flagId, const char* amount) {
            return "SELECT " + db::quote(text::big5(flag)) + ", " + db::quote(text::big5(flagId)) + ", " +
                   db::quote(text::big5("貨款")) +
                   ", u.ACNT_ID, u.PAY_DATE, u.PAY_DATE, u.SECBILLID, u.PROVIDER_ID, u.PROVIDER_NAME, u.BANK_DATE, "
                   "u.BANK_IO, u.BANK_IO - v.ACNT_AMT, u.CASH_AMT, u.PAGE_AMT, u.EXPDATE, u.STORE_ID, "
                   "v.PROVIDER_PHONE, "
                   "v.BANK_ID, v.BANK_NAME, v.BANK_TITLE, v.BANK_ACCID, v.ACNT_AMT, k.BANK_ID, k.BANK_NAME, k.ACNT_NO, "
                   "k.ACNT_NAME, k.EXPORT_FILE, k.CON_PEOPLE, COALESCE(LEFT(k.BANK_ID, 3), ''), "
                   "COALESCE(LEFT(v.BANK_ID, 3), ''), s.STORE_NAME "
                   "FROM PAY_MASTERU u LEFT JOIN PROVIDER v ON v.PROVIDER_ID = u.PROVIDER_ID "
                   "LEFT JOIN BANK_ACCOUNT k ON k.ACNT_ID = u.ACNT_ID LEFT JOIN SLAVE_ITEM s ON s.STORE_ID = "
                   "u.STORE_ID" +
                   month + " AND u." + amount + " <> 0";
        };
        fill.execute("INSERT INTO " + a +
                     " (FLAG, FLAG_ID, FLAG_ID2, ACNT_ID, BILL_DATE, PAY_DATE, MASTERBILLID, "
                     "PROVIDER_ID, PROVIDER_NAME, BANK_DATE, AMT, AMT2, CASH_AMT, PAGE_AMT, EXPDATE, STORE_ID, "
                     "PROVIDER_PHONE, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT, P_BANK_ID, P_BANK_NAME, "
                     "P_ACNT_NO, P_ACNT_NAME, EXPORT_FILE, CON_PEOPLE, P_BANK_ID2, BANK_ID2, STORE_NAME) " +
                     kind("現金", "0.現金", "CASH_AMT") + " UNION ALL " + kind("匯款", "1.匯款", "BANK_IO") +
                     " UNION ALL " + kind("支票", "2.支票", "PAGE_AMT"));
        const db::RecordSet grid =
            fill.query("SELECT * FROM " + a + " ORDER BY PAY_DATE, FLAG_ID, ACNT_ID, PROVIDER_ID");

        // One row per provider code and name, each store's sums over the code's rows.
        std::string columns = "PROVIDER_ID, PROVIDER_NAME", values = "PROVIDER_ID, PROVIDER_NAME";
        for (std::size_t r = 0; r < stores.rowCount(); ++r) {
            const std::string nn = (r < 9 ? "0" : "") + std::to_string(r + 1);
            const std::string id = db::quote(stores.text(r, 0));
            columns +=
                ", STORE_ID_" + nn + ", STORE_NAME_" + nn + ", AMT2_" + nn + ", CASH_AMT_" + nn + ", PAGE_AMT_" + nn;
            values += ", " + id + ", " + db::quote(stores.text(r, 1));
            for (const char* amount : {"AMT2", "CASH_AMT", "PAGE_AMT"})
                values += std::string(", IIF(PROVIDER_ID IS NULL, NULL, SUM(IIF(STORE_ID = ") + id + ", " + amount +
                          ", NULL)) OVER (PARTITION BY PROVIDER_ID))";
        }
        fill.execute("INSERT INTO " + b + " (" + columns + ") SELECT DISTINCT " + values + " FROM " + a);
        fill.commit();
        return grid.rowCount();
    }
};

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        const std::string path = argc > 1 ? argv[1] : "/tmp/inquiry_bench.fdb";
        const long long bills = argc > 2 ? std::stoll(argv[2]) : 1000000;
        const int months = argc > 3 ? std::stoi(argv[3]) : 1;
        auto connection = bench::openOrCreate(path, bills);
        const auto [from, to] = lastMonths(months);
        const std::string folder = std::filesystem::temp_directory_path().string() + "/";

        inquiry::InquiryConditions conditions;
        conditions.dataSelection = inquiry::AllStores;
        conditions.reportFormat = inquiry::ProviderStatistics;
        conditions.dateFromText = from;
        conditions.dateToText = to;

        work::WorkTables tables(*connection, "_B", report::handOverFiles(folder));
        work::NullProgress progress;
        SilentMessages messages;
        db::RecordSet grid;
        inquiry::InquiryDesk services{*connection, tables, progress, messages, grid};

        // Warm the cache and check the floor against the program's tables.
        std::printf("first run of the program: %.3f s\n",
                    seconds([&] { inquiry::runAllStores(conditions, services); }));
        InquiryFloor floor;
        floor.prepare(*connection, tables.names());
        std::size_t floorRows = 0;
        std::printf("first run of the floor: %.3f s\n", seconds([&] { floorRows = floor.run(*connection, from, to); }));
        bench::requireSameRows(*connection, tables.names().viewA, floor.view);
        bench::requireSameRows(*connection, tables.names().tableA, floor.a);
        bench::requireSameRows(*connection, tables.names().tableB, floor.b);
        if (floorRows != grid.rowCount())
            throw std::runtime_error("the floor's grid rows differ from the program's");
        std::printf("inquiry %s ~ %s: %zu grid rows; the floor's view and tables equal the program's, cell for cell\n",
                    from.c_str(), to.c_str(), grid.rowCount());

        const int rounds = 5;
        std::vector<double> program, floorTimes;
        for (int round = 0; round < rounds; ++round) {
            program.push_back(seconds([&] { inquiry::runAllStores(conditions, services); }));
            floorTimes.push_back(seconds([&] { floor.run(*connection, from, to); }));
        }
        tables.dropAll();
        floor.drop(*connection);
        const double inquiryTime = median(program), floorTime = median(floorTimes);
        std::printf("medians of %d alternating rounds\n", rounds);
        std::printf("across-store inquiry with statistics: %.3f s\n", inquiryTime);
        std::printf("floor (same tables by SQL written here): %.3f s\n", floorTime);
        std::printf("ratio: %.2f (target at most 1.5)\n", inquiryTime / floorTime);
        bench::printLoad();
        return inquiryTime <= 1.5 * floorTime ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "inquiry_bench: %s\n", e.what());
        return 2;
    }
}
