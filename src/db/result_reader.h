#pragma once
// The shape of a query's rows as the fetch loop receives them: the output message, with
// column types the record set cannot hold (dates, times, booleans, ...) asked of the server
// as text, and the decoding of one fetched message into a record-set row.
#include "db/firebird_client.h"
#include "db/record_set.h"

#include <vector>

namespace db::fb {

class ResultReader {
public:
    // Reads and, where needed, rewrites the statement's output metadata.
    explicit ResultReader(Firebird::IStatement* statement);

    // The message the cursor is opened with; owned by the reader.
    Firebird::IMessageMetadata* metadata() const { return metadata_.get(); }
    unsigned messageLength() const { return messageLength_; }
    // The record set's columns: alias, type and byte size of each.
    std::vector<Column> columns() const;
    // Decodes one fetched message into a freshly appended row (all NULL).
    void decode(const unsigned char* message, RecordSet::RowWriter& row) const;

private:
    enum class Kind : unsigned char { Varying, Text, Double, Float, Short, Long, Int64 };
    struct Field {
        std::string name;
        Kind kind;
        unsigned offset;
        unsigned nullOffset;
        unsigned length; // bytes of a text value
        double divisor;  // 10^-scale of a scaled integer, 1 otherwise
        FieldType type;
    };

    Ref<Firebird::IMessageMetadata> metadata_;
    unsigned messageLength_ = 0;
    std::vector<Field> fields_;
};

} // namespace db::fb
