#pragma once
// The cheque work tables (the listed cheques and the cheques issued in a run share one
// layout), the grid's fields over them, and the statement pieces that depend on the tab's
// choices.
#include "cheque/cheque_options.h"
#include "db/record_set.h"
#include "db/sql.h"
#include "work/grid_columns.h"

#include <string>
#include <vector>

namespace cheque {

// "CREATE TABLE" of the listed cheques (WorkTableA) and of the issued ones (WorkTableC); the
// two differ only in the blanks of their last line.
db::SqlLines createListedTable(const std::string& name);
db::SqlLines createIssuedTable(const std::string& name);

// The copy of cheques from the cheque book CHKPAY into a listed table, up to its FROM: the
// caller adds the WHERE lines.
db::SqlLines copyFromChequeBook(const std::string& listedTable);

// The cheque columns copied between the tables, as the copy statements write them.
db::SqlLines copyIssuedCheques(const std::string& issuedTable, const std::string& listedTable);

std::string dateColumnName(DateColumn column); // EXPDATE, RCVDATE, ADVDATE
std::string orderByLine(SortOrder order);      // "ORDER BY ACNT_NO,ID", ...
std::string templateFile(ChequeForm form);     // under the templates folder

// How the grid shows its record set: the shown columns with their titles and widths, then
// the hidden ones the print needs.
work::GridColumns gridFields();

} // namespace cheque
