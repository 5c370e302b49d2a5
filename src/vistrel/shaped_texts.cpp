#include "vistrel/shaped_texts.h"

#include <QTextLayout>
#include <QTextOption>

namespace vistrel {
namespace {

// Amounts of a long list are mostly distinct: past this many texts the oldest shapes are
// dropped rather than letting the memory grow with the report.
constexpr qsizetype kMaxKept = 50000;

} // namespace

ShapedTexts::ShapedTexts(const std::vector<QFont>& fonts, QPaintDevice* device)
    : fonts_(fonts), device_(device), byFont_(fonts.size())
{
}

const ShapedTexts::Shaped& ShapedTexts::shaped(int font, const QString& text)
{
    QHash<QString, Shaped>& texts = byFont_[static_cast<std::size_t>(font)];
    if (const auto found = texts.constFind(text); found != texts.constEnd())
        return *found;
    if (kept_ >= kMaxKept) {
        for (auto& t : byFont_)
            t.clear();
        kept_ = 0;
    }
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QTextLayout layout(line, fonts_[static_cast<std::size_t>(font)], device_);
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine l = layout.createLine();
    l.setLineWidth(1e9);
    l.setPosition(QPointF(0, 0));
    layout.endLayout();
    ++kept_;
    return *texts.insert(text, Shaped{layout.glyphRuns(), QSizeF(l.naturalTextWidth(), l.height())});
}

} // namespace vistrel
