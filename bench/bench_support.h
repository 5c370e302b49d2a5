#pragma once
// What the benchmarks share: the book they run on (a file through the embedded engine or a
// server database "host/port:path"), a timer, medians of alternating rounds, and the check
// that a floor built the same table as the program.
#include "db/connection.h"
#include "db/sql.h"
#include "demo/demo_data.h"
#include "demo/schema_loader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A database given as a file path, or as "host:path" / "host/port:path" on a server (user
// from DESK_BENCH_USER, default SYSDBA; password from DESK_BENCH_PASSWORD).
inline db::ConnectionParams bookParams(const std::string& database)
{
    db::ConnectionParams params;
    params.database = database;
    if (const char* user = std::getenv("DESK_BENCH_USER"))
        params.user = user;
    if (const char* password = std::getenv("DESK_BENCH_PASSWORD"))
        params.password = password;
    if (params.embedded())
        params.database = std::filesystem::absolute(database).string();
    return params;
}

// Opens the book, generating it first when it is a missing file (this takes long for a
// million bills, so the benchmarks reuse it). A server database must exist.
inline std::unique_ptr<db::Connection> openOrCreate(const std::string& database, long long bills)
{
    const db::ConnectionParams params = bookParams(database);
    if (!params.embedded() || std::filesystem::exists(params.database))
        return std::make_unique<db::Connection>(params);
    std::printf("creating %s with %lld bills per book ...\n", params.database.c_str(), bills);
    auto connection = db::Connection::createDatabase(params, false);
    demo::createSchema(*connection);
    demo::DemoOptions options;
    options.bills = bills;
    demo::generateDemoData(*connection, options);
    return connection;
}

// "CREATE TABLE target (...)" with the columns of an existing table: the floors build tables
// shaped like the program's without running the program's statements.
inline std::string createLike(db::Executor& database, const std::string& source, const std::string& target)
{
    const db::RecordSet columns = database.query(
        "SELECT TRIM(RF.RDB$FIELD_NAME), F.RDB$FIELD_TYPE, F.RDB$FIELD_LENGTH FROM RDB$RELATION_FIELDS RF "
        "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = " +
        db::quote(source) + " ORDER BY RF.RDB$FIELD_POSITION");
    std::string sql = "CREATE TABLE " + target + " (";
    for (std::size_t r = 0; r < columns.rowCount(); ++r) {
        const int type = static_cast<int>(columns.number(r, 1));
        const std::string declared = type == 27   ? "DOUBLE PRECISION"
                                     : type == 37 ? "VARCHAR(" + columns.text(r, 2) + ")"
                                                  : throw std::runtime_error("unexpected column type in " + source);
        sql += (r ? ", " : "") + columns.text(r, 0) + " " + declared;
    }
    return sql + ")";
}

inline bool exists(db::Executor& database, const std::string& relation)
{
    return !database
                .lookup("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(relation))
                .empty();
}

inline void dropIfExists(db::Executor& database, const std::string& relation, bool view = false)
{
    if (exists(database, relation))
        database.execute(std::string(view ? "DROP VIEW " : "DROP TABLE ") + relation);
}

// Every cell of two tables, both read in the order of all their columns; throws at the first
// difference, so a floor that does not build the program's result gives no figure. Texts
// must match byte for byte; numbers exactly, except that a sum may differ in its last bits
// when the server adds the same amounts in another order.
inline bool sameNumber(double a, double b)
{
    return a == b || std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(a));
}

inline void requireSameRows(db::Executor& database, const std::string& program, const std::string& floor)
{
    const std::size_t columns = database.query("SELECT FIRST 0 * FROM " + program).columnCount();
    std::string order;
    for (std::size_t c = 1; c <= columns; ++c)
        order += (c > 1 ? "," : "") + std::to_string(c);
    const db::RecordSet a = database.query("SELECT * FROM " + program + " ORDER BY " + order);
    const db::RecordSet b = database.query("SELECT * FROM " + floor + " ORDER BY " + order);
    if (a.columnCount() != b.columnCount() || a.rowCount() != b.rowCount())
        throw std::runtime_error(floor + " differs from " + program + " in its shape or row count (" +
                                 std::to_string(b.rowCount()) + " rows against " + std::to_string(a.rowCount()) + ")");
    for (std::size_t r = 0; r < a.rowCount(); ++r)
        for (std::size_t c = 0; c < a.columnCount(); ++c) {
            const bool same = a.isNull(r, c) == b.isNull(r, c) &&
                              (a.isNull(r, c) || (a.column(c).type == db::FieldType::String
                                                      ? a.text(r, c) == b.text(r, c)
                                                      : sameNumber(a.number(r, c), b.number(r, c))));
            if (!same)
                throw std::runtime_error(floor + " differs from " + program + " at row " + std::to_string(r) +
                                         ", column " + a.column(c).name + ": " + b.text(r, c) + " against " +
                                         a.text(r, c));
        }
}

inline void printLoad()
{
    if (FILE* uptime = popen("uptime", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, uptime))
            std::printf("load: %s", line);
        pclose(uptime);
    }
}

// Files written as a press must leave them before it reports the stamps: each whole under a
// temporary name, flushed to disk, renamed over its name, and the folder's entries flushed.
// (Plain POSIX calls, written here: the floor does not borrow the program's file routines.)
inline void writeFilesDurably(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files)
{
    for (const auto& [name, bytes] : files) {
        const std::string temporary = folder + name + ".floor";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        bool ok = fd >= 0;
        for (std::size_t done = 0; ok && done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            ok = n > 0;
            done += ok ? static_cast<std::size_t>(n) : 0;
        }
        ok = ok && ::fsync(fd) == 0;
        ok = fd >= 0 && ::close(fd) == 0 && ok;
        if (!ok || ::rename(temporary.c_str(), (folder + name).c_str()) != 0)
            throw std::runtime_error("the floor could not write " + folder + name);
    }
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0 || ::fsync(directory) != 0 || ::close(directory) != 0)
        throw std::runtime_error("the floor could not flush " + folder);
}

// A whole file's bytes ("" when it is missing).
inline std::string readAll(const std::string& path)
{
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

} // namespace bench
