#include "db/statement_runner.h"

#include "db/result_reader.h"
#include "text/error.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

namespace db::fb {

namespace {

Ref<Firebird::IStatement> prepare(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                                  std::string_view sql, unsigned dialect, Status& status) {
    if (sql.size() > std::numeric_limits<unsigned>::max()) throw text::UserError("The statement is too long");
    return Ref<Firebird::IStatement>(attachment->prepare(&status, transaction, static_cast<unsigned>(sql.size()),
                                                         sql.data(), dialect,
                                                         Firebird::IStatement::PREPARE_PREFETCH_METADATA));
}

// Statement, cursor and transaction calls that succeed release their interface themselves.
void freeStatement(Ref<Firebird::IStatement>& statement, Status& status) {
    statement->free(&status);
    statement.forget();
}

bool isQuery(unsigned type) {
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

// Runs a prepared statement that is not read row by row; returns the rows it changed.
long long run(Firebird::IStatement* statement, Firebird::ITransaction* transaction, Status& status) {
    const unsigned type = statement->getType(&status);
    if (isQuery(type)) {
        // A query run as a statement: opened and closed, its rows unread.
        Ref<Firebird::IResultSet> cursor(statement->openCursor(&status, transaction, nullptr, nullptr, nullptr, 0));
        cursor->close(&status);
        cursor.forget();
        return 0;
    }
    // EXECUTE PROCEDURE and RETURNING hand back one row; it is received and dropped.
    Ref<Firebird::IMessageMetadata> output(statement->getOutputMetadata(&status));
    std::vector<unsigned char> row(output->getMessageLength(&status));
    statement->execute(&status, transaction, nullptr, nullptr, output.get(), row.empty() ? nullptr : row.data());
    if (type == isc_info_sql_stmt_ddl) return 0;
    return static_cast<long long>(statement->getAffectedRecords(&status));
}

} // namespace

long long executeStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                           std::string_view sql, unsigned dialect) {
    Status status;
    return guarded([&]() -> long long {
        Ref<Firebird::IStatement> statement = prepare(attachment, transaction, sql, dialect, status);
        long long affected = run(statement.get(), transaction, status);
        freeStatement(statement, status);
        return affected;
    });
}

RecordSet queryStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                         std::string_view sql, unsigned dialect) {
    Status status;
    return guarded([&]() -> RecordSet {
        Ref<Firebird::IStatement> statement = prepare(attachment, transaction, sql, dialect, status);
        if (!isQuery(statement->getType(&status))) {
            // Not a query: it runs, and its record set has no columns.
            run(statement.get(), transaction, status);
            freeStatement(statement, status);
            return RecordSet();
        }
        ResultReader reader(statement.get());
        RecordSet records(reader.columns());
        // Aligned for every type a message holds.
        std::vector<std::uint64_t> message((reader.messageLength() + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t) + 1);
        auto* buffer = reinterpret_cast<unsigned char*>(message.data());

        Ref<Firebird::IResultSet> cursor(
            statement->openCursor(&status, transaction, nullptr, nullptr, reader.metadata(), 0));
        while (cursor->fetchNext(&status, buffer) == Firebird::IStatus::RESULT_OK) {
            RecordSet::RowWriter row = records.appendRowWriter();
            reader.decode(buffer, row);
        }
        cursor->close(&status);
        cursor.forget();
        freeStatement(statement, status);
        return records;
    });
}

long long executeWithBytes(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                           std::string_view sql, unsigned dialect, std::string_view bytes) {
    Status status;
    return guarded([&]() -> long long {
        Ref<Firebird::IStatement> statement = prepare(attachment, transaction, sql, dialect, status);
        Ref<Firebird::IMessageMetadata> input(statement->getInputMetadata(&status));
        if (input->getCount(&status) != 1 || (input->getType(&status, 0) & ~1u) != SQL_BLOB)
            throw std::logic_error("executeWithBytes: the statement must take exactly one BLOB parameter");
        std::vector<std::uint64_t> message(input->getMessageLength(&status) / sizeof(std::uint64_t) + 2);
        auto* buffer = reinterpret_cast<unsigned char*>(message.data());

        // The bytes go to the server as they are, in segments, and the statement takes the blob.
        ISC_QUAD blobId{};
        Ref<Firebird::IBlob> blob(attachment->createBlob(&status, transaction, &blobId, 0, nullptr));
        constexpr std::size_t kSegment = 32768;
        for (std::size_t at = 0; at < bytes.size(); at += kSegment)
            blob->putSegment(&status, static_cast<unsigned>(std::min(kSegment, bytes.size() - at)), bytes.data() + at);
        blob->close(&status);
        blob.forget();
        std::memcpy(buffer + input->getOffset(&status, 0), &blobId, sizeof blobId);
        const ISC_SHORT notNull = 0;
        std::memcpy(buffer + input->getNullOffset(&status, 0), &notNull, sizeof notNull);

        statement->execute(&status, transaction, input.get(), buffer, nullptr, nullptr);
        const long long affected = static_cast<long long>(statement->getAffectedRecords(&status));
        freeStatement(statement, status);
        return affected;
    });
}

} // namespace db::fb
