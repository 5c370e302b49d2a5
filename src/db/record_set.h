#pragma once
// An in-memory copy of a query result: named, typed columns and all rows. Edits stay in
// memory; a record set never writes back to the database. Texts are Big5 bytes.
//
// Storage: each row is one 8-byte word per cell (a number's double, or where a string's bytes
// lie) followed by its null bits, rows packed in chunks of up to 2 MB; string values are
// stored, each after its u32 length, in byte chunks of up to 2 MB (see bulk_allocator.h).
// Opening a hundred thousand rows therefore costs a few dozen allocations that never move
// once filled, not millions of small strings and repeated copies of one growing buffer.
// A changed string is stored anew; its old bytes stay unused until the record set is cleared.
#include "db/bulk_allocator.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {

enum class FieldType : std::uint8_t { String = 1, Float = 2, Integer = 3 };

struct Column {
    std::string name; // upper case as the server reports it (or as declared)
    FieldType type = FieldType::String;
    std::uint32_t size = 0; // bytes for strings (VARCHAR(n)/CHAR(n) -> n), 8 for numbers
};

class RecordSet {
public:
    RecordSet() = default;
    explicit RecordSet(std::vector<Column> columns);

    // ---- shape
    std::size_t columnCount() const { return columns_.size(); }
    const Column& column(std::size_t c) const { return columns_[c]; }
    const std::vector<Column>& columns() const { return columns_; }
    // -1 when absent (case-insensitive).
    int columnIndex(std::string_view name) const;
    // Throws text::UserError "Field '%s' not found".
    std::size_t fieldIndex(std::string_view name) const;

    // ---- rows
    std::size_t rowCount() const { return rowCount_; }
    bool isEmpty() const { return rowCount_ == 0; }
    void appendRow(); // all NULL
    void clear();     // closed: no columns, no rows
    bool isOpen() const { return !columns_.empty(); }

    bool isNull(std::size_t row, std::size_t col) const { return isNullIn(rowWords(row), col); }
    // Strings as stored; numbers formatted plainly (text::formatPlain); NULL as "".
    std::string text(std::size_t row, std::size_t col) const;
    std::string text(std::size_t row, std::string_view name) const { return text(row, fieldIndex(name)); }
    // The stored bytes of a string cell without a copy (valid until the record set changes);
    // empty for NULL and for number columns.
    std::string_view stringView(std::size_t row, std::size_t col) const;
    // Numbers as stored; strings parsed (empty/NULL/not numeric -> 0).
    double number(std::size_t row, std::size_t col) const;
    double number(std::size_t row, std::string_view name) const { return number(row, fieldIndex(name)); }

    // Values follow the column's type: text given to a number column is parsed (not numeric
    // -> 0), a number given to a string column is stored formatted plainly.
    void setNull(std::size_t row, std::size_t col);
    void setText(std::size_t row, std::size_t col, std::string_view value);
    void setText(std::size_t row, std::string_view name, std::string_view value)
    {
        setText(row, fieldIndex(name), value);
    }
    void setNumber(std::size_t row, std::size_t col, double value);
    void setNumber(std::size_t row, std::string_view name, double value) { setNumber(row, fieldIndex(name), value); }

    // ---- files (format documented in record_set_file.h); throw text::UserError on failure
    void save(const std::string& path) const;
    static RecordSet load(const std::string& path);

    // A copy of one cell's value, for code that wants all of it at once.
    struct Cell {
        bool null = true;
        double number = 0;
        std::string bytes;
    };
    Cell cell(std::size_t row, std::size_t col) const;

    // Capacity hint for code that fills many rows (the fetch loop, the file loader).
    void reserveRows(std::size_t n);

    // Bulk filling (the fetch loop, the file loader): appends a row of NULLs and sets its cells
    // without a look-up per cell. setBytes is for string columns, setNumber for number
    // columns. Valid until the next row is appended.
    class RowWriter {
    public:
        void setBytes(std::size_t col, std::string_view value)
        {
            row_[col] = records_.storeBytes(value); // byte chunks grow apart from the rows
            markPresent(col);
        }
        void setNumber(std::size_t col, double value)
        {
            std::memcpy(&row_[col], &value, sizeof value);
            markPresent(col);
        }

    private:
        friend class RecordSet;
        RowWriter(RecordSet& records, std::uint64_t* row) : records_(records), row_(row) {}
        void markPresent(std::size_t col)
        {
            row_[records_.columns_.size() + col / 64] &= ~(std::uint64_t(1) << (col % 64));
        }
        RecordSet& records_;
        std::uint64_t* row_;
    };
    RowWriter appendRowWriter();

private:
    using WordChunk = std::vector<std::uint64_t, BulkAllocator<std::uint64_t>>;
    using ByteChunk = std::basic_string<char, std::char_traits<char>, BulkAllocator<char>>;
    static constexpr std::size_t kWordsPerChunk = kHugePageBytes / sizeof(std::uint64_t);
    static constexpr std::size_t kBytesPerChunk = kHugePageBytes;

    void setColumns(std::vector<Column> columns);
    std::uint64_t* appendRowWords();
    const std::uint64_t* rowWords(std::size_t row) const
    {
        return slots_[row / rowsPerChunk_].data() + (row % rowsPerChunk_) * rowStride_;
    }
    std::uint64_t* rowWords(std::size_t row)
    {
        return slots_[row / rowsPerChunk_].data() + (row % rowsPerChunk_) * rowStride_;
    }
    bool isNullIn(const std::uint64_t* row, std::size_t col) const
    {
        return (row[columns_.size() + col / 64] >> (col % 64)) & 1;
    }
    void setNullIn(std::uint64_t* row, std::size_t col, bool null)
    {
        std::uint64_t& bits = row[columns_.size() + col / 64];
        const std::uint64_t bit = std::uint64_t(1) << (col % 64);
        bits = null ? (bits | bit) : (bits & ~bit);
    }
    // Stores a string's bytes and returns the word that finds them again.
    std::uint64_t storeBytes(std::string_view value);
    std::string_view bytesAt(std::uint64_t word) const
    {
        const char* p = bytes_[word >> 32].data() + (word & 0xFFFFFFFFu);
        std::uint32_t length;
        std::memcpy(&length, p, sizeof length);
        return std::string_view(p + sizeof length, length);
    }

    std::vector<Column> columns_;
    std::vector<WordChunk> slots_; // rowsPerChunk_ rows of rowStride_ words each
    std::size_t rowStride_ = 0;    // a word per column, then a word of null bits per 64 columns
    std::size_t rowsPerChunk_ = 1;
    std::vector<ByteChunk> bytes_; // string values, each after its length; a value lies in one chunk
    std::size_t rowCount_ = 0;
};

} // namespace db
