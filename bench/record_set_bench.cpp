// Opening a record set against the bare Firebird fetch loop over the same query, and saving
// and loading the record-set file.
//
//   record_set_bench [database file]
//
// Without an argument a database is created in a temporary folder and removed afterwards;
// with one, the file is created when missing and reused (with its table T) when present.
#include "bare_fetch.h"
#include "db/connection.h"
#include "text/error.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kRows = 100000;
constexpr int kStringColumns = 24;
constexpr int kDoubleColumns = 14;
constexpr int kRepeats = 5;
const char* const kQuery = "SELECT * FROM T";

// Column widths as the work tables have them: ids, dates, names, accounts, flags.
int stringWidth(int i)
{
    static const int widths[] = {10, 10, 50, 20, 7, 50, 20, 1, 10, 30, 12, 1};
    return widths[i % 12];
}

void createTable(db::Connection& connection)
{
    std::string columns, values;
    for (int i = 0; i < kStringColumns; ++i) {
        columns += (i ? ", S" : "S") + std::to_string(i) + " VARCHAR(" + std::to_string(stringWidth(i)) + ")";
        // Big5 text and ids of realistic lengths, cut to the column's width.
        std::string value = i % 3 == 0 ? "'\xA5\x78\xA5\x5F\xA4\xA4\xA4\xDF' || :I" : "'P' || LPAD(:I, 7, '0')";
        values += ", SUBSTRING(" + value + " FROM 1 FOR " + std::to_string(stringWidth(i)) + ")";
    }
    for (int i = 0; i < kDoubleColumns; ++i) {
        columns += ", D" + std::to_string(i) + " DOUBLE PRECISION";
        values += i % 5 == 4 ? ", NULL" : ", :I * " + std::to_string(i + 1) + ".25";
    }
    connection.execute("CREATE TABLE T (" + columns + ")");
    connection.execute("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < " + std::to_string(kRows) +
                       ") DO BEGIN INSERT INTO T VALUES (" + values.substr(2) + "); I = I + 1; END END");
}

bool hasTable(db::Connection& connection)
{
    return connection.lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'T'") == "1";
}

// Wall-clock time, and the processor time this process spent, which stays meaningful when
// other work shares the machine's cores.
struct Timing {
    std::vector<double> wall, cpu;
    void measure(const std::function<void()>& work)
    {
        auto start = std::chrono::steady_clock::now();
        double cpuStart = cpuMilliseconds();
        work();
        cpu.push_back(cpuMilliseconds() - cpuStart);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    double wallMedian() const { return median(wall); }
    double cpuMedian() const { return median(cpu); }

    static double cpuMilliseconds()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }
    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
};

} // namespace

int main(int argc, char** argv)
{
    try {
        std::filesystem::path folder;
        db::ConnectionParams params;
        if (argc > 1) {
            params.database = argv[1];
        } else {
            folder = std::filesystem::temp_directory_path() / ("record-set-bench-" + std::to_string(getpid()));
            std::filesystem::create_directories(folder);
            params.database = (folder / "bench.fdb").string();
        }
        std::unique_ptr<db::Connection> connection;
        if (std::filesystem::exists(params.database)) {
            connection = std::make_unique<db::Connection>(params);
        } else {
            connection = db::Connection::createDatabase(params, /*forcedWrites=*/false);
        }
        if (!hasTable(*connection)) {
            std::printf("filling T with %d rows x %d columns ...\n", kRows, kStringColumns + kDoubleColumns);
            createTable(*connection);
        }

        // Warm the page cache for both sides alike.
        bench::bareFetch(*connection, kQuery);

        Timing bare, open;
        db::RecordSet records;
        for (int i = 0; i < kRepeats; ++i) {
            long rows = 0;
            bare.measure([&] { rows = bench::bareFetch(*connection, kQuery); });
            records.clear(); // the previous copy goes first, as when a page reopens its record set
            open.measure([&] { records = connection->query(kQuery); });
            if (rows != kRows || records.rowCount() != static_cast<std::size_t>(kRows)) {
                std::fprintf(stderr, "unexpected row counts: %ld bare, %zu record set\n", rows, records.rowCount());
                return 1;
            }
        }
        std::printf("rows %zu, columns %zu\n", records.rowCount(), records.columnCount());
        std::printf(
            "record set open / bare fetch: %.2fx (%.0f ms / %.0f ms); processor time %.2fx (%.0f ms / %.0f ms)\n",
            open.wallMedian() / bare.wallMedian(), open.wallMedian(), bare.wallMedian(),
            open.cpuMedian() / bare.cpuMedian(), open.cpuMedian(), bare.cpuMedian());

        const std::string file =
            (folder.empty() ? std::filesystem::temp_directory_path() : folder).string() + "/record-set-bench.cds";
        Timing save, load;
        for (int i = 0; i < kRepeats; ++i) {
            save.measure([&] { records.save(file); });
            db::RecordSet loaded;
            load.measure([&] { loaded = db::RecordSet::load(file); });
            if (loaded.rowCount() != records.rowCount())
                return 1;
        }
        std::printf("record set file of %.1f MB: save %.0f ms (processor %.0f ms), load %.0f ms (processor %.0f ms);"
                    " limit 1000 ms each\n",
                    static_cast<double>(std::filesystem::file_size(file)) / 1e6, save.wallMedian(), save.cpuMedian(),
                    load.wallMedian(), load.cpuMedian());
        std::filesystem::remove(file);

        connection.reset();
        if (!folder.empty())
            std::filesystem::remove_all(folder);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
