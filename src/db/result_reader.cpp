#include "db/result_reader.h"

#include <cmath>
#include <cstring>

namespace db::fb {

namespace {

// Wide enough for the text of any date, time, timestamp or boolean; a text blob may fill
// the longest VARCHAR.
constexpr unsigned kConvertedTextLength = 32;
constexpr unsigned kBlobTextLength = 32765;

template <typename T> T read(const unsigned char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

} // namespace

ResultReader::ResultReader(Firebird::IStatement* statement)
{
    Status status;
    guarded([&] {
        Ref<Firebird::IMessageMetadata> original(statement->getOutputMetadata(&status));
        const unsigned count = original->getCount(&status);
        Ref<Firebird::IMetadataBuilder> builder(original->getBuilder(&status));
        for (unsigned i = 0; i < count; ++i) {
            unsigned type = original->getType(&status, i) & ~1u;
            switch (type) {
            case SQL_VARYING:
            case SQL_TEXT:
            case SQL_DOUBLE:
            case SQL_FLOAT:
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64: break;
            case SQL_D_FLOAT:
                builder->setType(&status, i, SQL_DOUBLE);
                builder->setLength(&status, i, sizeof(double));
                builder->setScale(&status, i, 0);
                break;
            default: // dates, times, timestamps, booleans, NULL literals, blobs: as text
                builder->setType(&status, i, SQL_VARYING);
                builder->setLength(&status, i, type == SQL_BLOB ? kBlobTextLength : kConvertedTextLength);
                builder->setSubType(&status, i, 0);
                builder->setCharSet(&status, i, 0);
                builder->setScale(&status, i, 0);
                break;
            }
        }
        metadata_.reset(builder->getMetadata(&status));
        messageLength_ = metadata_->getMessageLength(&status);

        fields_.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            Field f;
            f.name = metadata_->getAlias(&status, i);
            f.offset = metadata_->getOffset(&status, i);
            f.nullOffset = metadata_->getNullOffset(&status, i);
            f.length = metadata_->getLength(&status, i);
            int scale = metadata_->getScale(&status, i);
            f.divisor = 1;
            f.type = FieldType::Float;
            switch (metadata_->getType(&status, i) & ~1u) {
            case SQL_VARYING:
                f.kind = Kind::Varying;
                f.type = FieldType::String;
                break;
            case SQL_TEXT:
                f.kind = Kind::Text;
                f.type = FieldType::String;
                break;
            case SQL_DOUBLE: f.kind = Kind::Double; break;
            case SQL_FLOAT: f.kind = Kind::Float; break;
            case SQL_SHORT: f.kind = Kind::Short; break;
            case SQL_LONG: f.kind = Kind::Long; break;
            default: f.kind = Kind::Int64; break;
            }
            if (f.kind == Kind::Short || f.kind == Kind::Long || f.kind == Kind::Int64) {
                // NUMERIC and DECIMAL arrive as scaled integers; dividing by an exact power
                // of ten gives the nearest double to the decimal value.
                if (scale < 0)
                    f.divisor = std::pow(10.0, -scale);
                else
                    f.type = FieldType::Integer;
            }
            fields_.push_back(std::move(f));
        }
    });
}

std::vector<Column> ResultReader::columns() const
{
    std::vector<Column> columns;
    columns.reserve(fields_.size());
    for (const Field& f : fields_)
        columns.push_back(Column{f.name, f.type, f.type == FieldType::String ? f.length : 8u});
    return columns;
}

void ResultReader::decode(const unsigned char* message, RecordSet::RowWriter& row) const
{
    for (std::size_t c = 0; c < fields_.size(); ++c) {
        const Field& f = fields_[c];
        if (read<short>(message + f.nullOffset))
            continue;
        const unsigned char* p = message + f.offset;
        switch (f.kind) {
        case Kind::Varying:
            row.setBytes(c, std::string_view(reinterpret_cast<const char*>(p) + 2, read<unsigned short>(p)));
            break;
        case Kind::Text: row.setBytes(c, std::string_view(reinterpret_cast<const char*>(p), f.length)); break;
        case Kind::Double: row.setNumber(c, read<double>(p)); break;
        case Kind::Float: row.setNumber(c, read<float>(p)); break;
        case Kind::Short: row.setNumber(c, read<std::int16_t>(p) / f.divisor); break;
        case Kind::Long: row.setNumber(c, read<std::int32_t>(p) / f.divisor); break;
        case Kind::Int64: row.setNumber(c, static_cast<double>(read<std::int64_t>(p)) / f.divisor); break;
        }
    }
}

} // namespace db::fb
