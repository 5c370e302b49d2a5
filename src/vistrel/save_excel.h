#pragma once
class QWidget;

namespace vistrel {

class ReportDocument;

// The preview's 匯出 Excel: asks where to save the report as a workbook and writes it there;
// nothing happens when the clerk cancels. Throws text::UserError when it cannot be written.
void saveExcelAs(const ReportDocument& document, QWidget* parent);

} // namespace vistrel
