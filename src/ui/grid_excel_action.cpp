#include "ui/grid_excel_action.h"

#include "sheet/workbook_writer.h"
#include "ui/grid_workbook.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTableView>

namespace ui {
namespace {

void exportGrid(QTableView& grid)
{
    const QString title = gridTitle(grid);
    const QString chosen = QFileDialog::getSaveFileName(
        &grid, QStringLiteral("匯出 Excel"), title + QStringLiteral(".xlsx"), QStringLiteral("Excel 活頁簿 (*.xlsx)"));
    if (chosen.isEmpty())
        return;
    try {
        sheet::writeWorkbook(sheet::xlsxPath(chosen.toStdString()), {gridTable(grid, title)});
    } catch (const std::exception& e) {
        // The grid's own entry has no page handler around it: this is where its failure is told.
        QMessageBox::critical(grid.window(), QApplication::applicationDisplayName(), QString::fromUtf8(e.what()));
    }
}

} // namespace

void addExcelExport(QTableView& grid)
{
    auto* action = new QAction(QStringLiteral("匯出 Excel"), &grid);
    action->setObjectName(QStringLiteral("ExportExcel"));
    QObject::connect(action, &QAction::triggered, &grid, [&grid] { exportGrid(grid); });
    grid.addAction(action);
    grid.setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace ui
