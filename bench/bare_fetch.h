#pragma once
// The floor of every "open a query" figure: the client library's own fetch loop over a query,
// touching every fetched message and copying nothing out of it.
#include "db/connection.h"
#include "db/connection_impl.h"
#include "db/firebird_client.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The number of rows the query gave.
inline long bareFetch(db::Connection& connection, const std::string& query)
{
    using namespace db::fb;
    Firebird::IAttachment* attachment = connection.impl().attachment.get();
    Ref<Firebird::ITransaction> transaction(startTransaction(attachment));
    Status status;
    long rows = 0;
    unsigned checksum = 0;
    guarded([&] {
        Ref<Firebird::IStatement> statement(attachment->prepare(&status, transaction.get(), 0, query.c_str(), 3,
                                                                Firebird::IStatement::PREPARE_PREFETCH_METADATA));
        Ref<Firebird::IMessageMetadata> metadata(statement->getOutputMetadata(&status));
        std::vector<std::uint64_t> message(metadata->getMessageLength(&status) / 8 + 1);
        auto* buffer = reinterpret_cast<unsigned char*>(message.data());
        const unsigned length = metadata->getMessageLength(&status);
        Ref<Firebird::IResultSet> cursor(
            statement->openCursor(&status, transaction.get(), nullptr, nullptr, metadata.get(), 0));
        while (cursor->fetchNext(&status, buffer) == Firebird::IStatus::RESULT_OK) {
            ++rows;
            checksum += buffer[0] + buffer[length - 1];
        }
        cursor->close(&status);
        cursor.forget();
        statement->free(&status);
        statement.forget();
        transaction->commit(&status);
        transaction.forget();
    });
    static volatile unsigned sink;
    sink = sink + checksum;
    return rows;
}

} // namespace bench
