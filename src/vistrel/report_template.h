#pragma once
// A report template as read from an .rtm file (format described in rtm/README.md): the page,
// the bands in print order and their items. Positions and sizes are millimetres; texts are
// UTF-8 as written in the file, with {placeholders} still unexpanded.
#include <string>
#include <vector>

namespace vistrel {

enum class BandKind { Title, PageHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter };
enum class ItemKind { Text, Line, Box };
enum class Align { Left, Center, Right };

struct Item {
    ItemKind kind = ItemKind::Text;
    bool each = false;                 // repeated once per column group
    double x = 0, y = 0, w = 0, h = 0; // a line runs from (x, y) to (w, h)
    Align align = Align::Left;
    double fontSize = 0; // points; 0 takes the template's font size
    bool bold = false;
    bool frame = false;     // a thin box around the text
    bool firstOnly = false; // in a detail band: only on the first row of the innermost group
    double penWidth = 0.25; // lines and boxes
    std::string condition;  // "FIELD=VALUE": printed only on rows whose data field holds VALUE
    std::string content;    // text items
    std::string caption;    // detail texts: the column caption in a spreadsheet export
    int line = 0;           // of the template file, for messages
};

struct Band {
    BandKind kind = BandKind::Detail;
    std::string key; // group bands: the data field whose change starts a group
    double height = 5;
    double wrap = -1; // height of one more line of column groups; -1: the groups' wrap
    std::vector<Item> items;
};

// Store column groups: counted from 1 while the field `probe` (H.name or D.name, with %n%
// patterns) exists; placed from `x` every `step` mm, wrapping to a new line of `wrap` mm when
// a group would pass `until`.
struct ColumnGroups {
    std::string probe;
    double x = 0, step = 20, until = 0, wrap = 5;
};

// A further worksheet of the spreadsheet export, cell by cell; its first row are the captions.
struct ExtraSheet {
    std::string name;
    std::vector<std::vector<std::string>> rows; // cell contents, with {placeholders}
    int line = 0;
};

struct ReportTemplate {
    double pageWidth = 210, pageHeight = 297; // after orientation
    bool landscape = false;
    double marginLeft = 10, marginTop = 10, marginRight = 10, marginBottom = 10;
    std::string title; // the report's name for a saved file; may hold {H.FIELD}
    std::string fontFamily = "AR PL UMing TW";
    double fontSize = 9;
    bool hasGroups = false;
    ColumnGroups groups;
    std::vector<Band> bands; // in file order; groups nest in the order their headers appear
    std::string sheetName;   // the export's first worksheet, with {placeholders}
    std::vector<ExtraSheet> sheets;

    const Band* band(BandKind kind) const;
    std::vector<std::string> groupKeys() const; // outermost first
};

// Throws text::UserError naming the file and line of the first fault.
ReportTemplate parseTemplate(const std::string& source, const std::string& fileName);
ReportTemplate loadTemplate(const std::string& path);

// Replaces %n%, %nn% and %n+K% in s with the group number n (two digits at least for %nn%).
std::string withGroupNumber(const std::string& s, int n);

} // namespace vistrel
