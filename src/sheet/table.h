#pragma once
// What one worksheet holds, as the report and the grids describe it: title lines, column
// captions and the rows, cell by cell. Texts are UTF-8 here: whoever fills a table has already
// turned the Big5 bytes of the record sets into Unicode.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace sheet {

enum class NumberFormat { Grouped, Whole }; // "#,##0" (amounts), "0" (counts)

struct Cell {
    enum Kind { Empty, Text, Number } kind = Empty;
    std::string text; // UTF-8
    double number = 0;
    NumberFormat format = NumberFormat::Grouped;

    static Cell ofText(std::string utf8) { return {Text, std::move(utf8), 0, NumberFormat::Grouped}; }
    static Cell ofNumber(double value, NumberFormat format) { return {Number, {}, value, format}; }
};

struct Table {
    std::string name;                    // the sheet's tab, shortened to what a tab can hold
    std::vector<std::string> titleLines; // one row each above the captions (title, header fields)
    std::vector<std::string> captions;   // the column captions, in column order
    std::size_t rowCount = 0;
    // Fills `cells` (already sized to the captions, all empty) with row `row`.
    std::function<void(std::size_t row, std::vector<Cell>& cells)> row;
    // Not empty: a last row with this label in the first column and the sum of every column
    // that holds numbers.
    std::string totalsLabel;
};

} // namespace sheet
