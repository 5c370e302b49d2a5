#include "support/workbook_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace testing_support {
namespace {

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            out.emplace_back();
        } else if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            out.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            out.back() += line[i];
        }
    }
    return out;
}

} // namespace

const ReadCell& ReadSheet::at(int row, int column) const
{
    static const ReadCell empty;
    const auto r = cells.find(row);
    if (r == cells.end())
        return empty;
    const auto c = r->second.find(column);
    return c == r->second.end() ? empty : c->second;
}

std::vector<std::string> ReadSheet::rowTexts(int row) const
{
    std::vector<std::string> out;
    const auto r = cells.find(row);
    if (r == cells.end() || r->second.empty())
        return out;
    out.resize(static_cast<std::size_t>(r->second.rbegin()->first));
    for (const auto& [column, cell] : r->second)
        out[static_cast<std::size_t>(column - 1)] = cell.text;
    return out;
}

int ReadSheet::rowStartingWith(const std::string& text) const
{
    for (const auto& [row, columns] : cells) {
        const auto first = columns.find(1);
        if (first != columns.end() && first->second.text == text)
            return row;
    }
    return 0;
}

std::vector<ReadSheet> readWorkbook(const std::string& path)
{
    const std::string command = "'" DESK_PYTHON3 "' '" DESK_WORKBOOK_READER "' '" + path + "' 2>&1";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot start " << command;
        return {};
    }
    std::array<char, 65536> buffer{};
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (status != 0) {
        ADD_FAILURE() << "openpyxl could not read " << path << ":\n" << out;
        return {};
    }
    std::vector<ReadSheet> sheets;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = fields(line);
        if (f[0] == "sheet" && f.size() == 3) {
            sheets.push_back({f[1], f[2]});
        } else if (f[0] == "width" && f.size() == 3 && !sheets.empty()) {
            sheets.back().widths[std::stoi(f[1])] = std::stod(f[2]);
        } else if (f[0] == "cell" && f.size() == 6 && !sheets.empty()) {
            ReadCell cell{f[3][0], f[4], f[5]};
            if (cell.type == 'n')
                cell.number = std::stod(f[5]);
            sheets.back().cells[std::stoi(f[1])][std::stoi(f[2])] = cell;
        } else if (!line.empty()) {
            ADD_FAILURE() << "unexpected reader line: " << line;
        }
    }
    return sheets;
}

} // namespace testing_support
