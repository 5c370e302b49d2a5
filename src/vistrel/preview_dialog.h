#pragma once
#include "vistrel/report_document.h"

#include <QString>
#include <memory>

class QDate;
class QDialog;
class QWidget;

namespace vistrel {

// The preview window over a laid-out report: pages through, zooms, prints, exports a PDF or
// an Excel workbook.
// Its page view is the child named "PreviewPages", its page number box "PageNumber".
std::unique_ptr<QDialog> makePreview(const ReportDocument& document, QWidget* parent);

// The name an exported PDF is offered under: the report's title and the date, as
// "廠商批次匯款明細表_20261210.pdf".
QString suggestedPdfName(const QString& title, const QDate& date);

// Shows the preview modally and returns when it is closed.
void showPreview(const ReportDocument& document, QWidget* parent);

} // namespace vistrel
