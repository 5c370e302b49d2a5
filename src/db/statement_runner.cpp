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
                                  std::string_view sql, unsigned dialect, Status& status)
{
    if (sql.size() > std::numeric_limits<unsigned>::max())
        throw text::UserError("The statement is too long");
    return Ref<Firebird::IStatement>(attachment->prepare(&status, transaction, static_cast<unsigned>(sql.size()),
                                                         sql.data(), dialect,
                                                         Firebird::IStatement::PREPARE_PREFETCH_METADATA));
}

// Statement, cursor and transaction calls that succeed release their interface themselves.
void freeStatement(Ref<Firebird::IStatement>& statement, Status& status)
{
    statement->free(&status);
    statement.forget();
}

bool isQuery(unsigned type)
{
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

// Runs a prepared statement that is not read row by row; returns the rows it changed.
long long run(Firebird::IStatement* statement, Firebird::ITransaction* transaction, Status& status)
{
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
    if (type == isc_info_sql_stmt_ddl)
        return 0;
    return static_cast<long long>(statement->getAffectedRecords(&status));
}

// The largest piece a blob segment takes.
constexpr std::size_t kSegmentBytes = 32768;

// A message buffer aligned for every type a message holds.
class MessageBuffer {
public:
    explicit MessageBuffer(unsigned length) : words_(length / sizeof(std::uint64_t) + 1) {}
    unsigned char* data() { return reinterpret_cast<unsigned char*>(words_.data()); }

private:
    std::vector<std::uint64_t> words_;
};

ISC_QUAD createBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view bytes,
                    Status& status)
{
    ISC_QUAD id{};
    Ref<Firebird::IBlob> blob(attachment->createBlob(&status, transaction, &id, 0, nullptr));
    for (std::size_t at = 0; at < bytes.size(); at += kSegmentBytes) {
        const std::string_view piece = bytes.substr(at, kSegmentBytes);
        blob->putSegment(&status, static_cast<unsigned>(piece.size()), piece.data());
    }
    blob->close(&status);
    blob.forget();
    return id;
}

std::string readBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, ISC_QUAD id,
                     Status& status)
{
    std::string bytes;
    Ref<Firebird::IBlob> blob(attachment->openBlob(&status, transaction, &id, 0, nullptr));
    std::vector<char> segment(kSegmentBytes);
    for (;;) {
        unsigned length = 0;
        const int result = blob->getSegment(&status, static_cast<unsigned>(segment.size()), segment.data(), &length);
        if (result != Firebird::IStatus::RESULT_OK && result != Firebird::IStatus::RESULT_SEGMENT)
            break;
        bytes.append(segment.data(), length);
    }
    blob->close(&status);
    blob.forget();
    return bytes;
}

} // namespace

long long executeStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                           unsigned dialect)
{
    Status status;
    return guarded([&]() -> long long {
        Ref<Firebird::IStatement> statement = prepare(attachment, transaction, sql, dialect, status);
        long long affected = run(statement.get(), transaction, status);
        freeStatement(statement, status);
        return affected;
    });
}

RecordSet queryStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                         unsigned dialect)
{
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
        std::vector<std::uint64_t> message(
            (reader.messageLength() + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t) + 1);
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

long long executeWithBytes(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                           unsigned dialect, std::string_view bytes)
{
    Status status;
    return guarded([&]() -> long long {
        Ref<Firebird::IStatement> statement = prepare(attachment, transaction, sql, dialect, status);
        Ref<Firebird::IMessageMetadata> input(statement->getInputMetadata(&status));
        if (input->getCount(&status) != 1 || (input->getType(&status, 0) & ~1u) != SQL_BLOB)
            throw text::UserError("The statement does not take exactly one BLOB parameter");
        MessageBuffer message(input->getMessageLength(&status));
        const ISC_QUAD id = createBlob(attachment, transaction, bytes, status);
        std::memcpy(message.data() + input->getOffset(&status, 0), &id, sizeof id);
        const short notNull = 0;
        std::memcpy(message.data() + input->getNullOffset(&status, 0), &notNull, sizeof notNull);

        Ref<Firebird::IMessageMetadata> output(statement->getOutputMetadata(&status));
        MessageBuffer row(output->getMessageLength(&status));
        statement->execute(&status, transaction, input.get(), message.data(), output.get(), row.data());
        const long long affected = static_cast<long long>(statement->getAffectedRecords(&status));
        freeStatement(statement, status);
        return affected;
    });
}

std::string queryBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                      unsigned dialect)
{
    Status status;
    return guarded([&]() -> std::string {
        Ref<Firebird::IStatement> statement = prepare(attachment, transaction, sql, dialect, status);
        Ref<Firebird::IMessageMetadata> output(statement->getOutputMetadata(&status));
        if (output->getCount(&status) < 1 || (output->getType(&status, 0) & ~1u) != SQL_BLOB)
            throw text::UserError("The query does not give a BLOB in its first column");
        MessageBuffer row(output->getMessageLength(&status));
        Ref<Firebird::IResultSet> cursor(
            statement->openCursor(&status, transaction, nullptr, nullptr, output.get(), 0));
        std::string bytes;
        if (cursor->fetchNext(&status, row.data()) == Firebird::IStatus::RESULT_OK) {
            short isNull = 0;
            std::memcpy(&isNull, row.data() + output->getNullOffset(&status, 0), sizeof isNull);
            if (!isNull) {
                ISC_QUAD id{};
                std::memcpy(&id, row.data() + output->getOffset(&status, 0), sizeof id);
                bytes = readBlob(attachment, transaction, id, status);
            }
        }
        cursor->close(&status);
        cursor.forget();
        freeStatement(statement, status);
        return bytes;
    });
}

} // namespace db::fb
