#pragma once
// Texts shaped once for one paint device and drawn wherever they recur. A long report repeats
// the same column titles, store names, provider names and amounts page after page; shaping
// each again (font look-up, HarfBuzz, line layout) took a third of the time of a PDF export.
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>

#include <vector>

class QPaintDevice;

namespace vistrel {

class ShapedTexts {
public:
    struct Shaped {
        QList<QGlyphRun> runs; // positions from the top left corner of the text's line
        QSizeF size;           // natural width, line height (ascent + descent)
    };

    // `fonts` and `device` must outlive this; the texts are shaped at the device's resolution.
    ShapedTexts(const std::vector<QFont>& fonts, QPaintDevice* device);

    // The text on one line, in fonts[font], line breaks read as blanks as a single-line
    // text draws them.
    const Shaped& shaped(int font, const QString& text);

private:
    const std::vector<QFont>& fonts_;
    QPaintDevice* device_;
    std::vector<QHash<QString, Shaped>> byFont_;
    qsizetype kept_ = 0;
};

} // namespace vistrel
