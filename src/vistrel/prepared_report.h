#pragma once
// The template made concrete for one hand-over: column groups repeated, fields resolved to
// column indices, header values already expanded, fonts chosen. Internal to the engine.
#include "db/record_set.h"
#include "vistrel/amount_in_words.h"
#include "vistrel/report_template.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

namespace vistrel {

enum class NumberFormat { None, Grouped, Whole };
enum class DateFormat { None, Roc, RocWords };

struct ValueFormat {
    NumberFormat number = NumberFormat::None;
    DateFormat date = DateFormat::None;
    bool blankZero = false;
    bool trim = false;
};

// One field of a sum, added over the rows of the band's scope whose field `whereColumn`
// holds whereValue (-1: all rows; -2: a field the data lacks, no row).
struct SumTerm {
    int column = -1; // -1 when the data has no such field (adds nothing)
    int whereColumn = -1;
    std::string whereValue; // Big5
};

struct Segment {
    enum Kind { Literal, Data, Sum, Count, Words, Page, Pages, Row } kind = Literal;
    QString literal;
    int column = -1; // data column; -1 when the data has no such field (prints empty)
    ValueFormat format;
    int whereColumn = -1;       // counts: only rows whose field holds whereValue (-1: all rows)
    std::string whereValue;     // Big5
    std::vector<SumTerm> terms; // sums: the fields added
};

// A test on the data of a row: the field, trimmed of blanks, equals the value.
struct RowCondition {
    bool active = false;
    int column = -1;
    std::string value; // Big5
    bool holds(const db::RecordSet& data, long row) const;
};

struct PreparedItem {
    ItemKind kind = ItemKind::Text;
    QRectF rect; // mm, relative to the band's top left corner (lines: p1, p2)
    Align align = Align::Left;
    int font = 0; // index into PreparedReport::fonts
    bool frame = false;
    bool firstOnly = false;
    double penWidth = 0.25;
    RowCondition condition;
    std::vector<Segment> segments;
    int group = 0;   // the column group (from 1) of an item repeated per group; 0 for others
    QString caption; // the template's caption for the spreadsheet column, if any
};

struct PreparedBand {
    BandKind kind = BandKind::Detail;
    int keyColumn = -1;
    double height = 0;
    std::vector<PreparedItem> items;
};

// A cell of a further worksheet: its text, and whether it stands for a number (a single
// placeholder with a number format, a sum or a count), then written as one.
struct PreparedCell {
    std::vector<Segment> segments;
    NumberFormat number = NumberFormat::None;
};

struct PreparedSheet {
    QString name;
    std::vector<std::vector<PreparedCell>> rows; // the first row holds the captions
};

struct PreparedReport {
    ReportTemplate tmpl;
    QString name; // the template's title with the header's fields filled in
    db::RecordSet data;
    db::RecordSet header;
    Numerals numerals;
    std::vector<QFont> fonts;
    const PreparedBand* title = nullptr;
    const PreparedBand* pageHeader = nullptr;
    const PreparedBand* detail = nullptr;
    const PreparedBand* summary = nullptr;
    const PreparedBand* pageFooter = nullptr;
    std::vector<const PreparedBand*> groupHeaders, groupFooters; // per level, outermost first
    std::vector<PreparedBand> storage;
    std::vector<Segment> sheetName;    // of the spreadsheet export's first worksheet
    std::vector<PreparedSheet> sheets; // its further worksheets
};

// One band placed on a page: rows [first, last) are its scope (a group, the page, the report),
// `row` the row its data fields read.
struct PlacedBand {
    const PreparedBand* band = nullptr;
    double y = 0;  // mm from the top of the paper
    long row = -1; // -1: no row to read
    std::size_t first = 0, last = 0;
    bool leading = false; // first row of its group or of the page (items marked "first")
};

struct PageContent {
    std::vector<PlacedBand> bands;
};

PreparedReport prepareReport(ReportTemplate tmpl, db::RecordSet data, db::RecordSet header);
std::vector<PageContent> layOut(const PreparedReport& report);
QString expand(const PreparedReport& report, const PreparedItem& item, const PlacedBand& placed, int page, int pages);
QString formatNumber(double value, const ValueFormat& format);
QString formatText(const std::string& big5, const ValueFormat& format);

} // namespace vistrel
