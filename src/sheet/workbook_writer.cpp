#include "sheet/workbook_writer.h"

#include "sheet/sheet_names.h"
#include "sheet/utf8.h"
#include "text/error.h"
#include "text/numbers.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace sheet {
namespace {

constexpr double kNarrowestColumn = 4, kWidestColumn = 60;

bool splits(const Table& table, SheetLimits limits);

// Rows above the data on each sheet of a table: title lines, the note of a split table, a
// blank row when either is there, the captions.
std::size_t headRows(const Table& table, bool split)
{
    const std::size_t above = table.titleLines.size() + (split ? 1 : 0);
    return above + (above > 0 ? 1 : 0) + 1;
}

std::size_t dataRowsPerSheet(const Table& table, bool split, SheetLimits limits)
{
    const std::size_t fixed = headRows(table, split) + (table.totalsLabel.empty() ? 0 : 1);
    if (limits.rowsPerSheet <= fixed)
        throw text::UserError("A worksheet of " + std::to_string(limits.rowsPerSheet) +
                              " rows leaves no room for the rows of " + table.name);
    return limits.rowsPerSheet - fixed;
}

bool splits(const Table& table, SheetLimits limits)
{
    return table.rowCount > dataRowsPerSheet(table, false, limits);
}

std::string grouped(std::size_t n)
{
    return text::formatGrouped(static_cast<double>(n));
}

double numberWidth(double value, NumberFormat format)
{
    const std::string shown =
        format == NumberFormat::Grouped ? text::formatGrouped(value) : std::to_string(text::roundToInt64(value));
    return static_cast<double>(shown.size());
}

// One open .xlsx file with the formats every sheet shares. Closing writes the file; a
// workbook that was never closed by write() is closed and its file removed on the way out.
class Workbook {
public:
    // `file` is written; errors name `shown`, the file the clerk chose.
    Workbook(const std::string& file, const std::string& shown) : path_(file), shown_(shown)
    {
        book_ = workbook_new(file.c_str());
        if (!book_)
            throw text::UserError(text::formatMessage("Unable to write to %s", shown));
        title_ = workbook_add_format(book_);
        format_set_bold(title_);
        format_set_font_size(title_, 14);
        note_ = workbook_add_format(book_);
        format_set_italic(note_);
        format_set_font_color(note_, LXW_COLOR_RED);
        caption_ = workbook_add_format(book_);
        format_set_bold(caption_);
        format_set_align(caption_, LXW_ALIGN_CENTER);
        format_set_bottom(caption_, LXW_BORDER_THIN);
        format_set_bg_color(caption_, 0xEEEEEE);
        for (int totals = 0; totals < 2; ++totals) {
            for (int f = 0; f < 2; ++f) {
                lxw_format* number = workbook_add_format(book_);
                format_set_num_format(number, f == 0 ? "#,##0" : "0");
                if (totals) {
                    format_set_bold(number);
                    format_set_top(number, LXW_BORDER_THIN);
                }
                numbers_[totals][f] = number;
            }
        }
        totalsLabel_ = workbook_add_format(book_);
        format_set_bold(totalsLabel_);
        format_set_top(totalsLabel_, LXW_BORDER_THIN);
    }
    ~Workbook()
    {
        if (book_) {
            workbook_close(book_);
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    void write(const Table& table, SheetLimits limits)
    {
        const bool split = splits(table, limits);
        const std::size_t perSheet = dataRowsPerSheet(table, split, limits);
        const std::size_t sheets = sheetsNeeded(table, limits);
        std::vector<double> widths(table.captions.size(), kNarrowestColumn);
        std::vector<double> sums(table.captions.size(), 0);
        std::vector<int> sumFormat(table.captions.size(), -1); // -1: no number in the column
        std::vector<lxw_worksheet*> written;
        std::vector<Cell> cells(table.captions.size());
        const std::string name = uniqueTabName(table.name, names_);
        for (std::size_t s = 0; s < sheets; ++s) {
            const std::size_t first = s * perSheet, last = std::min(table.rowCount, first + perSheet);
            lxw_worksheet* sheet =
                addSheet(s == 0 ? name : uniqueTabName(table.name + " (" + std::to_string(s + 1) + ")", names_));
            written.push_back(sheet);
            lxw_row_t r = 0;
            for (std::size_t t = 0; t < table.titleLines.size(); ++t, ++r)
                text(sheet, r, 0, table.titleLines[t], t == 0 ? title_ : nullptr);
            if (split) {
                text(sheet, r++, 0,
                     "本表共 " + grouped(table.rowCount) + " 筆，超過一張工作表 " + grouped(limits.rowsPerSheet) +
                         " 列的上限，分 " + grouped(sheets) + " 張工作表列出；本張為第 " + grouped(first + 1) + " 至 " +
                         grouped(last) + " 筆",
                     note_);
            }
            if (r > 0)
                ++r;
            for (std::size_t c = 0; c < table.captions.size(); ++c) {
                text(sheet, r, static_cast<lxw_col_t>(c), table.captions[c], caption_);
                widths[c] = std::max(widths[c], displayWidth(table.captions[c]));
            }
            worksheet_freeze_panes(sheet, ++r, 0);
            for (std::size_t row = first; row < last; ++row, ++r) {
                std::fill(cells.begin(), cells.end(), Cell{});
                table.row(row, cells);
                for (std::size_t c = 0; c < cells.size(); ++c) {
                    const Cell& cell = cells[c];
                    if (cell.kind == Cell::Text) {
                        text(sheet, r, static_cast<lxw_col_t>(c), cell.text, nullptr);
                        widths[c] = std::max(widths[c], displayWidth(cell.text));
                    } else if (cell.kind == Cell::Number) {
                        const int f = cell.format == NumberFormat::Grouped ? 0 : 1;
                        number(sheet, r, static_cast<lxw_col_t>(c), cell.number, numbers_[0][f]);
                        widths[c] = std::max(widths[c], numberWidth(cell.number, cell.format));
                        sums[c] += cell.number;
                        if (sumFormat[c] < 0)
                            sumFormat[c] = f;
                    }
                }
            }
            if (s + 1 == sheets && !table.totalsLabel.empty()) {
                for (std::size_t c = 0; c < sums.size(); ++c) {
                    if (sumFormat[c] >= 0) {
                        number(sheet, r, static_cast<lxw_col_t>(c), sums[c], numbers_[1][sumFormat[c]]);
                        widths[c] = std::max(widths[c], numberWidth(sums[c], NumberFormat::Grouped));
                    } else if (c == 0) {
                        text(sheet, r, 0, table.totalsLabel, totalsLabel_);
                    } else {
                        worksheet_write_blank(sheet, r, static_cast<lxw_col_t>(c), totalsLabel_);
                    }
                }
            }
        }
        for (lxw_worksheet* sheet : written)
            for (std::size_t c = 0; c < widths.size(); ++c)
                worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                     std::min(kWidestColumn, widths[c] + 2), nullptr);
    }

    void close()
    {
        lxw_workbook* book = book_;
        book_ = nullptr;
        if (workbook_close(book) != LXW_NO_ERROR) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
            throw text::UserError(text::formatMessage("Unable to write to %s", shown_));
        }
    }

private:
    lxw_worksheet* addSheet(const std::string& name)
    {
        lxw_worksheet* sheet = workbook_add_worksheet(book_, name.c_str());
        if (!sheet)
            throw text::UserError("Cannot add the worksheet " + name);
        return sheet;
    }
    void text(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const std::string& utf8, lxw_format* format)
    {
        const std::string shown = cellText(utf8);
        if (shown.empty())
            return;
        check(worksheet_write_string(sheet, row, col, shown.c_str(), format));
    }
    void number(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, double value, lxw_format* format)
    {
        check(worksheet_write_number(sheet, row, col, value, format));
    }
    void check(lxw_error error) const
    {
        if (error != LXW_NO_ERROR)
            throw text::UserError(text::formatMessage("Unable to write to %s", shown_) + ": " + lxw_strerror(error));
    }

    std::string path_, shown_;
    lxw_workbook* book_ = nullptr;
    lxw_format* title_ = nullptr;
    lxw_format* note_ = nullptr;
    lxw_format* caption_ = nullptr;
    lxw_format* numbers_[2][2] = {}; // [totals row][grouped, whole]
    lxw_format* totalsLabel_ = nullptr;
    std::vector<std::string> names_;
};

} // namespace

std::size_t sheetsNeeded(const Table& table, SheetLimits limits)
{
    if (!splits(table, limits))
        return 1;
    const std::size_t perSheet = dataRowsPerSheet(table, true, limits);
    return (table.rowCount + perSheet - 1) / perSheet;
}

std::string xlsxPath(const std::string& chosen)
{
    std::string ending = chosen.size() >= 5 ? chosen.substr(chosen.size() - 5) : std::string();
    for (char& c : ending)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".xlsx" ? chosen : chosen + ".xlsx";
}

void writeWorkbook(const std::string& path, const std::vector<Table>& tables, SheetLimits limits)
{
    // Written beside the target and renamed into place, so a clerk never finds half a workbook
    // under the name chosen (nor loses an earlier file of that name to a failed export).
    const std::string temporary = path + ".partial";
    {
        Workbook book(temporary, path);
        for (const Table& table : tables)
            book.write(table, limits);
        book.close();
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw text::UserError(text::formatMessage("Unable to write to %s", path));
    }
}

} // namespace sheet
