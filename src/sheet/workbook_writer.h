#pragma once
// Writes tables as the worksheets of one .xlsx file (libxlsxwriter): title lines on top, the
// captions frozen under them, numbers as numbers with their display format, column widths
// fitted to the widest caption or cell. A table longer than a sheet can hold continues on
// further sheets "name (2)", "name (3)", ..., each saying which rows it holds.
#include "sheet/table.h"

#include <cstddef>
#include <string>
#include <vector>

namespace sheet {

struct SheetLimits {
    std::size_t rowsPerSheet = 1048576; // the format's own limit; smaller in tests
};

// The file appears complete or not at all; throws text::UserError "Unable to write to %s".
void writeWorkbook(const std::string& path, const std::vector<Table>& tables, SheetLimits limits = {});

// The path a clerk chose in a save dialog, with ".xlsx" added when the name has no such ending.
std::string xlsxPath(const std::string& chosen);

// How many sheets a table of `rowCount` rows takes under the limits (1 for an empty table);
// throws text::UserError when the limit leaves no room for a single row.
std::size_t sheetsNeeded(const Table& table, SheetLimits limits);

} // namespace sheet
