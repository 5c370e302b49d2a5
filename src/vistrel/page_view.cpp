#include "vistrel/page_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vistrel {
namespace {

constexpr int kMargin = 12; // pixels around the column of pages
constexpr int kGap = 12;    // pixels between two pages
constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.5; // pixels per millimetre
constexpr double kMaxZoom = 24;
constexpr std::size_t kKeptPages = 8;

} // namespace

PageView::PageView(const ReportDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document), cache_(kKeptPages)
{
    // Always shown, so that fitting the width does not make the bar appear and take it back.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    updateScrollBars();
}

QSize PageView::pageSize() const
{
    return QSize(std::max(1, int(std::lround(document_.pageWidthMm() * zoom_))),
                 std::max(1, int(std::lround(document_.pageHeightMm() * zoom_))));
}

int PageView::pageTop(int index) const
{
    return kMargin + index * (pageSize().height() + kGap);
}

int PageView::pageLeft() const
{
    const int room = viewport()->width() - pageSize().width();
    return room > 2 * kMargin ? room / 2 : kMargin - horizontalScrollBar()->value();
}

void PageView::updateScrollBars()
{
    const QSize page = pageSize();
    const int pages = std::max(1, pageCount());
    const int height = 2 * kMargin + pages * page.height() + (pages - 1) * kGap;
    const int width = 2 * kMargin + page.width();
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, height - viewport()->height()));
    v->setPageStep(viewport()->height());
    v->setSingleStep(std::max(1, page.height() / 20));
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, width - viewport()->width()));
    h->setPageStep(viewport()->width());
    h->setSingleStep(std::max(1, page.width() / 20));
}

void PageView::setCurrentPage(int page)
{
    page = std::clamp(page, 1, std::max(1, pageCount()));
    navigating_ = true;
    verticalScrollBar()->setValue(pageTop(page - 1) - kMargin);
    navigating_ = false;
    viewport()->update();
    if (page != currentPage_) {
        currentPage_ = page;
        emit currentPageChanged(page);
    }
}

void PageView::followScrolling()
{
    if (navigating_ || pageCount() == 0)
        return;
    // The page that takes the most of the viewport; the earlier one on a tie.
    const int top = verticalScrollBar()->value(), bottom = top + viewport()->height();
    const int step = pageSize().height() + kGap;
    int best = currentPage_, bestArea = -1;
    for (int i = std::max(0, (top - kMargin) / step); i < pageCount() && pageTop(i) < bottom; ++i) {
        const int seen = std::min(bottom, pageTop(i) + pageSize().height()) - std::max(top, pageTop(i));
        if (seen > bestArea) {
            bestArea = seen;
            best = i + 1;
        }
    }
    if (best != currentPage_) {
        currentPage_ = best;
        emit currentPageChanged(best);
    }
}

void PageView::scrollContentsBy(int, int)
{
    followScrolling();
    viewport()->update();
}

void PageView::setZoom(double zoom, Fit fit)
{
    fit_ = fit;
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (std::abs(zoom - zoom_) < 1e-9)
        return;
    // Keep the same spot of the current page at the top of the view.
    const int page = currentPage_;
    const double within = double(verticalScrollBar()->value() - (pageTop(page - 1) - kMargin)) / zoom_;
    zoom_ = zoom;
    cache_.clear();
    navigating_ = true;
    updateScrollBars();
    verticalScrollBar()->setValue(pageTop(page - 1) - kMargin + int(std::lround(within * zoom_)));
    navigating_ = false;
    viewport()->update();
}

void PageView::zoomIn()
{
    setZoom(zoom_ * kZoomStep, Fit::None);
}
void PageView::zoomOut()
{
    setZoom(zoom_ / kZoomStep, Fit::None);
}

void PageView::fitToWidth()
{
    fit_ = Fit::Width;
    applyFit();
}

void PageView::fitInView()
{
    fit_ = Fit::Page;
    applyFit();
}

void PageView::applyFit()
{
    const double width = double(viewport()->width() - 2 * kMargin) / document_.pageWidthMm();
    const double height = double(viewport()->height() - 2 * kMargin) / document_.pageHeightMm();
    if (fit_ == Fit::Width)
        setZoom(width, Fit::Width);
    else if (fit_ == Fit::Page)
        setZoom(std::min(width, height), Fit::Page);
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    applyFit();
}

const QImage& PageView::rendered(int index)
{
    if (const QImage* kept = cache_.find(index))
        return *kept;
    int cut = 0;
    QImage image = document_.pageImage(index, zoom_, devicePixelRatioF(), &cut);
    textsCut_ += cut;
    ++pagesPainted_;
    emit pagePainted(index);
    return cache_.keep(index, std::move(image));
}

void PageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const QSize size = pageSize();
    const int offset = verticalScrollBar()->value();
    const int left = pageLeft();
    const int step = size.height() + kGap;
    const int first = std::max(0, (dirty.top() + offset - kMargin) / step);
    for (int i = first; i < pageCount(); ++i) {
        const QRect page(QPoint(left, pageTop(i) - offset), size);
        if (page.top() > dirty.bottom())
            break;
        if (!page.intersects(dirty))
            continue;
        painter.fillRect(page.translated(3, 3), QColor(0, 0, 0, 80));
        painter.drawImage(page.topLeft(), rendered(i));
        painter.setPen(Qt::darkGray);
        painter.drawRect(page.adjusted(0, 0, -1, -1));
    }
}

} // namespace vistrel
