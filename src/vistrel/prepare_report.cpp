// Turning a template into the concrete bands of one report.
#include "vistrel/prepared_report.h"

#include "text/big5.h"
#include "text/error.h"

#include <QDateTime>
#include <QFontDatabase>

#include <cmath>
#include <map>

namespace vistrel {
namespace {

struct GroupGeometry {
    int count = 0;
    int perLine = 1;
    int lines = 1;
    QPointF origin(int g, const ColumnGroups& groups, double wrap) const // g from 0
    {
        return {groups.x + (g % perLine) * groups.step, (g / perLine) * wrap};
    }
};

// The data or header field a reference names: "H.NAME" or "D.NAME".
struct FieldRef {
    bool header = false;
    std::string name;
};

FieldRef fieldRef(const std::string& ref, int line)
{
    if (ref.size() < 3 || ref[1] != '.' || (ref[0] != 'H' && ref[0] != 'D'))
        throw text::UserError("template line " + std::to_string(line) + ": '" + ref +
                              "' is not a field (H.NAME or D.NAME)");
    return {ref[0] == 'H', ref.substr(2)};
}

bool fieldExists(const db::RecordSet& data, const db::RecordSet& header, const FieldRef& f)
{
    return (f.header ? header : data).columnIndex(f.name) >= 0;
}

GroupGeometry groupGeometry(const ReportTemplate& t, const db::RecordSet& data, const db::RecordSet& header)
{
    GroupGeometry g;
    if (!t.hasGroups)
        return g;
    const FieldRef probe = fieldRef(t.groups.probe, 0);
    while (g.count < 999 && fieldExists(data, header, {probe.header, withGroupNumber(probe.name, g.count + 1)}))
        ++g.count;
    g.perLine = std::max(1, static_cast<int>(std::floor((t.groups.until - t.groups.x) / t.groups.step + 1e-6)));
    g.lines = std::max(1, (g.count + g.perLine - 1) / g.perLine);
    return g;
}

ValueFormat valueFormat(const std::vector<std::string>& modifiers, int line)
{
    ValueFormat f;
    for (const std::string& m : modifiers) {
        if (m == "#,##0")
            f.number = NumberFormat::Grouped;
        else if (m == "0")
            f.number = NumberFormat::Whole;
        else if (m == "blankzero")
            f.blankZero = true;
        else if (m == "roc")
            f.date = DateFormat::Roc;
        else if (m == "rocwords")
            f.date = DateFormat::RocWords;
        else if (m == "trim")
            f.trim = true;
        else
            throw text::UserError("template line " + std::to_string(line) + ": unknown format '" + m + "'");
    }
    return f;
}

std::vector<std::string> split(const std::string& s, char by)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i)
        if (i == s.size() || s[i] == by) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    return parts;
}

RowCondition rowCondition(const db::RecordSet& data, const std::string& test)
{
    RowCondition c;
    const std::size_t eq = test.find('=');
    if (eq == std::string::npos)
        return c;
    c.active = true;
    std::string field = test.substr(0, eq);
    if (field.rfind("D.", 0) == 0)
        field = field.substr(2);
    c.column = data.columnIndex(field);
    c.value = text::utf8ToBig5(test.substr(eq + 1));
    return c;
}

Segment segmentOf(Segment::Kind kind, int column, const ValueFormat& format)
{
    Segment s;
    s.kind = kind;
    s.column = column;
    s.format = format;
    return s;
}

class Preparer {
public:
    Preparer(const db::RecordSet& data, const db::RecordSet& header) : data_(data), header_(header) {}

    std::vector<Segment> segments(const std::string& content, int line) const
    {
        std::vector<Segment> out;
        auto literal = [&out](const QString& s) {
            if (s.isEmpty())
                return;
            if (!out.empty() && out.back().kind == Segment::Literal)
                out.back().literal += s;
            else {
                Segment literal = segmentOf(Segment::Literal, -1, {});
                literal.literal = s;
                out.push_back(std::move(literal));
            }
        };
        std::size_t i = 0;
        while (i < content.size()) {
            const std::size_t open = content.find('{', i);
            if (open == std::string::npos) {
                literal(QString::fromUtf8(content.substr(i)));
                break;
            }
            const std::size_t close = content.find('}', open);
            if (close == std::string::npos)
                throw text::UserError("template line " + std::to_string(line) + ": '{' without '}'");
            literal(QString::fromUtf8(content.substr(i, open - i)));
            placeholder(content.substr(open + 1, close - open - 1), line, out, literal);
            i = close + 1;
        }
        return out;
    }

private:
    template <class Restricted> void restrict(Restricted& restricted, const std::string& test) const
    {
        const RowCondition where = rowCondition(data_, test);
        restricted.whereColumn = where.column < 0 ? -2 : where.column; // -2: a field the data lacks, nothing matches
        restricted.whereValue = where.value;
    }

    // "D.A [where F=V] [+ D.B [where G=W]] ...": the fields of a sum, each over its own rows.
    std::vector<SumTerm> sumTerms(const std::vector<std::string>& words, int line) const
    {
        std::vector<SumTerm> terms;
        std::size_t i = 1;
        while (i < words.size()) {
            const FieldRef field = fieldRef(words[i], line);
            if (field.header)
                throw text::UserError("template line " + std::to_string(line) + ": sums and words need a data field");
            SumTerm term;
            term.column = data_.columnIndex(field.name);
            ++i;
            if (i + 1 < words.size() && words[i] == "where") {
                restrict(term, words[i + 1]);
                i += 2;
            }
            terms.push_back(std::move(term));
            if (i < words.size()) {
                if (words[i] != "+")
                    throw text::UserError("template line " + std::to_string(line) + ": expected '+' before '" +
                                          words[i] + "'");
                ++i;
            }
        }
        if (terms.empty())
            throw text::UserError("template line " + std::to_string(line) + ": sum of what?");
        return terms;
    }

    template <class Literal>
    void placeholder(const std::string& inside, int line, std::vector<Segment>& out, Literal literal) const
    {
        std::vector<std::string> parts = split(inside, '|');
        const std::vector<std::string> modifiers(parts.begin() + 1, parts.end());
        const ValueFormat format = valueFormat(modifiers, line);
        const std::vector<std::string> words = split(parts[0], ' ');
        const std::string& head = words[0];
        if (head == "page" || head == "pages" || head == "count") {
            Segment segment = segmentOf(head == "page"    ? Segment::Page
                                        : head == "pages" ? Segment::Pages
                                                          : Segment::Count,
                                        -1, format);
            if (head == "count" && words.size() > 2 && words[1] == "where")
                restrict(segment, words[2]);
            out.push_back(std::move(segment));
            return;
        }
        if (head == "row") {
            out.push_back(segmentOf(Segment::Row, -1, format));
            return;
        }
        if (head == "printed") {
            literal(QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
            return;
        }
        if (head == "sum") {
            Segment segment = segmentOf(Segment::Sum, -1, format);
            segment.terms = sumTerms(words, line);
            out.push_back(std::move(segment));
            return;
        }
        const bool words_ = head == "words";
        const std::string ref = words_ ? (words.size() > 1 ? words[1] : std::string()) : head;
        const FieldRef field = fieldRef(ref, line);
        if (field.header) {
            if (words_)
                throw text::UserError("template line " + std::to_string(line) + ": sums and words need a data field");
            const int c = header_.columnIndex(field.name);
            literal(c < 0 || header_.rowCount() == 0
                        ? QString()
                        : formatText(header_.text(0, static_cast<std::size_t>(c)), format));
            return;
        }
        out.push_back(segmentOf(words_ ? Segment::Words : Segment::Data, data_.columnIndex(field.name), format));
    }

    const db::RecordSet& data_;
    const db::RecordSet& header_;
};

// A cell that is one placeholder with a number format, or one sum or count, holds a number.
NumberFormat numberFormatOfCell(const std::string& content, int line)
{
    if (content.size() < 2 || content.front() != '{' || content.back() != '}' ||
        content.find('{', 1) != std::string::npos)
        return NumberFormat::None;
    const std::vector<std::string> parts = split(content.substr(1, content.size() - 2), '|');
    const ValueFormat format = valueFormat(std::vector<std::string>(parts.begin() + 1, parts.end()), line);
    if (format.number != NumberFormat::None)
        return format.number;
    const std::string head = split(parts[0], ' ')[0];
    return head == "sum" ? NumberFormat::Grouped : head == "count" ? NumberFormat::Whole : NumberFormat::None;
}

QString chineseFontFamily(const std::string& wanted)
{
    const QString family = QString::fromUtf8(wanted);
    const QStringList known = QFontDatabase::families();
    if (known.contains(family))
        return family;
    const QStringList chinese = QFontDatabase::families(QFontDatabase::TraditionalChinese);
    return chinese.isEmpty() ? family : chinese.first();
}

} // namespace

PreparedReport prepareReport(ReportTemplate tmpl, db::RecordSet data, db::RecordSet header)
{
    PreparedReport r;
    r.tmpl = std::move(tmpl);
    r.data = std::move(data);
    r.header = std::move(header);
    r.numerals = numeralsFromHeader(r.header);

    const QString family = chineseFontFamily(r.tmpl.fontFamily);
    std::map<std::pair<double, bool>, int> fontIndex;
    auto font = [&](double size, bool bold) {
        const auto key = std::make_pair(size > 0 ? size : r.tmpl.fontSize, bold);
        auto found = fontIndex.find(key);
        if (found != fontIndex.end())
            return found->second;
        QFont f(family);
        f.setPointSizeF(key.first);
        f.setBold(bold);
        f.setStyleStrategy(QFont::PreferAntialias);
        r.fonts.push_back(f);
        return fontIndex[key] = static_cast<int>(r.fonts.size() - 1);
    };

    const GroupGeometry groups = groupGeometry(r.tmpl, r.data, r.header);
    const Preparer preparer(r.data, r.header);
    for (const Segment& segment : preparer.segments(r.tmpl.title, 0))
        r.name += segment.literal; // header fields only: they are literal once prepared
    r.name = r.name.trimmed();
    r.storage.reserve(r.tmpl.bands.size());
    for (const Band& band : r.tmpl.bands) {
        PreparedBand pb;
        pb.kind = band.kind;
        pb.keyColumn = band.key.empty() ? -1 : r.data.columnIndex(band.key);
        const double wrap = band.wrap >= 0 ? band.wrap : r.tmpl.groups.wrap;
        bool repeats = false;
        for (const Item& item : band.items)
            repeats = repeats || item.each;
        pb.height = band.height + (repeats ? (groups.lines - 1) * wrap : 0);
        // A negative Y counts up from the bottom of the band, which grows with wrapped groups.
        auto fromBottom = [&pb](double y) { return y < 0 ? pb.height + y : y; };
        for (const Item& item : band.items) {
            const int copies = item.each ? groups.count : 1;
            for (int g = 0; g < copies; ++g) {
                const QPointF offset = item.each ? groups.origin(g, r.tmpl.groups, wrap) : QPointF();
                PreparedItem pi;
                pi.kind = item.kind;
                if (item.kind == ItemKind::Line)
                    pi.rect = QRectF(QPointF(item.x, fromBottom(item.y)) + offset,
                                     QPointF(item.w, fromBottom(item.h)) + offset);
                else
                    pi.rect = QRectF(item.x + offset.x(), fromBottom(item.y) + offset.y(), item.w, item.h);
                pi.align = item.align;
                pi.font = font(item.fontSize, item.bold);
                pi.frame = item.frame;
                pi.firstOnly = item.firstOnly;
                pi.penWidth = item.penWidth;
                pi.condition =
                    rowCondition(r.data, item.each ? withGroupNumber(item.condition, g + 1) : item.condition);
                const std::string content = item.each ? withGroupNumber(item.content, g + 1) : item.content;
                pi.segments = preparer.segments(content, item.line);
                pi.group = item.each ? g + 1 : 0;
                pi.caption = QString::fromUtf8(item.each ? withGroupNumber(item.caption, g + 1) : item.caption);
                pb.items.push_back(std::move(pi));
            }
        }
        r.storage.push_back(std::move(pb));
    }

    r.sheetName = preparer.segments(r.tmpl.sheetName, 0);
    for (const ExtraSheet& sheet : r.tmpl.sheets) {
        PreparedSheet prepared;
        prepared.name = QString::fromUtf8(sheet.name);
        for (const std::vector<std::string>& row : sheet.rows) {
            std::vector<PreparedCell> cells;
            for (const std::string& content : row)
                cells.push_back({preparer.segments(content, sheet.line), numberFormatOfCell(content, sheet.line)});
            prepared.rows.push_back(std::move(cells));
        }
        r.sheets.push_back(std::move(prepared));
    }

    // Band roles; group bands nest in the order their keys first appear.
    const std::vector<std::string> keys = r.tmpl.groupKeys();
    r.groupHeaders.assign(keys.size(), nullptr);
    r.groupFooters.assign(keys.size(), nullptr);
    for (std::size_t b = 0; b < r.tmpl.bands.size(); ++b) {
        const PreparedBand* pb = &r.storage[b];
        switch (pb->kind) {
        case BandKind::Title: r.title = pb; break;
        case BandKind::PageHeader: r.pageHeader = pb; break;
        case BandKind::Detail: r.detail = pb; break;
        case BandKind::Summary: r.summary = pb; break;
        case BandKind::PageFooter: r.pageFooter = pb; break;
        case BandKind::GroupHeader:
        case BandKind::GroupFooter:
            for (std::size_t k = 0; k < keys.size(); ++k)
                if (keys[k] == r.tmpl.bands[b].key)
                    (pb->kind == BandKind::GroupHeader ? r.groupHeaders : r.groupFooters)[k] = pb;
            break;
        }
    }
    return r;
}

} // namespace vistrel
