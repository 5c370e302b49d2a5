// An across-store inquiry with provider statistics over a month of bills of all stores, on a
// book of a million bills, against the same statements run back to back through the db API.
//
//   inquiry_bench [database file] [bills]
//
// The database (default /tmp/inquiry_bench.fdb) is created with the demo data when missing
// and reused when present. The inquiry's statements are recorded while it runs; the baseline
// replays exactly those statements, from the first CREATE on, without the page logic around.
#include "bench_support.h"
#include "db/connection.h"
#include "demo/demo_data.h"
#include "demo/schema_loader.h"
#include "inquiry/inquiry_run.h"
#include "text/dates.h"
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

class SilentMessages : public work::Messages {
public:
    void inform(const std::string& utf8) override { std::printf("message: %s\n", utf8.c_str()); }
    bool confirm(const std::string&) override { return true; }
};

// The last full month before today.
std::pair<std::string, std::string> lastMonth()
{
    text::Date day = text::today();
    day.month -= 1;
    if (day.month == 0) {
        day.month = 12;
        day.year -= 1;
    }
    int last = 31;
    while (!text::isValidDate({day.year, day.month, last}))
        --last;
    return {text::toDateString({day.year, day.month, 1}), text::toDateString({day.year, day.month, last})};
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        const std::string path = argc > 1 ? argv[1] : "/tmp/inquiry_bench.fdb";
        const long long bills = argc > 2 ? std::stoll(argv[2]) : 1000000;
        auto connection = openOrCreate(path, bills);
        const auto [from, to] = lastMonth();
        const std::string folder = std::filesystem::temp_directory_path().string() + "/";

        inquiry::InquiryConditions conditions;
        conditions.dataSelection = inquiry::AllStores;
        conditions.reportFormat = inquiry::ProviderStatistics;
        conditions.dateFromText = from;
        conditions.dateToText = to;

        RecordingExecutor recorder(*connection);
        work::WorkTables tables(recorder, "_B", folder);
        work::NullProgress progress;
        SilentMessages messages;
        db::RecordSet grid;
        inquiry::InquiryServices services{recorder, tables, progress, messages, grid};

        const auto runInquiry = [&] {
            recorder.statements.clear();
            return seconds([&] { inquiry::runAllStores(conditions, services); });
        };
        // The replay: every statement from the first CREATE on, as the inquiry ran it.
        const auto replay = [&] {
            std::vector<Statement> work;
            const auto first = std::find_if(recorder.statements.begin(), recorder.statements.end(),
                                            [](const Statement& s) { return s.sql.rfind("CREATE", 0) == 0; });
            work.assign(first, recorder.statements.end());
            tables.dropAll();
            return seconds([&] {
                for (const Statement& s : work) {
                    if (s.isQuery) {
                        db::RecordSet records = connection->query(s.sql);
                        (void)records;
                    } else {
                        connection->execute(s.sql);
                    }
                }
            });
        };

        runInquiry(); // warms the cache
        std::printf("inquiry %s ~ %s: %zu grid rows, %zu statements\n", from.c_str(), to.c_str(), grid.rowCount(),
                    recorder.statements.size());
        double inquiryTime = 1e9, baselineTime = 1e9;
        for (int round = 0; round < 2; ++round) {
            inquiryTime = std::min(inquiryTime, runInquiry());
            baselineTime = std::min(baselineTime, replay());
        }
        tables.dropAll();
        std::printf("across-store inquiry with statistics: %.3f s\n", inquiryTime);
        std::printf("same statements back to back:        %.3f s\n", baselineTime);
        std::printf("ratio: %.2f (target at most 1.5)\n", inquiryTime / baselineTime);
        return inquiryTime <= 1.5 * baselineTime ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}
