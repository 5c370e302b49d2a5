#pragma once
// A grid as a worksheet: what the grid shows, in the order and with the captions of its
// columns as the clerk sees them (moved or hidden columns included), ticks as ✓, number fields
// as numbers in "#,##0", texts turned from Big5 into Unicode.
#include "sheet/table.h"

#include <QString>

class QTableView;

namespace ui {

// The worksheet of `grid` titled `title`; it reads the grid's model, which must stay as it is
// until the table has been written.
sheet::Table gridTable(const QTableView& grid, const QString& title);

// What the grid is called for the clerk: the text of the tab page it lies on, else the
// title of its window.
QString gridTitle(const QTableView& grid);

} // namespace ui
