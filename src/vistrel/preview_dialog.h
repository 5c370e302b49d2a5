#pragma once
#include "vistrel/report_document.h"

class QWidget;

namespace vistrel {

// The modal print preview: page through, zoom, print, export a PDF; returns when closed.
void showPreview(const ReportDocument& document, QWidget* parent);

} // namespace vistrel
