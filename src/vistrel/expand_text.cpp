// The text an item prints: literals, data fields, sums and counts over the band's scope,
// amounts in words, page numbers.
#include "vistrel/prepared_report.h"

#include "text/big5.h"
#include "text/dates.h"
#include "text/numbers.h"

#include <cmath>

namespace vistrel {
namespace {

QString rocDate(const std::string& dateString, bool words)
{
    text::Date d;
    if (!text::parseDateString(dateString, d))
        return QString::fromStdString(dateString);
    const QString year = QString::number(text::rocYear(d.year));
    const QString month = QStringLiteral("%1").arg(d.month, 2, 10, QLatin1Char('0'));
    const QString day = QStringLiteral("%1").arg(d.day, 2, 10, QLatin1Char('0'));
    if (words)
        return year + QStringLiteral("年") + month + QStringLiteral("月") + day + QStringLiteral("日");
    return year + QLatin1Char('/') + month + QLatin1Char('/') + day;
}

} // namespace

bool RowCondition::holds(const db::RecordSet& data, long row) const
{
    if (!active)
        return true;
    if (column < 0 || row < 0)
        return false;
    std::string v = data.text(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
    const auto end = v.find_last_not_of(' ');
    v.erase(end == std::string::npos ? 0 : end + 1);
    const auto start = v.find_first_not_of(' ');
    return (start == std::string::npos ? std::string() : v.substr(start)) == value;
}

QString formatNumber(double value, const ValueFormat& format)
{
    if (format.blankZero && text::roundHalfAwayFromZero(value) == 0)
        return {};
    switch (format.number) {
    case NumberFormat::Grouped: return QString::fromStdString(text::formatGrouped(value));
    case NumberFormat::Whole: return QString::number(text::roundToInt64(value));
    case NumberFormat::None: break;
    }
    return QString::fromStdString(text::formatPlain(value));
}

QString formatText(const std::string& big5, const ValueFormat& format)
{
    if (format.date != DateFormat::None)
        return rocDate(big5, format.date == DateFormat::RocWords);
    QString s = QString::fromUtf8(text::big5ToUtf8(big5));
    if (format.trim)
        s = s.trimmed();
    if (format.blankZero && (s.trimmed().isEmpty() || s.trimmed() == QLatin1String("0")))
        return {};
    return s;
}

QString expand(const PreparedReport& r, const PreparedItem& item, const PlacedBand& placed, int page, int pages)
{
    QString out;
    for (const Segment& s : item.segments) {
        switch (s.kind) {
        case Segment::Literal: out += s.literal; break;
        case Segment::Page: out += QString::number(page); break;
        case Segment::Pages: out += QString::number(pages); break;
        case Segment::Row:
            if (placed.row >= 0)
                out += QString::number(placed.row + 1);
            break;
        case Segment::Count: {
            const RowCondition where{s.whereColumn != -1, s.whereColumn, s.whereValue};
            std::size_t count = 0;
            for (std::size_t row = placed.first; row < placed.last; ++row)
                count += where.active ? where.holds(r.data, static_cast<long>(row)) : 1;
            out += formatNumber(double(count), s.format);
            break;
        }
        case Segment::Sum: {
            // A total printed in whole amounts adds the amounts as they are printed, so that it
            // is the sum of the figures above it.
            const bool whole = s.format.number != NumberFormat::None;
            double sum = 0;
            bool anyField = false;
            for (const SumTerm& term : s.terms) {
                if (term.column < 0)
                    continue;
                anyField = true;
                const RowCondition where{term.whereColumn != -1, term.whereColumn, term.whereValue};
                for (std::size_t row = placed.first; row < placed.last; ++row)
                    if (where.holds(r.data, static_cast<long>(row))) {
                        const double value = r.data.number(row, static_cast<std::size_t>(term.column));
                        sum += whole ? text::roundHalfAwayFromZero(value) : value;
                    }
            }
            if (anyField)
                out += formatNumber(sum, s.format);
            break;
        }
        case Segment::Data:
        case Segment::Words: {
            if (s.column < 0 || placed.row < 0)
                break;
            const auto row = static_cast<std::size_t>(placed.row);
            const auto col = static_cast<std::size_t>(s.column);
            if (s.kind == Segment::Words)
                out += QString::fromUtf8(text::big5ToUtf8(amountInWords(r.data.number(row, col), r.numerals)));
            else if (s.format.number != NumberFormat::None)
                out += formatNumber(r.data.number(row, col), s.format);
            else
                out += formatText(r.data.text(row, col), s.format);
            break;
        }
        }
    }
    return out;
}

} // namespace vistrel
