#include "db/record_set.h"

#include "db/record_set_file.h"
#include "text/error.h"
#include "text/numbers.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <limits>

namespace db {

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

bool isNumeric(FieldType type)
{
    return type != FieldType::String;
}

// Lenient, as a record set's text-to-number conversion is: blanks around the number are
// allowed, anything that is not a number reads as 0.
double parseNumber(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size())
        return 0;
    return value;
}

} // namespace

RecordSet::RecordSet(std::vector<Column> columns)
{
    setColumns(std::move(columns));
}

void RecordSet::setColumns(std::vector<Column> columns)
{
    columns_ = std::move(columns);
    rowStride_ = columns_.size() + (columns_.size() + 63) / 64;
    rowsPerChunk_ = std::max<std::size_t>(1, kWordsPerChunk / std::max<std::size_t>(rowStride_, 1));
}

void RecordSet::reserveRows(std::size_t n)
{
    if (slots_.empty())
        slots_.emplace_back();
    slots_.front().reserve(std::min(n, rowsPerChunk_) * rowStride_);
}

int RecordSet::columnIndex(std::string_view name) const
{
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (sameName(columns_[c].name, name))
            return static_cast<int>(c);
    return -1;
}

std::size_t RecordSet::fieldIndex(std::string_view name) const
{
    int c = columnIndex(name);
    if (c < 0)
        throw text::UserError(text::formatMessage("Field '%s' not found", name));
    return static_cast<std::size_t>(c);
}

std::uint64_t* RecordSet::appendRowWords()
{
    if (rowCount_ % rowsPerChunk_ == 0 && rowCount_ / rowsPerChunk_ == slots_.size()) {
        slots_.emplace_back();
        // The first chunk grows as rows come, so that a one-row look-up stays small; once a
        // result needs more chunks, each is taken whole at once.
        if (slots_.size() > 1)
            slots_.back().reserve(rowsPerChunk_ * rowStride_);
    }
    WordChunk& chunk = slots_.back();
    if (chunk.size() + rowStride_ > chunk.capacity()) // growing the first chunk, up to its full size
        chunk.reserve(std::min(std::max(2 * chunk.capacity(), 16 * rowStride_), rowsPerChunk_ * rowStride_));
    const std::size_t start = chunk.size();
    chunk.resize(start + rowStride_); // values 0
    std::uint64_t* row = chunk.data() + start;
    // Every column NULL: all null bits of the columns set.
    for (std::size_t c = 0; c < columns_.size(); c += 64) {
        const std::size_t n = std::min<std::size_t>(64, columns_.size() - c);
        row[columns_.size() + c / 64] = n == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << n) - 1;
    }
    ++rowCount_;
    return row;
}

void RecordSet::appendRow()
{
    appendRowWords();
}

RecordSet::RowWriter RecordSet::appendRowWriter()
{
    return RowWriter(*this, appendRowWords());
}

void RecordSet::clear()
{
    columns_.clear();
    slots_.clear();
    bytes_.clear();
    rowCount_ = 0;
    setColumns({});
}

std::string_view RecordSet::stringView(std::size_t row, std::size_t col) const
{
    const std::uint64_t* words = rowWords(row);
    if (isNullIn(words, col) || isNumeric(columns_[col].type))
        return {};
    return bytesAt(words[col]);
}

std::string RecordSet::text(std::size_t row, std::size_t col) const
{
    const std::uint64_t* words = rowWords(row);
    if (isNullIn(words, col))
        return {};
    if (isNumeric(columns_[col].type))
        return text::formatPlain(std::bit_cast<double>(words[col]));
    return std::string(bytesAt(words[col]));
}

double RecordSet::number(std::size_t row, std::size_t col) const
{
    const std::uint64_t* words = rowWords(row);
    if (isNullIn(words, col))
        return 0;
    if (isNumeric(columns_[col].type))
        return std::bit_cast<double>(words[col]);
    return parseNumber(bytesAt(words[col]));
}

RecordSet::Cell RecordSet::cell(std::size_t row, std::size_t col) const
{
    Cell c;
    c.null = isNull(row, col);
    if (!c.null) {
        if (isNumeric(columns_[col].type))
            c.number = number(row, col);
        else
            c.bytes = std::string(stringView(row, col));
    }
    return c;
}

void RecordSet::setNull(std::size_t row, std::size_t col)
{
    std::uint64_t* words = rowWords(row);
    words[col] = 0;
    setNullIn(words, col, true);
}

void RecordSet::setText(std::size_t row, std::size_t col, std::string_view value)
{
    if (isNumeric(columns_[col].type)) {
        setNumber(row, col, parseNumber(value));
        return;
    }
    std::uint64_t word = storeBytes(value);
    std::uint64_t* words = rowWords(row);
    words[col] = word;
    setNullIn(words, col, false);
}

void RecordSet::setNumber(std::size_t row, std::size_t col, double value)
{
    if (!isNumeric(columns_[col].type)) {
        setText(row, col, text::formatPlain(value));
        return;
    }
    std::uint64_t* words = rowWords(row);
    words[col] = std::bit_cast<std::uint64_t>(value);
    setNullIn(words, col, false);
}

std::uint64_t RecordSet::storeBytes(std::string_view value)
{
    constexpr std::size_t prefix = sizeof(std::uint32_t);
    if (value.size() > std::numeric_limits<std::uint32_t>::max() - prefix)
        throw text::UserError("A text value is too long for a record set");
    const auto length = static_cast<std::uint32_t>(value.size());
    const std::size_t need = prefix + value.size();
    if (bytes_.empty() || (bytes_.back().size() + need > kBytesPerChunk && !bytes_.back().empty())) {
        // The value may lie in one of the chunks, which move when the list grows: keep a copy.
        std::string copy(value);
        bytes_.emplace_back();
        if (bytes_.size() > 1)
            bytes_.back().reserve(std::max(kBytesPerChunk, need));
        bytes_.back().append(reinterpret_cast<const char*>(&length), prefix).append(copy);
        return std::uint64_t(bytes_.size() - 1) << 32;
    }
    ByteChunk& chunk = bytes_.back();
    const std::uint64_t word = (std::uint64_t(bytes_.size() - 1) << 32) | chunk.size();
    if (chunk.size() + need > chunk.capacity()) {
        // Growing the first chunk, up to its full size; the value may lie in it.
        ByteChunk grown;
        grown.reserve(std::min(std::max(2 * chunk.capacity(), chunk.size() + need), kBytesPerChunk));
        grown.append(chunk).append(reinterpret_cast<const char*>(&length), prefix).append(value);
        chunk.swap(grown);
    } else {
        chunk.append(reinterpret_cast<const char*>(&length), prefix).append(value);
    }
    return word;
}

void RecordSet::save(const std::string& path) const
{
    saveRecordSetFile(*this, path);
}

RecordSet RecordSet::load(const std::string& path)
{
    return loadRecordSetFile(path);
}

} // namespace db
