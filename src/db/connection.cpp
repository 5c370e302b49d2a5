#include "db/connection.h"

#include "db/connection_impl.h"
#include "db/statement_runner.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

namespace db {

void logStatement(const std::string& sql, double milliseconds, const std::exception* error)
{
    char time[32];
    std::snprintf(time, sizeof time, "%.1f ms", milliseconds);
    std::string line = std::string(error ? "failed after " : "") + time + ": " + platform::logText(sql, 600);
    if (error)
        line += " -- " + std::string(error->what());
    platform::log("db", error ? platform::LogLevel::Warning : platform::LogLevel::Info, line);
}

namespace {

// The parameter block of an attach or create: user, role, character set NONE (the server
// hands back the stored Big5 bytes untouched) and the provider that must serve the name.
// A file path goes to the embedded engine only, so that a missing file is reported as such
// instead of silently trying a server; a server address never tries to open a local file.
class ParameterBlock {
public:
    ParameterBlock(const ConnectionParams& params, bool create, bool forcedWrites)
    {
        fb::Status status;
        fb::guarded([&] {
            builder_ = fb::util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0);
            builder_->insertString(&status, isc_dpb_user_name, params.user.c_str());
            if (!params.password.empty())
                builder_->insertString(&status, isc_dpb_password, params.password.c_str());
            if (!params.role.empty())
                builder_->insertString(&status, isc_dpb_sql_role_name, params.role.c_str());
            builder_->insertString(&status, isc_dpb_lc_ctype, "NONE");
            builder_->insertInt(&status, isc_dpb_sql_dialect, params.dialect);
            builder_->insertString(&status, isc_dpb_config,
                                   params.embedded() ? "Providers=Engine12" : "Providers=Remote");
            if (create) {
                builder_->insertInt(&status, isc_dpb_page_size, 8192);
                if (!forcedWrites)
                    builder_->insertInt(&status, isc_dpb_force_write, 0);
            }
            length_ = builder_->getBufferLength(&status);
            buffer_ = builder_->getBuffer(&status);
        });
    }
    ~ParameterBlock()
    {
        if (builder_)
            builder_->dispose();
    }
    ParameterBlock(const ParameterBlock&) = delete;
    ParameterBlock& operator=(const ParameterBlock&) = delete;
    unsigned length() const { return length_; }
    const unsigned char* buffer() const { return buffer_; }

private:
    Firebird::IXpbBuilder* builder_ = nullptr;
    unsigned length_ = 0;
    const unsigned char* buffer_ = nullptr;
};

void detachQuietly(fb::Ref<Firebird::IAttachment>& attachment)
{
    if (!attachment)
        return;
    Firebird::IStatus* raw = fb::master()->getStatus();
    Firebird::CheckStatusWrapper status(raw);
    attachment->detach(&status);
    if (!(status.getState() & Firebird::IStatus::STATE_ERRORS))
        attachment.forget(); // released by detach
    raw->dispose();
    attachment.reset();
}

// Runs `work` in a transaction of its own that commits at once, or rolls back when it fails.
template <typename Work> auto autoCommittedOnce(Firebird::IAttachment* attachment, Work& work)
{
    fb::Ref<Firebird::ITransaction> transaction(fb::startTransaction(attachment));
    try {
        auto result = work(transaction.get());
        fb::Status status;
        fb::guarded([&] { transaction->commit(&status); });
        transaction.forget();
        return result;
    } catch (...) {
        fb::rollbackQuietly(transaction);
        throw;
    }
}

// Workstations that create or drop their work tables at the same moment touch the same
// catalogue rows, and the server answers the later one with an update conflict. A statement
// that commits on its own was rolled back whole, so running it again is what the clerk would
// do by pressing again; after a few tries the conflict is reported as it is.
template <typename Work> auto autoCommitted(Firebird::IAttachment* attachment, Work&& work)
{
    constexpr int kTries = 5;
    for (int attempt = 1;; ++attempt) {
        try {
            return autoCommittedOnce(attachment, work);
        } catch (const fb::ConflictError&) {
            if (attempt == kTries)
                throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
        }
    }
}

} // namespace

Connection::Connection(const ConnectionParams& params) : impl_(std::make_unique<Impl>())
{
    impl_->params = params;
    impl_->dialect = static_cast<unsigned>(params.dialect);
    ParameterBlock dpb(params, false, true);
    fb::Status status;
    impl_->attachment.reset(fb::guarded([&] {
        return fb::dispatcher()->attachDatabase(&status, params.database.c_str(), dpb.length(), dpb.buffer());
    }));
}

Connection::~Connection()
{
    detachQuietly(impl_->attachment);
}

long long Connection::execute(const std::string& sql)
{
    return impl_->perform(sql, [&] {
        return autoCommitted(impl_->attachment.get(), [&](Firebird::ITransaction* transaction) {
            return fb::executeStatement(impl_->attachment.get(), transaction, sql, impl_->dialect);
        });
    });
}

long long Connection::executeWithBytes(const std::string& sql, std::string_view bytes)
{
    return impl_->perform(sql, [&] {
        return autoCommitted(impl_->attachment.get(), [&](Firebird::ITransaction* transaction) {
            return fb::executeWithBytes(impl_->attachment.get(), transaction, sql, impl_->dialect, bytes);
        });
    });
}

RecordSet Connection::query(const std::string& sql)
{
    return impl_->perform(sql, [&] {
        return autoCommitted(impl_->attachment.get(), [&](Firebird::ITransaction* transaction) {
            return fb::queryStatement(impl_->attachment.get(), transaction, sql, impl_->dialect);
        });
    });
}

void Connection::setStatementWait(StatementWait* wait)
{
    impl_->wait = wait;
    impl_->cancelled = false;
    bool sent = false;
    {
        std::lock_guard<std::mutex> lock(impl_->flight);
        std::swap(sent, impl_->cancelSent);
    }
    if (!sent)
        return;
    // A cancel that reached the server just as its statement ended stays pending there and
    // would stop the next call; one harmless query takes it.
    try {
        query("SELECT 1 FROM RDB$DATABASE");
    } catch (const text::UserError&) {
    }
}

void Connection::cancelRun()
{
    impl_->cancelled = true;
    std::lock_guard<std::mutex> lock(impl_->flight);
    if (!impl_->inFlight)
        return;
    impl_->cancelSent = true;
    Firebird::IStatus* raw = fb::master()->getStatus();
    Firebird::CheckStatusWrapper status(raw);
    impl_->attachment->cancelOperation(&status, fb_cancel_raise);
    raw->dispose();
}

bool Connection::runCancelled() const
{
    return impl_->cancelled;
}

Cancelled::Cancelled() : text::UserError("作業已取消")
{
}

std::string Connection::blobLookup(const std::string& sql)
{
    return impl_->perform(sql, [&] {
        return autoCommitted(impl_->attachment.get(), [&](Firebird::ITransaction* transaction) {
            return fb::queryBlob(impl_->attachment.get(), transaction, sql, impl_->dialect);
        });
    });
}

const ConnectionParams& Connection::params() const
{
    return impl_->params;
}

long long Connection::connectionId()
{
    return static_cast<long long>(query("SELECT CURRENT_CONNECTION FROM RDB$DATABASE").number(0, 0));
}

std::unique_ptr<Connection> Connection::createDatabase(const ConnectionParams& params, bool forcedWrites)
{
    {
        ParameterBlock dpb(params, true, forcedWrites);
        fb::Status status;
        fb::Ref<Firebird::IAttachment> created(fb::guarded([&] {
            return fb::dispatcher()->createDatabase(&status, params.database.c_str(), dpb.length(), dpb.buffer());
        }));
        detachQuietly(created);
    }
    return std::make_unique<Connection>(params);
}

// ---- Transaction

struct Transaction::Impl {
    Connection::Impl& connection;
    TransactionOptions options;
    fb::Ref<Firebird::ITransaction> transaction;

    Firebird::ITransaction* open()
    {
        if (!transaction)
            throw std::logic_error("db::Transaction used after commit or rollback");
        return transaction.get();
    }

    // Runs one call of the transaction; with a bounded wait, a conflict with another
    // attachment leaves as the clerk's message of the options.
    template <typename Work> auto run(Work&& work)
    {
        if (options.lockTimeoutSeconds <= 0 || options.conflictMessage.empty())
            return work();
        try {
            return work();
        } catch (const fb::ConflictError&) {
            throw text::UserError(options.conflictMessage);
        }
    }
};

Transaction::Transaction(Connection& connection, const TransactionOptions& options)
    : impl_(std::make_unique<Impl>(Impl{connection.impl(), options, {}}))
{
    impl_->transaction.reset(fb::startTransaction(connection.impl().attachment.get(), options.lockTimeoutSeconds));
}

Transaction::~Transaction()
{
    fb::rollbackQuietly(impl_->transaction);
}

long long Transaction::execute(const std::string& sql)
{
    Firebird::ITransaction* transaction = impl_->open();
    return impl_->run([&] {
        return impl_->connection.perform(sql, [&] {
            return fb::executeStatement(impl_->connection.attachment.get(), transaction, sql,
                                        impl_->connection.dialect);
        });
    });
}

long long Transaction::executeWithBytes(const std::string& sql, std::string_view bytes)
{
    Firebird::ITransaction* transaction = impl_->open();
    return impl_->run([&] {
        return impl_->connection.perform(sql, [&] {
            return fb::executeWithBytes(impl_->connection.attachment.get(), transaction, sql, impl_->connection.dialect,
                                        bytes);
        });
    });
}

RecordSet Transaction::query(const std::string& sql)
{
    Firebird::ITransaction* transaction = impl_->open();
    return impl_->run([&] {
        return impl_->connection.perform(sql, [&] {
            return fb::queryStatement(impl_->connection.attachment.get(), transaction, sql, impl_->connection.dialect);
        });
    });
}

std::string Transaction::blobLookup(const std::string& sql)
{
    Firebird::ITransaction* transaction = impl_->open();
    return impl_->run([&] {
        return impl_->connection.perform(sql, [&] {
            return fb::queryBlob(impl_->connection.attachment.get(), transaction, sql, impl_->connection.dialect);
        });
    });
}

void Transaction::commit()
{
    Firebird::ITransaction* transaction = impl_->open();
    // A cancelled run keeps nothing: its transaction rolls back when it goes.
    if (impl_->connection.cancelled)
        throw Cancelled();
    fb::Status status;
    impl_->connection.perform("COMMIT", [&] {
        impl_->run([&] { fb::guarded([&] { transaction->commit(&status); }); });
        return 0;
    });
    impl_->transaction.forget();
}

void Transaction::rollback()
{
    Firebird::ITransaction* transaction = impl_->open();
    fb::Status status;
    fb::guarded([&] { transaction->rollback(&status); });
    impl_->transaction.forget();
}

} // namespace db
