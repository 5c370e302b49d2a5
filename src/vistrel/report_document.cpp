#include "vistrel/report_document.h"

#include "text/error.h"
#include "vistrel/prepared_report.h"
#include "vistrel/shaped_texts.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace vistrel {
namespace {

// Places a single line of text in its box as QPainter::drawText(rect, flags, text) does,
// vertically centred, from the text already shaped. Only a text that overflows its box goes
// through drawText itself, which then clips it to the box; returns false for such a text.
bool drawTextIn(QPainter& painter, const QRectF& box, Align align, const QString& text,
                const ShapedTexts::Shaped& shaped)
{
    const QSizeF size = shaped.size;
    if (size.width() > box.width() || size.height() > box.height()) {
        const int flags = align == Align::Left    ? Qt::AlignLeft
                          : align == Align::Right ? Qt::AlignRight
                                                  : Qt::AlignHCenter;
        painter.drawText(box, flags | Qt::AlignVCenter | Qt::TextSingleLine, text);
        return false;
    }
    const double room = box.width() - size.width();
    const QPointF at(box.left() + (align == Align::Right    ? room
                                   : align == Align::Center ? room / 2
                                                            : 0),
                     box.top() + (box.height() - size.height()) / 2);
    for (const QGlyphRun& run : shaped.runs)
        painter.drawGlyphRun(at, run);
    return true;
}

} // namespace

ReportDocument::ReportDocument(ReportTemplate tmpl, db::RecordSet data, db::RecordSet header)
    : report_(std::make_unique<PreparedReport>(prepareReport(std::move(tmpl), std::move(data), std::move(header))))
{
    pages_ = layOut(*report_);
}

ReportDocument::~ReportDocument() = default;

int ReportDocument::pageCount() const
{
    return static_cast<int>(pages_.size());
}
QString ReportDocument::title() const
{
    return report_->name;
}
double ReportDocument::pageWidthMm() const
{
    return report_->tmpl.pageWidth;
}
double ReportDocument::pageHeightMm() const
{
    return report_->tmpl.pageHeight;
}
bool ReportDocument::landscape() const
{
    return report_->tmpl.landscape;
}

ShapedTexts ReportDocument::shapedTextsFor(QPaintDevice* device) const
{
    return ShapedTexts(report_->fonts, device);
}

int ReportDocument::paintPage(QPainter& painter, int index, double dotsPerMm) const
{
    ShapedTexts texts = shapedTextsFor(painter.device());
    return paintPage(painter, index, dotsPerMm, texts);
}

QImage ReportDocument::pageImage(int index, double pixelsPerMm, qreal devicePixelRatio, int* textsCut) const
{
    const QSize size(std::max(1, int(std::lround(pageWidthMm() * pixelsPerMm))),
                     std::max(1, int(std::lround(pageHeightMm() * pixelsPerMm))));
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    // Fonts take their size from the device's resolution: the PDF's, as the PDF lays them out.
    const int dotsPerMeter = int(std::lround(kPdfDotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const double pdfDotsPerMm = kPdfDotsPerInch / 25.4;
    painter.scale(pixelsPerMm / pdfDotsPerMm, pixelsPerMm / pdfDotsPerMm);
    const int cut = paintPage(painter, index, pdfDotsPerMm);
    if (textsCut)
        *textsCut = cut;
    return image;
}

int ReportDocument::paintPage(QPainter& painter, int index, double dotsPerMm, ShapedTexts& texts) const
{
    int cut = 0;
    if (index < 0 || index >= pageCount())
        return cut;
    const PreparedReport& r = *report_;
    const double left = r.tmpl.marginLeft;
    auto at = [dotsPerMm](double mm) { return mm * dotsPerMm; };
    int currentFont = -1;
    painter.setBrush(Qt::NoBrush);
    for (const PlacedBand& placed : pages_[static_cast<std::size_t>(index)].bands) {
        for (const PreparedItem& item : placed.band->items) {
            if ((item.firstOnly && !placed.leading) || !item.condition.holds(r.data, placed.row))
                continue;
            const QRectF rect(at(left + item.rect.x()), at(placed.y + item.rect.y()), at(item.rect.width()),
                              at(item.rect.height()));
            if (item.kind != ItemKind::Text || item.frame)
                painter.setPen(QPen(Qt::black, at(item.penWidth)));
            switch (item.kind) {
            case ItemKind::Line:
                painter.drawLine(QPointF(at(left + item.rect.left()), at(placed.y + item.rect.top())),
                                 QPointF(at(left + item.rect.right()), at(placed.y + item.rect.bottom())));
                break;
            case ItemKind::Box: painter.drawRect(rect); break;
            case ItemKind::Text: {
                if (item.frame)
                    painter.drawRect(rect);
                const QString s = expand(r, item, placed, index + 1, pageCount());
                if (s.isEmpty())
                    break;
                if (item.font != currentFont) {
                    painter.setFont(r.fonts[static_cast<std::size_t>(item.font)]);
                    currentFont = item.font;
                }
                painter.setPen(Qt::black);
                // A framed text keeps a small inner margin so it does not touch its box.
                const double pad = item.frame || item.align != Align::Center ? at(0.8) : 0;
                if (!drawTextIn(painter, rect.adjusted(pad, 0, -pad, 0), item.align, s, texts.shaped(item.font, s)))
                    ++cut;
                break;
            }
            }
        }
    }
    return cut;
}

void paintAllPages(const ReportDocument& document, QPagedPaintDevice& device, double dotsPerMm,
                   const std::string& failure)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw text::UserError(failure);
    ShapedTexts texts = document.shapedTextsFor(&device);
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            device.newPage();
        document.paintPage(painter, i, dotsPerMm, texts);
    }
    painter.end();
}

QPageLayout pageLayoutOf(const ReportDocument& document)
{
    const double w = document.landscape() ? document.pageHeightMm() : document.pageWidthMm();
    const double h = document.landscape() ? document.pageWidthMm() : document.pageHeightMm();
    return QPageLayout(QPageSize(QSizeF(w, h), QPageSize::Millimeter),
                       document.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

void exportPdf(const ReportDocument& document, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(kPdfDotsPerInch);
    writer.setPageLayout(pageLayoutOf(document));
    writer.setCreator(QStringLiteral("Vistrel"));
    paintAllPages(document, writer, writer.resolution() / 25.4, "Unable to write to " + path.toStdString());
}

} // namespace vistrel
