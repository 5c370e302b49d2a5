#include "vistrel/save_excel.h"

#include "vistrel/report_workbook.h"

#include <QFileDialog>

namespace vistrel {

void saveExcelAs(const ReportDocument& document, QWidget* parent)
{
    const QString chosen = QFileDialog::getSaveFileName(parent, QStringLiteral("匯出 Excel"), QString(),
                                                        QStringLiteral("Excel 活頁簿 (*.xlsx)"));
    if (!chosen.isEmpty())
        exportExcel(document, QString::fromStdString(sheet::xlsxPath(chosen.toStdString())));
}

} // namespace vistrel
