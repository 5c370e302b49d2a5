#pragma once
// The one connection, named "Kalder". Its definition lives in connections.ini beside the
// executable, section [Kalder]:
//   Database = /path/to/file.fdb        (a file path: embedded engine)
//            | host:/path | host/port:/path (a Firebird server)
//   User = SYSDBA, Password = ..., Role = ..., Dialect = 3
// Character set NONE: bytes go in and come out exactly as stored.
#include "db/executor.h"
#include "db/statement_wait.h"

#include <memory>
#include <string>

namespace db {

struct ConnectionParams {
    std::string database;
    std::string user = "SYSDBA";
    std::string password;
    std::string role;
    int dialect = 3;
    bool embedded() const; // a plain file path, no host part
};

// Reads the definition `name` from an INI file; throws text::UserError when missing.
ConnectionParams readConnectionDefinition(const std::string& iniPath, const std::string& name = "Kalder");

class Transaction;

class Connection : public Executor {
public:
    // Attaches; throws text::UserError with the driver's text.
    explicit Connection(const ConnectionParams& params);
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    long long execute(const std::string& sql) override;
    long long executeWithBytes(const std::string& sql, std::string_view bytes) override;
    RecordSet query(const std::string& sql) override;
    std::string blobLookup(const std::string& sql) override;
    using Executor::execute;
    using Executor::query;

    // While `wait` is set, statements run under it and the run can be cancelled; setting
    // nullptr ends the run and forgets its cancel.
    void setStatementWait(StatementWait* wait);
    // The clerk cancels the run: the statement running now is stopped by the server and every
    // later one throws db::Cancelled. Called on the run's thread from within waitUntil.
    void cancelRun();
    bool runCancelled() const;

    // The server's id of this attachment (CURRENT_CONNECTION).
    long long connectionId();
    // The definition it was opened with: a press whose commit answer was lost connects again.
    const ConnectionParams& params() const;

    // Creates a new database file (embedded or on a server) and returns it attached; used by
    // the demo set-up and the tests. forcedWrites=false speeds up test databases.
    static std::unique_ptr<Connection> createDatabase(const ConnectionParams& params, bool forcedWrites = true);

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// How long a transaction waits for a row another attachment holds, and what the clerk is told
// when that wait ends without the row. Without a limit it waits until the other transaction
// ends, however long that takes.
struct TransactionOptions {
    int lockTimeoutSeconds = 0; // 0: no limit
    // With a limit: the text of the text::UserError that replaces the server's conflict
    // message (a lock wait that ran out, or a row another attachment changed meanwhile), so
    // the clerk learns which work is held up rather than the server's wording.
    std::string conflictMessage;
};

// Several statements that commit together: all of them or none. Rolls back when destroyed
// without commit().
class Transaction : public Executor {
public:
    explicit Transaction(Connection& connection, const TransactionOptions& options = {});
    ~Transaction() override;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    long long execute(const std::string& sql) override;
    long long executeWithBytes(const std::string& sql, std::string_view bytes) override;
    RecordSet query(const std::string& sql) override;
    std::string blobLookup(const std::string& sql) override;
    using Executor::execute;
    using Executor::query;

    void commit();
    void rollback();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace db
