#pragma once
// What the benchmarks that compare a page's run with its own statements replayed share: a
// recording executor, a timer and the generated book they run on.
#include "db/connection.h"
#include "demo/demo_data.h"
#include "demo/schema_loader.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct Statement {
    bool isQuery;
    std::string sql;
};

// Forwards to the connection and keeps every statement in order.
class RecordingExecutor : public db::Executor {
public:
    explicit RecordingExecutor(db::Connection& connection) : connection_(connection) {}
    long long execute(const std::string& sql) override
    {
        statements.push_back({false, sql});
        return connection_.execute(sql);
    }
    db::RecordSet query(const std::string& sql) override
    {
        statements.push_back({true, sql});
        return connection_.query(sql);
    }
    using Executor::execute;
    using Executor::query;
    std::vector<Statement> statements;

private:
    db::Connection& connection_;
};


inline double seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Opens the book at `path`, generating it first when it is missing (this takes minutes for a
// million bills, so the benchmarks reuse it).
inline std::unique_ptr<db::Connection> openOrCreate(const std::string& path, long long bills)
{
    db::ConnectionParams params;
    params.database = path;
    if (std::filesystem::exists(path))
        return std::make_unique<db::Connection>(params);
    std::printf("creating %s with %lld bills per book ...\n", path.c_str(), bills);
    auto connection = db::Connection::createDatabase(params, false);
    demo::createSchema(*connection);
    demo::DemoOptions options;
    options.bills = bills;
    demo::generateDemoData(*connection, options);
    return connection;
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
