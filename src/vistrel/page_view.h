#pragma once
// The pages of a laid-out report one under the other in a scrolling view. Only the pages that
// are on screen are drawn, each when it first comes into view at the current zoom, and a few
// drawn pages are kept so that scrolling back and forth does not draw them again. A report of
// a thousand pages therefore opens as fast as one of a single page.
#include "vistrel/rendered_pages.h"
#include "vistrel/report_document.h"

#include <QAbstractScrollArea>

namespace vistrel {

class PageView : public QAbstractScrollArea {
    Q_OBJECT
    // Pages drawn since the view was made (cache hits not counted): lets a caller see that
    // opening a long report draws only what is shown.
    Q_PROPERTY(int pagesPainted READ pagesPainted)
    // Texts cut at their boxes on the pages drawn (the PDF of a sound template has none).
    Q_PROPERTY(int textsCut READ textsCut)
    Q_PROPERTY(int currentPage READ currentPage WRITE setCurrentPage NOTIFY currentPageChanged)
    Q_PROPERTY(double zoom READ zoom)

public:
    explicit PageView(const ReportDocument& document, QWidget* parent = nullptr);

    int pageCount() const { return document_.pageCount(); }
    // From 1: the page navigated to, or after scrolling the page that shows most.
    int currentPage() const { return currentPage_; }
    void setCurrentPage(int page);

    // Screen pixels per millimetre of paper.
    double zoom() const { return zoom_; }
    void zoomIn();
    void zoomOut();
    void fitToWidth();
    void fitInView();

    int pagesPainted() const { return pagesPainted_; }
    int textsCut() const { return textsCut_; }

signals:
    void currentPageChanged(int page);
    // A page (from 0) was drawn anew.
    void pagePainted(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Fit { None, Width, Page };

    QSize pageSize() const; // of one page on screen, in pixels
    int pageTop(int index) const;
    int pageLeft() const;
    void setZoom(double zoom, Fit fit);
    void applyFit();
    void updateScrollBars();
    void followScrolling();
    const QImage& rendered(int index);

    const ReportDocument& document_;
    RenderedPages cache_;
    double zoom_ = 3;
    Fit fit_ = Fit::Width;
    int currentPage_ = 1;
    int pagesPainted_ = 0;
    int textsCut_ = 0;
    bool navigating_ = false;
};

} // namespace vistrel
