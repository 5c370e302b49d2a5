#pragma once
// An in-memory copy of a query result: named, typed columns and all rows. Edits stay in
// memory; a record set never writes back to the database. Texts are Big5 bytes.
//
// Storage: one 16-byte slot per cell (row-major) and one byte pool for all string values,
// so that opening a hundred thousand rows costs two growing buffers instead of millions of
// small allocations. A changed string is appended to the pool; the old bytes stay unused
// until the record set is cleared.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {

enum class FieldType : std::uint8_t { String = 1, Float = 2, Integer = 3 };

struct Column {
    std::string name;      // upper case as the server reports it (or as declared)
    FieldType type = FieldType::String;
    std::uint32_t size = 0; // bytes for strings (VARCHAR(n)/CHAR(n) -> n), 8 for numbers
};

// A field the grid shows: declared by the page that opens the record set.
struct FieldDecl {
    std::string name;          // column name in the result
    std::string label;         // display label, UTF-8 (grid title)
    int displayWidth = 10;     // in characters
    bool visible = true;
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

    // ---- declared fields (only record sets bound to grids have them)
    // Checks that every declared field is a column; throws "Field '%s' not found" otherwise.
    void declareFields(std::vector<FieldDecl> fields);
    const std::vector<FieldDecl>& declaredFields() const { return declared_; }

    // ---- rows
    std::size_t rowCount() const { return rowCount_; }
    bool isEmpty() const { return rowCount_ == 0; }
    void appendRow();          // all NULL
    void clear();              // closed: no columns, no rows, no declared fields
    bool isOpen() const { return !columns_.empty(); }

    bool isNull(std::size_t row, std::size_t col) const { return slot(row, col).null != 0; }
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
    void setText(std::size_t row, std::string_view name, std::string_view value) { setText(row, fieldIndex(name), value); }
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

    // Capacity hints for code that fills many rows (the fetch loop, the file loader).
    void reserveRows(std::size_t n) { slots_.reserve(n * columns_.size()); }
    void reserveBytes(std::size_t n) { pool_.reserve(n); }

private:
    struct Slot {
        std::uint64_t payload = 0; // string: offset into pool_; number: the double's bits
        std::uint32_t length = 0;  // string: byte count
        std::uint32_t null = 1;
    };
    const Slot& slot(std::size_t row, std::size_t col) const { return slots_[row * columns_.size() + col]; }
    Slot& slot(std::size_t row, std::size_t col) { return slots_[row * columns_.size() + col]; }
    void storeBytes(Slot& s, std::string_view value);
    static void storeNumber(Slot& s, double value);
    static double slotNumber(const Slot& s);

    std::vector<Column> columns_;
    std::vector<FieldDecl> declared_;
    std::vector<Slot> slots_;   // row-major
    std::string pool_;          // bytes of all string cells
    std::size_t rowCount_ = 0;
};

} // namespace db
