#include "vistrel/report_workbook.h"

#include "vistrel/prepared_report.h"
#include "vistrel/report_document.h"

#include "text/numbers.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace vistrel {
namespace {

// A column of the worksheet: the detail items printed in one place. Several items share a
// place when each prints under its own condition (the amount of a row's own payment kind).
struct SheetColumn {
    std::vector<PreparedItem> alternatives; // copies: a label that became the caption is cut off
    const PreparedItem& first() const { return alternatives.front(); }
};

bool readsRow(const PreparedItem& item)
{
    return item.kind == ItemKind::Text && std::any_of(item.segments.begin(), item.segments.end(), [](const Segment& s) {
               return s.kind == Segment::Data || s.kind == Segment::Words || s.kind == Segment::Row;
           });
}

// Two items print the same fields in the same way (labels aside): a cheque's number on the
// form and on its stub is one column.
bool sameFields(const PreparedItem& a, const PreparedItem& b)
{
    if (a.condition.active != b.condition.active || a.condition.column != b.condition.column ||
        a.condition.value != b.condition.value)
        return false;
    std::vector<const Segment*> x, y;
    for (const Segment& s : a.segments)
        if (s.kind != Segment::Literal)
            x.push_back(&s);
    for (const Segment& s : b.segments)
        if (s.kind != Segment::Literal)
            y.push_back(&s);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i]->kind != y[i]->kind || x[i]->column != y[i]->column || x[i]->format.number != y[i]->format.number ||
            x[i]->format.date != y[i]->format.date)
            return false;
    return true;
}

bool samePlace(const PreparedItem& a, const PreparedItem& b)
{
    auto near = [](double x, double y) { return std::abs(x - y) < 0.01; };
    return a.group == b.group && near(a.rect.x(), b.rect.x()) && near(a.rect.y(), b.rect.y()) &&
           near(a.rect.width(), b.rect.width());
}

bool overlaps(const QRectF& header, const QRectF& detail)
{
    const double shared = std::min(header.right(), detail.right()) - std::max(header.left(), detail.left());
    return shared > 0.5 * std::min(header.width(), detail.width());
}

QString expandAt(const PreparedReport& r, const PreparedItem& item, long row, std::size_t first, std::size_t last)
{
    const PlacedBand placed{nullptr, 0, row, first, last, true};
    return expand(r, item, placed, 1, 1);
}

// Columns in reading order: fields left of the store groups, the groups one after another
// (also when they wrap onto a second line in print), then the fields right of them.
std::vector<SheetColumn> columnsOf(const PreparedReport& r)
{
    std::vector<SheetColumn> columns;
    if (!r.detail)
        return columns;
    for (const PreparedItem& item : r.detail->items) {
        if (!readsRow(item))
            continue;
        bool placed = false;
        for (SheetColumn& column : columns) {
            for (const PreparedItem& other : column.alternatives)
                placed = placed || sameFields(other, item); // printed twice (a cheque and its stub)
            if (!placed && samePlace(column.first(), item)) {
                column.alternatives.push_back(item);
                placed = true;
            }
            if (placed)
                break;
        }
        if (!placed)
            columns.push_back({{item}});
    }
    const double groupsAt = r.tmpl.hasGroups ? r.tmpl.groups.x : 1e9;
    auto key = [groupsAt](const SheetColumn& c) {
        const PreparedItem& i = c.first();
        const int part = i.group > 0 ? 1 : i.rect.x() < groupsAt ? 0 : 2;
        return std::make_tuple(part, i.group, i.rect.y(), i.rect.x());
    };
    std::stable_sort(columns.begin(), columns.end(),
                     [&key](const SheetColumn& a, const SheetColumn& b) { return key(a) < key(b); });
    return columns;
}

QString fieldCaption(const PreparedReport& r, const PreparedItem& item)
{
    QString literal;
    for (const Segment& s : item.segments)
        if (s.kind == Segment::Literal)
            literal += s.literal;
    literal = literal.trimmed();
    while (literal.endsWith(QLatin1Char(':')) || literal.endsWith(QChar(0xFF1A)))
        literal = literal.chopped(1).trimmed();
    if (!literal.isEmpty())
        return literal;
    for (const Segment& s : item.segments)
        if (s.column >= 0)
            return QString::fromStdString(r.data.column(static_cast<std::size_t>(s.column)).name);
    return {};
}

// The caption of a column: the template's own, else the page header texts above it (a store's
// name over its amount and count), else the label printed with the field, which the column's
// cells then leave out ("支票號碼: AB123" under 支票號碼 reads "AB123").
QString captionOf(const PreparedReport& r, SheetColumn& column)
{
    for (const PreparedItem& item : column.alternatives)
        if (!item.caption.isEmpty())
            return item.caption;
    if (r.pageHeader) {
        std::vector<const PreparedItem*> above;
        for (const PreparedItem& h : r.pageHeader->items)
            if (h.kind == ItemKind::Text && h.group == column.first().group && overlaps(h.rect, column.first().rect))
                above.push_back(&h);
        std::stable_sort(above.begin(), above.end(), [](const PreparedItem* a, const PreparedItem* b) {
            return std::make_pair(a->rect.y(), a->rect.x()) < std::make_pair(b->rect.y(), b->rect.x());
        });
        QStringList words;
        const long firstRow = r.data.rowCount() ? 0 : -1;
        for (const PreparedItem* h : above) {
            const QString text = expandAt(r, *h, firstRow, 0, 0).trimmed();
            if (!text.isEmpty())
                words << text;
        }
        if (!words.isEmpty())
            return words.join(QLatin1Char(' '));
    }
    const QString label = fieldCaption(r, column.first());
    for (PreparedItem& item : column.alternatives)
        if (item.segments.size() > 1 && item.segments.front().kind == Segment::Literal)
            item.segments.erase(item.segments.begin());
    return label;
}

sheet::NumberFormat sheetFormat(NumberFormat format)
{
    return format == NumberFormat::Whole ? sheet::NumberFormat::Whole : sheet::NumberFormat::Grouped;
}

// A detail item that prints one number field, alone or with a label ("NT$ 1,000"), goes out
// as that number.
const Segment* numberField(const PreparedItem& item)
{
    const Segment* field = nullptr;
    for (const Segment& s : item.segments) {
        if (s.kind == Segment::Literal)
            continue;
        if (field || s.kind != Segment::Data || s.column < 0 || s.format.number == NumberFormat::None)
            return nullptr;
        field = &s;
    }
    return field;
}

sheet::Cell cellOf(const PreparedReport& r, const PreparedItem& item, std::size_t row)
{
    if (const Segment* field = numberField(item)) {
        const double value = r.data.number(row, static_cast<std::size_t>(field->column));
        if (field->format.blankZero && text::roundHalfAwayFromZero(value) == 0)
            return {};
        return sheet::Cell::ofNumber(value, sheetFormat(field->format.number));
    }
    const QString shown = expandAt(r, item, static_cast<long>(row), row, row + 1);
    return shown.isEmpty() ? sheet::Cell{} : sheet::Cell::ofText(shown.toStdString());
}

// The title band's texts, one line each, top to bottom: the company, the report's name, the
// conditions and dates of its header fields.
std::vector<std::string> titleLines(const PreparedReport& r)
{
    std::vector<std::string> lines;
    if (!r.title)
        return lines;
    std::vector<const PreparedItem*> items;
    for (const PreparedItem& item : r.title->items)
        if (item.kind == ItemKind::Text)
            items.push_back(&item);
    std::stable_sort(items.begin(), items.end(), [](const PreparedItem* a, const PreparedItem* b) {
        return std::make_pair(a->rect.y(), a->rect.x()) < std::make_pair(b->rect.y(), b->rect.x());
    });
    const std::size_t rows = r.data.rowCount();
    for (const PreparedItem* item : items) {
        const QString text = expandAt(r, *item, rows ? 0 : -1, 0, rows).trimmed();
        if (!text.isEmpty())
            lines.push_back(text.toStdString());
    }
    return lines;
}

QString textOf(const PreparedReport& r, const std::vector<Segment>& segments)
{
    PreparedItem item;
    item.segments = segments;
    const std::size_t rows = r.data.rowCount();
    return expandAt(r, item, rows ? 0 : -1, 0, rows).trimmed();
}

sheet::Cell extraCell(const PreparedReport& r, const PreparedCell& cell)
{
    const QString shown = textOf(r, cell.segments);
    if (shown.isEmpty())
        return {};
    if (cell.number != NumberFormat::None) {
        // Header fields hold their numbers already formatted ("45,750").
        std::string digits = shown.toStdString();
        digits.erase(std::remove_if(digits.begin(), digits.end(), [](char c) { return c == ',' || c == ' '; }),
                     digits.end());
        char* end = nullptr;
        const double value = std::strtod(digits.c_str(), &end);
        if (!digits.empty() && end == digits.c_str() + digits.size())
            return sheet::Cell::ofNumber(value, sheetFormat(cell.number));
    }
    return sheet::Cell::ofText(shown.toStdString());
}

} // namespace

std::vector<sheet::Table> reportTables(const ReportDocument& document)
{
    const PreparedReport& r = document.prepared();
    std::vector<sheet::Table> tables;
    const std::vector<std::string> titles = titleLines(r);

    sheet::Table rows;
    const QString name = textOf(r, r.sheetName);
    rows.name = !name.isEmpty() ? name.toStdString() : titles.empty() ? std::string("報表") : titles.front();
    rows.titleLines = titles;
    std::vector<SheetColumn> found = columnsOf(r);
    for (SheetColumn& column : found)
        rows.captions.push_back(captionOf(r, column).toStdString());
    auto columns = std::make_shared<const std::vector<SheetColumn>>(std::move(found));
    rows.rowCount = r.data.rowCount();
    rows.row = [&r, columns](std::size_t row, std::vector<sheet::Cell>& cells) {
        for (std::size_t c = 0; c < columns->size(); ++c)
            for (const PreparedItem& item : (*columns)[c].alternatives)
                if (item.condition.holds(r.data, static_cast<long>(row))) {
                    cells[c] = cellOf(r, item, row);
                    break;
                }
    };
    rows.totalsLabel = "合計";
    tables.push_back(std::move(rows));

    for (const PreparedSheet& extra : r.sheets) {
        sheet::Table table;
        table.name = extra.name.toStdString();
        table.titleLines = titles;
        if (!extra.rows.empty())
            for (const PreparedCell& cell : extra.rows.front())
                table.captions.push_back(textOf(r, cell.segments).toStdString());
        table.rowCount = extra.rows.empty() ? 0 : extra.rows.size() - 1;
        table.row = [&r, &extra](std::size_t row, std::vector<sheet::Cell>& cells) {
            const std::vector<PreparedCell>& line = extra.rows[row + 1];
            for (std::size_t c = 0; c < line.size() && c < cells.size(); ++c)
                cells[c] = extraCell(r, line[c]);
        };
        tables.push_back(std::move(table));
    }
    return tables;
}

void exportExcel(const ReportDocument& document, const QString& path, sheet::SheetLimits limits)
{
    sheet::writeWorkbook(path.toStdString(), reportTables(document), limits);
}

} // namespace vistrel
