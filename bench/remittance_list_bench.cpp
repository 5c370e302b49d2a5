// The remittance list's WorkTableD for 5,000 and 10,000 remitted bills in several key
// patterns: the time must grow linearly with the bills (10,000 at most 2.2 times 5,000).
// Medians of alternating rounds.
//
//   remittance_list_bench [database]
//
// The database is a file (default /tmp/remittance_list_bench.fdb, created empty with the
// schema when missing) or a server database "host/port:path" (DESK_BENCH_USER,
// DESK_BENCH_PASSWORD). The bench makes its own stores and work tables and drops the tables.
#include "bench_support.h"
#include "remittance/remittance_report_table.h"
#include "remittance/work_table_layout.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::seconds;

struct Pattern {
    const char* name;
    // PSQL expressions of the loop counter :I for the provider, month and store of bill I.
    const char* provider;
    const char* month;
    const char* store;
};

const Pattern kPatterns[] = {
    {"one provider, month and store", "'P1'", "'2026/11'", "'01'"},
    {"every bill its own provider", "'P' || :I", "'2026/11'", "'01'"},
    {"20 providers, 3 months, 8 stores", "'P' || MOD(:I, 20)", "'2026/' || (9 + MOD(:I / 20, 3))",
     "'0' || (1 + MOD(:I / 7, 8))"},
};

void fillBills(db::Connection& database, const std::string& tableC, const Pattern& pattern, int bills)
{
    database.execute("DELETE FROM " + tableC);
    database.execute(std::string("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < ") + std::to_string(bills) +
                     ") DO BEGIN INSERT INTO " + tableC +
                     " (MASTERBILLID, PROVIDER_ID, PROVIDER_NAME, BILL_YM, STORE_ID, BANK_ID, BANK_DATE, AMT2) VALUES "
                     "(LPAD(:I, 8, '0'), " +
                     pattern.provider + ", 'NAME', " + pattern.month + ", " + pattern.store +
                     ", '0170001', '2026/12/09', 100 + MOD(:I, 97)); I = I + 1; END END");
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        const std::string path = argc > 1 ? argv[1] : "/tmp/remittance_list_bench.fdb";
        const db::ConnectionParams params = bench::bookParams(path);
        std::unique_ptr<db::Connection> database;
        if (params.embedded() && !std::filesystem::exists(params.database)) {
            database = db::Connection::createDatabase(params, false);
            demo::createSchema(*database);
        } else {
            database = std::make_unique<db::Connection>(params);
        }
        std::vector<remittance::Store> stores;
        for (int s = 1; s <= 8; ++s)
            stores.push_back({"0" + std::to_string(s), "Store " + std::to_string(s)});

        work::WorkNames names;
        names.tableC = "TMP_LISTBENCH_C";
        names.tableD = "TMP_LISTBENCH_D";
        bench::dropIfExists(*database, names.tableC);
        bench::dropIfExists(*database, names.tableD);
        database->execute(remittance::createTable(names.tableC, remittance::billColumns()));

        const auto fillList = [&] {
            bench::dropIfExists(*database, names.tableD);
            database->execute(remittance::createTable(names.tableD, remittance::summaryColumns(8)));
            return seconds(
                [&] { remittance::fillReportTable(*database, names, stores, remittance::BankGroup::InterBank); });
        };

        bool linear = true;
        for (const Pattern& pattern : kPatterns) {
            std::vector<double> five, ten;
            for (int round = 0; round < 5; ++round) {
                fillBills(*database, names.tableC, pattern, 5000);
                five.push_back(fillList());
                fillBills(*database, names.tableC, pattern, 10000);
                ten.push_back(fillList());
            }
            const double ratio = median(ten) / median(five);
            linear = linear && ratio <= 2.2;
            std::printf("%-34s 5,000 bills %.3f s, 10,000 bills %.3f s: ratio %.2f (limit 2.2)\n", pattern.name,
                        median(five), median(ten), ratio);
        }
        bench::dropIfExists(*database, names.tableC);
        bench::dropIfExists(*database, names.tableD);
        bench::printLoad();
        return linear ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "remittance_list_bench: %s\n", e.what());
        return 2;
    }
}
