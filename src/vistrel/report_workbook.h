#pragma once
// A report as a spreadsheet: its rows on a worksheet under the report's title and header
// fields, one column per field of the detail band (captions from the page header above it),
// numbers as numbers in their report format, texts as the report shows them, and a totals
// row; further worksheets the template declares (the remittance list's statistics).
#include "sheet/table.h"
#include "sheet/workbook_writer.h"

#include <QString>

#include <vector>

namespace vistrel {

class ReportDocument;

// The worksheets of the report; they read the document, which must outlive them.
std::vector<sheet::Table> reportTables(const ReportDocument& document);

// Writes the report as an .xlsx file; throws text::UserError when it cannot be written.
void exportExcel(const ReportDocument& document, const QString& path, sheet::SheetLimits limits = {});

} // namespace vistrel
