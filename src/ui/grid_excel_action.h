#pragma once
// The grid's context-menu entry 匯出 Excel (object name "ExportExcel"): asks where to save
// and writes what the grid shows as a workbook (ui/grid_workbook.h). A failure is shown to the
// clerk in an error box over the grid's window.
class QTableView;

namespace ui {

void addExcelExport(QTableView& grid);

} // namespace ui
