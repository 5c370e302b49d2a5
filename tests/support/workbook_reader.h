#pragma once
// A workbook as Python's openpyxl reads it (tests/support/read_workbook.py): the writer's
// output checked by a reader that shares nothing with it.
#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct ReadCell {
    char type = 0;      // openpyxl's data type: 'n' number, 's' string, 0 empty
    std::string format; // number format, e.g. "#,##0", "0", "General"
    std::string text;   // the value as text (numbers as Python writes them)
    double number = 0;  // numbers only
};

struct ReadSheet {
    std::string name;
    std::string freezePanes;                      // e.g. "A5"; "-" for none
    std::map<int, double> widths;                 // column (from 1) -> width
    std::map<int, std::map<int, ReadCell>> cells; // row (from 1) -> column (from 1) -> cell

    const ReadCell& at(int row, int column) const; // an empty cell when there is none
    int lastRow() const { return cells.empty() ? 0 : cells.rbegin()->first; }
    // The texts of a row from column 1 up to its last filled cell ("" for empty cells).
    std::vector<std::string> rowTexts(int row) const;
    // The first row whose first cell reads `text`; 0 when none does.
    int rowStartingWith(const std::string& text) const;
};

// Reads the workbook; a reader failure is reported as a test failure and gives no sheets.
std::vector<ReadSheet> readWorkbook(const std::string& path);

} // namespace testing_support
