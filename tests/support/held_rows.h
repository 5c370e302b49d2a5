#pragma once
// Another workstation in the middle of a press: its own attachment with a transaction that
// has changed some rows and not yet committed, so it holds their locks. The transaction is
// rolled back when the object goes, or at the latest after `deadline`, so that a press that
// waits for the lock without a limit still comes back and its test fails instead of hanging.
#include "db/connection.h"
#include "support/test_database.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace testing_support {

class HeldRows {
public:
    HeldRows(const TestDatabase& books, const std::string& sql,
             std::chrono::seconds deadline = std::chrono::seconds(20));
    ~HeldRows();
    HeldRows(const HeldRows&) = delete;
    HeldRows& operator=(const HeldRows&) = delete;

private:
    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<db::Transaction> transaction_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool releasing_ = false;
    std::thread releaser_;
};

} // namespace testing_support
