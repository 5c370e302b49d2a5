// Pagination: bands placed down the page in print order, a new page whenever the next band
// would run into the page footer.
#include "vistrel/prepared_report.h"

namespace vistrel {
namespace {

class Layout {
public:
    explicit Layout(const PreparedReport& r)
        : r_(r), rows_(r.data.rowCount()),
          bottom_(r.tmpl.pageHeight - r.tmpl.marginBottom - (r.pageFooter ? r.pageFooter->height : 0))
    {
        for (std::size_t k = 0; k < r.groupHeaders.size(); ++k) {
            const PreparedBand* b = r.groupHeaders[k] ? r.groupHeaders[k] : r.groupFooters[k];
            keys_.push_back(b ? b->keyColumn : -1);
        }
    }

    std::vector<PageContent> run()
    {
        const std::size_t levels = keys_.size();
        std::vector<std::size_t> groupStart(levels, 0);
        // The title opens the first page, above its page header.
        pages_.emplace_back();
        y_ = r_.tmpl.marginTop;
        if (r_.title)
            append(r_.title, rows_ ? 0 : -1, 0, rows_, true);
        startPageBody(0);
        for (std::size_t row = 0; row < rows_; ++row) {
            const std::size_t changed = row == 0 ? 0 : firstChangedLevel(row);
            if (row > 0)
                for (std::size_t k = levels; k-- > changed;)
                    put(r_.groupFooters[k], static_cast<long>(row - 1), groupStart[k], row);
            for (std::size_t k = changed; k < levels; ++k) {
                groupStart[k] = row;
                put(r_.groupHeaders[k], static_cast<long>(row), row, groupEnd(row, k));
            }
            if (r_.detail) {
                makeRoom(r_.detail->height, row);
                const bool leading = changed < levels || row == 0 || !pageHasRows_;
                append(r_.detail, static_cast<long>(row), row, row + 1, leading);
                if (!pageHasRows_)
                    pageFirstRow_ = row;
                pageHasRows_ = true;
                pageEndRow_ = row + 1;
            }
        }
        if (rows_ > 0)
            for (std::size_t k = levels; k-- > 0;)
                put(r_.groupFooters[k], static_cast<long>(rows_ - 1), groupStart[k], rows_);
        put(r_.summary, rows_ ? static_cast<long>(rows_ - 1) : -1, 0, rows_);
        finishPage();
        return std::move(pages_);
    }

private:
    std::size_t firstChangedLevel(std::size_t row) const
    {
        for (std::size_t k = 0; k < keys_.size(); ++k)
            if (keys_[k] >= 0 && r_.data.text(row, keys_[k]) != r_.data.text(row - 1, keys_[k]))
                return k;
        return keys_.size();
    }
    // The end of the group of level k that starts at `row`.
    std::size_t groupEnd(std::size_t row, std::size_t k) const
    {
        std::size_t end = row + 1;
        while (end < rows_) {
            bool same = true;
            for (std::size_t level = 0; level <= k && same; ++level)
                same = keys_[level] < 0 || r_.data.text(end, keys_[level]) == r_.data.text(row, keys_[level]);
            if (!same)
                break;
            ++end;
        }
        return end;
    }

    void startPage(std::size_t nextRow)
    {
        pages_.emplace_back();
        y_ = r_.tmpl.marginTop;
        startPageBody(nextRow);
    }
    void startPageBody(std::size_t nextRow)
    {
        pageHasRows_ = false;
        pageFirstRow_ = pageEndRow_ = nextRow;
        if (r_.pageHeader)
            append(r_.pageHeader, nextRow < rows_ ? static_cast<long>(nextRow) : -1, nextRow, nextRow, true);
        bandsAfterHeader_ = 0;
    }
    void finishPage()
    {
        if (!r_.pageFooter)
            return;
        PlacedBand footer{r_.pageFooter,
                          r_.tmpl.pageHeight - r_.tmpl.marginBottom - r_.pageFooter->height,
                          pageHasRows_ ? static_cast<long>(pageEndRow_ - 1) : -1,
                          pageFirstRow_,
                          pageEndRow_,
                          true};
        pages_.back().bands.push_back(footer);
    }
    void makeRoom(double height, std::size_t nextRow)
    {
        if (y_ + height > bottom_ + 1e-6 && bandsAfterHeader_ > 0) {
            finishPage();
            startPage(nextRow);
        }
    }
    void append(const PreparedBand* band, long row, std::size_t first, std::size_t last, bool leading)
    {
        pages_.back().bands.push_back(PlacedBand{band, y_, row, first, last, leading});
        y_ += band->height;
        if (band->kind != BandKind::PageHeader)
            ++bandsAfterHeader_;
    }
    void put(const PreparedBand* band, long row, std::size_t first, std::size_t last)
    {
        if (!band)
            return;
        makeRoom(band->height, row >= 0 ? static_cast<std::size_t>(row) : rows_);
        append(band, row, first, last, true);
    }

    const PreparedReport& r_;
    const std::size_t rows_;
    const double bottom_;
    std::vector<int> keys_;
    std::vector<PageContent> pages_;
    double y_ = 0;
    int bandsAfterHeader_ = 0;
    bool pageHasRows_ = false;
    std::size_t pageFirstRow_ = 0, pageEndRow_ = 0;
};

} // namespace

std::vector<PageContent> layOut(const PreparedReport& report)
{
    return Layout(report).run();
}

} // namespace vistrel
