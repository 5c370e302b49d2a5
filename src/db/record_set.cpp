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

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

bool isNumeric(FieldType type) { return type != FieldType::String; }

// Lenient, as a record set's text-to-number conversion is: blanks around the number are
// allowed, anything that is not a number reads as 0.
double parseNumber(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size()) return 0;
    return value;
}

} // namespace

RecordSet::RecordSet(std::vector<Column> columns) : columns_(std::move(columns)) {}

int RecordSet::columnIndex(std::string_view name) const {
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (sameName(columns_[c].name, name)) return static_cast<int>(c);
    return -1;
}

std::size_t RecordSet::fieldIndex(std::string_view name) const {
    int c = columnIndex(name);
    if (c < 0) throw text::UserError(text::formatMessage("Field '%s' not found", name));
    return static_cast<std::size_t>(c);
}

void RecordSet::declareFields(std::vector<FieldDecl> fields) {
    for (const FieldDecl& field : fields) fieldIndex(field.name);
    declared_ = std::move(fields);
}

void RecordSet::appendRow() {
    slots_.resize(slots_.size() + columns_.size());
    ++rowCount_;
}

void RecordSet::clear() {
    columns_.clear();
    declared_.clear();
    slots_.clear();
    pool_.clear();
    rowCount_ = 0;
}

std::string_view RecordSet::stringView(std::size_t row, std::size_t col) const {
    const Slot& s = slot(row, col);
    if (s.null || isNumeric(columns_[col].type)) return {};
    return std::string_view(pool_.data() + s.payload, s.length);
}

std::string RecordSet::text(std::size_t row, std::size_t col) const {
    const Slot& s = slot(row, col);
    if (s.null) return {};
    if (isNumeric(columns_[col].type)) return text::formatPlain(slotNumber(s));
    return std::string(pool_.data() + s.payload, s.length);
}

double RecordSet::number(std::size_t row, std::size_t col) const {
    const Slot& s = slot(row, col);
    if (s.null) return 0;
    if (isNumeric(columns_[col].type)) return slotNumber(s);
    return parseNumber(std::string_view(pool_.data() + s.payload, s.length));
}

RecordSet::Cell RecordSet::cell(std::size_t row, std::size_t col) const {
    Cell c;
    c.null = isNull(row, col);
    if (!c.null) {
        if (isNumeric(columns_[col].type)) c.number = slotNumber(slot(row, col));
        else c.bytes = std::string(stringView(row, col));
    }
    return c;
}

void RecordSet::setNull(std::size_t row, std::size_t col) {
    slot(row, col) = Slot{};
}

void RecordSet::setText(std::size_t row, std::size_t col, std::string_view value) {
    Slot& s = slot(row, col);
    if (isNumeric(columns_[col].type)) storeNumber(s, parseNumber(value));
    else storeBytes(s, value);
}

void RecordSet::setNumber(std::size_t row, std::size_t col, double value) {
    Slot& s = slot(row, col);
    if (isNumeric(columns_[col].type)) storeNumber(s, value);
    else storeBytes(s, text::formatPlain(value));
}

void RecordSet::storeBytes(Slot& s, std::string_view value) {
    if (value.size() > std::numeric_limits<std::uint32_t>::max())
        throw text::UserError("A text value is too long for a record set");
    s.payload = pool_.size();
    s.length = static_cast<std::uint32_t>(value.size());
    s.null = 0;
    pool_.append(value);
}

void RecordSet::storeNumber(Slot& s, double value) {
    s.payload = std::bit_cast<std::uint64_t>(value);
    s.length = 0;
    s.null = 0;
}

double RecordSet::slotNumber(const Slot& s) { return std::bit_cast<double>(s.payload); }

void RecordSet::save(const std::string& path) const { saveRecordSetFile(*this, path); }

RecordSet RecordSet::load(const std::string& path) { return loadRecordSetFile(path); }

} // namespace db
