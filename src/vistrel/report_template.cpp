#include "vistrel/report_template.h"

#include "platform/paths.h"
#include "text/error.h"
#include "text/numbers.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace vistrel {
namespace {

struct ParseError {
    std::string message;
};

// Splits a line into words; a word in double quotes may hold blanks ("" stands for one quote).
std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        word += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                word += line[i++];
            }
            if (!closed)
                throw ParseError{"unclosed quote"};
            out.push_back("\"" + word); // the mark tells a quoted text from a keyword
            continue;
        }
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            word += line[i++];
        out.push_back(word);
    }
    return out;
}

double number(const std::string& w)
{
    try {
        std::size_t used = 0;
        const double v = std::stod(w, &used);
        if (used == w.size())
            return v;
    } catch (const std::exception&) {
    }
    throw ParseError{"'" + w + "' is not a number"};
}

double numberAt(const std::vector<std::string>& w, std::size_t i)
{
    if (i >= w.size())
        throw ParseError{"a number is missing after '" + w[i - 1] + "'"};
    return number(w[i]);
}

void parsePage(ReportTemplate& t, const std::vector<std::string>& w)
{
    static const std::map<std::string, std::pair<double, double>> sizes = {
        {"A4", {210, 297}}, {"A5", {148, 210}}, {"A3", {297, 420}}, {"B5", {176, 250}}};
    const auto size = w.size() > 1 ? sizes.find(w[1]) : sizes.end();
    if (size == sizes.end())
        throw ParseError{"page size must be one of A3, A4, A5, B5"};
    std::size_t i = 2;
    double width = size->second.first, height = size->second.second;
    if (i < w.size() && (w[i] == "portrait" || w[i] == "landscape")) {
        t.landscape = w[i] == "landscape";
        ++i;
    }
    if (t.landscape)
        std::swap(width, height);
    t.pageWidth = width;
    t.pageHeight = height;
    if (i < w.size()) {
        if (w[i] != "margins" || i + 4 >= w.size())
            throw ParseError{"expected: margins LEFT TOP RIGHT BOTTOM"};
        t.marginLeft = number(w[i + 1]);
        t.marginTop = number(w[i + 2]);
        t.marginRight = number(w[i + 3]);
        t.marginBottom = number(w[i + 4]);
    }
}

void parseGroups(ReportTemplate& t, const std::vector<std::string>& w)
{
    if (w.size() < 2)
        throw ParseError{"groups needs the field that counts them"};
    t.hasGroups = true;
    t.groups.probe = w[1];
    t.groups.until = t.pageWidth - t.marginRight - t.marginLeft;
    for (std::size_t i = 2; i < w.size(); i += 2) {
        const double v = numberAt(w, i + 1);
        if (w[i] == "at")
            t.groups.x = v;
        else if (w[i] == "step")
            t.groups.step = v;
        else if (w[i] == "until")
            t.groups.until = v;
        else if (w[i] == "wrap")
            t.groups.wrap = v;
        else
            throw ParseError{"unknown groups option '" + w[i] + "'"};
    }
    if (t.groups.step <= 0)
        throw ParseError{"groups step must be above 0"};
}

Band parseBand(const std::vector<std::string>& w)
{
    static const std::map<std::string, BandKind> kinds = {{"title", BandKind::Title},
                                                          {"pageheader", BandKind::PageHeader},
                                                          {"groupheader", BandKind::GroupHeader},
                                                          {"detail", BandKind::Detail},
                                                          {"groupfooter", BandKind::GroupFooter},
                                                          {"summary", BandKind::Summary},
                                                          {"pagefooter", BandKind::PageFooter}};
    const auto kind = w.size() > 1 ? kinds.find(w[1]) : kinds.end();
    if (kind == kinds.end())
        throw ParseError{"unknown band kind"};
    Band band;
    band.kind = kind->second;
    std::size_t i = 2;
    if (band.kind == BandKind::GroupHeader || band.kind == BandKind::GroupFooter) {
        if (i >= w.size())
            throw ParseError{"a group band needs its key field"};
        band.key = w[i++];
    }
    if (i + 1 >= w.size() || w[i] != "height")
        throw ParseError{"expected: height MM"};
    band.height = number(w[i + 1]);
    if (i + 2 < w.size()) {
        if (w[i + 2] != "wrap")
            throw ParseError{"unknown band option '" + w[i + 2] + "'"};
        band.wrap = numberAt(w, i + 3);
    }
    return band;
}

Item parseItem(const std::vector<std::string>& w, std::size_t first)
{
    static const std::map<std::string, ItemKind> kinds = {
        {"text", ItemKind::Text}, {"line", ItemKind::Line}, {"box", ItemKind::Box}};
    Item item;
    item.each = first == 1;
    const auto kind = kinds.find(w[first]);
    if (kind == kinds.end())
        throw ParseError{"unknown item '" + w[first] + "'"};
    item.kind = kind->second;
    item.x = numberAt(w, first + 1);
    item.y = numberAt(w, first + 2);
    item.w = numberAt(w, first + 3);
    item.h = numberAt(w, first + 4);
    for (std::size_t i = first + 5; i < w.size(); ++i) {
        const std::string& o = w[i];
        if (o.front() == '"' && item.kind == ItemKind::Text)
            item.content = o.substr(1);
        else if (o == "left")
            item.align = Align::Left;
        else if (o == "center")
            item.align = Align::Center;
        else if (o == "right")
            item.align = Align::Right;
        else if (o == "bold")
            item.bold = true;
        else if (o == "frame")
            item.frame = true;
        else if (o == "first")
            item.firstOnly = true;
        else if (o == "caption") {
            if (i + 1 >= w.size() || w[i + 1].front() != '"')
                throw ParseError{"expected: caption \"TEXT\""};
            item.caption = w[++i].substr(1);
        } else if (o.rfind("if=", 0) == 0 && o.find('=', 3) != std::string::npos)
            item.condition = o.substr(3);
        else if (o.rfind("size=", 0) == 0)
            item.fontSize = number(o.substr(5));
        else if (o.rfind("width=", 0) == 0)
            item.penWidth = number(o.substr(6));
        else
            throw ParseError{"unknown option '" + o + "'"};
    }
    return item;
}

} // namespace

const Band* ReportTemplate::band(BandKind kind) const
{
    for (const Band& b : bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

std::vector<std::string> ReportTemplate::groupKeys() const
{
    std::vector<std::string> keys;
    for (const Band& b : bands)
        if (b.kind == BandKind::GroupHeader || b.kind == BandKind::GroupFooter) {
            bool known = false;
            for (const auto& k : keys)
                known = known || k == b.key;
            if (!known)
                keys.push_back(b.key);
        }
    return keys;
}

ReportTemplate parseTemplate(const std::string& source, const std::string& fileName)
{
    ReportTemplate t;
    std::istringstream in(source);
    std::string line;
    int lineNo = 0;
    try {
        while (std::getline(in, line)) {
            ++lineNo;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const auto w = words(line);
            if (w.empty() || w[0].front() == '#')
                continue;
            const std::string& head = w[0];
            if (head == "page")
                parsePage(t, w);
            else if (head == "font") {
                if (w.size() < 3 || w[1].front() != '"')
                    throw ParseError{"expected: font \"FAMILY\" SIZE"};
                t.fontFamily = w[1].substr(1);
                t.fontSize = number(w[2]);
            } else if (head == "title") {
                if (w.size() < 2 || w[1].front() != '"')
                    throw ParseError{"expected: title \"TEXT\""};
                t.title = w[1].substr(1);
            } else if (head == "groups")
                parseGroups(t, w);
            else if (head == "band")
                t.bands.push_back(parseBand(w));
            else if (head == "sheetname") {
                if (w.size() != 2 || w[1].front() != '"')
                    throw ParseError{"expected: sheetname \"NAME\""};
                t.sheetName = w[1].substr(1);
            } else if (head == "sheet") {
                if (w.size() != 2 || w[1].front() != '"')
                    throw ParseError{"expected: sheet \"NAME\""};
                t.sheets.push_back(ExtraSheet{w[1].substr(1), {}, lineNo});
            } else if (head == "cells") {
                if (t.sheets.empty())
                    throw ParseError{"cells come before any sheet"};
                std::vector<std::string> row;
                for (std::size_t i = 1; i < w.size(); ++i) {
                    if (w[i].front() != '"')
                        throw ParseError{"a cell is a quoted text"};
                    row.push_back(w[i].substr(1));
                }
                t.sheets.back().rows.push_back(std::move(row));
            } else {
                if (t.bands.empty())
                    throw ParseError{"an item comes before any band"};
                const std::size_t first = head == "each" ? 1 : 0;
                if (first >= w.size())
                    throw ParseError{"each needs an item"};
                Item item = parseItem(w, first);
                item.line = lineNo;
                t.bands.back().items.push_back(std::move(item));
            }
        }
    } catch (const ParseError& e) {
        throw text::UserError(fileName + " line " + std::to_string(lineNo) + ": " + e.message);
    }
    return t;
}

ReportTemplate loadTemplate(const std::string& path)
{
    std::ifstream in(platform::nativePath(path), std::ios::binary);
    if (!in)
        throw text::UserError("Cannot open report template " + path);
    std::ostringstream source;
    source << in.rdbuf();
    return parseTemplate(source.str(), path);
}

std::string withGroupNumber(const std::string& s, int n)
{
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t open = s.find('%', i);
        const std::size_t close = open == std::string::npos ? open : s.find('%', open + 1);
        if (close == std::string::npos) {
            out += s.substr(i);
            break;
        }
        out += s.substr(i, open - i);
        const std::string name = s.substr(open + 1, close - open - 1);
        if (name == "n")
            out += std::to_string(n);
        else if (name == "nn")
            out += text::twoDigits(n);
        else if (name.rfind("n+", 0) == 0)
            out += std::to_string(n + std::stoi(name.substr(2)));
        else {
            out += s.substr(open, close - open); // not a pattern: keep the first % and go on
            i = close;
            continue;
        }
        i = close + 1;
    }
    return out;
}

} // namespace vistrel
