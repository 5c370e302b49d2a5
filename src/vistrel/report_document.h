#pragma once
// A report laid out into pages: a template filled from the data record set (rows) and the
// header record set (one row of texts). Laying out happens once; painting a page is cheap and
// can be done in any order, so the preview and the PDF share the same pages.
#include "db/record_set.h"
#include "vistrel/report_template.h"

#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QString>

#include <memory>

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;

namespace vistrel {

struct PreparedReport;
struct PageContent;
class ShapedTexts;

class ReportDocument {
public:
    ReportDocument(ReportTemplate tmpl, db::RecordSet data, db::RecordSet header);
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    int pageCount() const;
    // The report's name (the template's title), for a file it is saved to; may be empty.
    QString title() const;
    double pageWidthMm() const;
    double pageHeightMm() const;
    bool landscape() const;
    // Paints page `index` (from 0) with the page's top left corner at the painter's origin;
    // `dotsPerMm` is the device resolution. Returns how many texts overflowed their boxes and
    // were cut at them.
    int paintPage(QPainter& painter, int index, double dotsPerMm) const;
    // The same, with texts already shaped for the painter's device on earlier pages.
    int paintPage(QPainter& painter, int index, double dotsPerMm, ShapedTexts& texts) const;
    // The page for the screen at `pixelsPerMm`: laid out at the PDF's resolution and scaled
    // down, so that at any zoom the screen shows what the PDF shows (a font's size on a screen
    // in points is not the same number of millimetres as on paper). `textsCut` receives the
    // count paintPage returns.
    QImage pageImage(int index, double pixelsPerMm, qreal devicePixelRatio, int* textsCut = nullptr) const;
    // Texts shaped for `device`, to be shared by the pages painted on it.
    ShapedTexts shapedTextsFor(QPaintDevice* device) const;
    // The template made concrete for these record sets (the spreadsheet export reads it).
    const PreparedReport& prepared() const { return *report_; }

private:
    std::unique_ptr<PreparedReport> report_;
    std::vector<PageContent> pages_;
};

// The resolution of the PDF export, at which the screen lays its pages out too.
inline constexpr int kPdfDotsPerInch = 600;

// All pages onto a paged device (printer, PDF writer), one device page per report page;
// throws text::UserError(failure) when the device cannot be painted on.
void paintAllPages(const ReportDocument& document, QPagedPaintDevice& device, double dotsPerMm,
                   const std::string& failure);
// The paper of the report, without margins (the template places everything itself).
QPageLayout pageLayoutOf(const ReportDocument& document);
// Writes the whole report as a PDF file; throws text::UserError when it cannot be written.
void exportPdf(const ReportDocument& document, const QString& path);

} // namespace vistrel
