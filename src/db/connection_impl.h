#pragma once
// What a Connection holds: the attachment and the dialect its statements are prepared in.
// Inside db/ (and the record-set benchmark, which measures the bare fetch loop beside it).
#include "db/connection.h"
#include "db/firebird_client.h"
#include "db/statement_wait.h"

#include "platform/log.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace db {

// One statement's line of the log: its time, its text (shortened) and, when it failed, why.
void logStatement(const std::string& sql, double milliseconds, const std::exception* error);

struct Connection::Impl {
    ConnectionParams params;
    fb::Ref<Firebird::IAttachment> attachment;
    unsigned dialect = 3;

    // A cancellable run (see statement_wait.h).
    StatementWait* wait = nullptr;
    std::atomic<bool> cancelled{false};
    std::mutex flight; // guards inFlight against a cancel arriving as a statement ends
    bool inFlight = false;
    bool cancelSent = false; // the server was told to stop an operation of this run

    // Runs one statement of the attachment, timed into the log when there is one.
    template <typename Work> auto perform(const std::string& sql, Work&& work) -> decltype(work())
    {
        if (!platform::logging())
            return performUntimed(std::forward<Work>(work));
        const auto started = std::chrono::steady_clock::now();
        const auto elapsed = [&] {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        };
        try {
            auto result = performUntimed(std::forward<Work>(work));
            logStatement(sql, elapsed(), nullptr);
            return result;
        } catch (const std::exception& error) {
            logStatement(sql, elapsed(), &error);
            throw;
        }
    }

    // Runs one call of the attachment: at once, or under the run's wait on a worker thread.
    template <typename Work> auto performUntimed(Work&& work) -> decltype(work())
    {
        if (cancelled)
            throw Cancelled();
        if (!wait)
            return work();
        using Result = decltype(work());
        std::optional<Result> result;
        std::exception_ptr error;
        std::atomic<bool> done{false};
        {
            std::lock_guard<std::mutex> lock(flight);
            inFlight = true;
        }
        std::thread worker([&] {
            try {
                result.emplace(work());
            } catch (...) {
                error = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(flight);
                inFlight = false;
            }
            done = true;
            wait->wake();
        });
        wait->waitUntil([&] { return done.load(); });
        worker.join();
        // A statement the cancel stopped fails with the server's "cancelled"; one that ended
        // just before the cancel is not kept either: the run stops here.
        if (cancelled)
            throw Cancelled();
        if (error)
            std::rethrow_exception(error);
        return std::move(*result);
    }
};

} // namespace db
