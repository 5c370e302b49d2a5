#pragma once
// An in-memory copy of a query result: named, typed columns and all rows. Edits stay in
// memory; a record set never writes back to the database. Texts are Big5 bytes.
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

    bool isNull(std::size_t row, std::size_t col) const;
    // Strings as stored; numbers formatted plainly (text::formatPlain); NULL as "".
    std::string text(std::size_t row, std::size_t col) const;
    std::string text(std::size_t row, std::string_view name) const { return text(row, fieldIndex(name)); }
    // Numbers as stored; strings parsed (empty/NULL/not numeric -> 0).
    double number(std::size_t row, std::size_t col) const;
    double number(std::size_t row, std::string_view name) const { return number(row, fieldIndex(name)); }

    void setNull(std::size_t row, std::size_t col);
    void setText(std::size_t row, std::size_t col, std::string value);
    void setText(std::size_t row, std::string_view name, std::string value) { setText(row, fieldIndex(name), std::move(value)); }
    void setNumber(std::size_t row, std::size_t col, double value);
    void setNumber(std::size_t row, std::string_view name, double value) { setNumber(row, fieldIndex(name), value); }

    // ---- files (format documented in record_set_file.h); throw text::UserError on failure
    void save(const std::string& path) const;
    static RecordSet load(const std::string& path);

    // Raw access for the database layer's fetch loop: sets cells of the last appended row.
    struct Cell {
        bool null = true;
        double number = 0;
        std::string bytes;
    };
    Cell& cell(std::size_t row, std::size_t col) { return cells_[row * columns_.size() + col]; }
    const Cell& cell(std::size_t row, std::size_t col) const { return cells_[row * columns_.size() + col]; }
    void reserveRows(std::size_t n) { cells_.reserve(n * columns_.size()); }

private:
    std::vector<Column> columns_;
    std::vector<FieldDecl> declared_;
    std::vector<Cell> cells_;   // row-major
    std::size_t rowCount_ = 0;
};

} // namespace db
