#pragma once
// The last few pages drawn for the screen, so that paging back and forth or a repaint does
// not draw a page again. All images are at one zoom; a new zoom clears them.
#include <QImage>

#include <cstddef>
#include <list>
#include <utility>

namespace vistrel {

class RenderedPages {
public:
    explicit RenderedPages(std::size_t capacity) : capacity_(capacity) {}

    // The image of page `index`, or nullptr when it is not kept; a hit becomes the newest.
    const QImage* find(int index)
    {
        for (auto it = pages_.begin(); it != pages_.end(); ++it)
            if (it->first == index) {
                pages_.splice(pages_.begin(), pages_, it);
                return &pages_.front().second;
            }
        return nullptr;
    }
    const QImage& keep(int index, QImage image)
    {
        pages_.emplace_front(index, std::move(image));
        if (pages_.size() > capacity_)
            pages_.pop_back();
        return pages_.front().second;
    }
    void clear() { pages_.clear(); }

private:
    std::size_t capacity_;
    std::list<std::pair<int, QImage>> pages_; // newest first
};

} // namespace vistrel
