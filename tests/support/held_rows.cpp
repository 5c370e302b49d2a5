#include "support/held_rows.h"

namespace testing_support {

HeldRows::HeldRows(const TestDatabase& books, const std::string& sql, std::chrono::seconds deadline)
    : connection_(books.connectAgain()), transaction_(std::make_unique<db::Transaction>(*connection_))
{
    transaction_->execute(sql);
    releaser_ = std::thread([this, deadline] {
        std::unique_lock<std::mutex> lock(mutex_);
        released_.wait_for(lock, deadline, [this] { return releasing_; });
        transaction_->rollback();
    });
}

HeldRows::~HeldRows()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        releasing_ = true;
    }
    released_.notify_all();
    releaser_.join();
}

} // namespace testing_support
