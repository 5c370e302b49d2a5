#include "db/record_set_file.h"

#include "platform/paths.h"
#include "text/error.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace db {

namespace {

static_assert(std::numeric_limits<double>::is_iec559, "the file stores IEEE 754 doubles");

// Collects the file's bytes; with a file, hands them on every megabyte so that a large
// record set is never held twice in memory.
class Writer {
public:
    explicit Writer(std::string& out, std::FILE* file = nullptr) : out_(out), file_(file) {}
    void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) { little(v, 2); }
    void u32(std::uint32_t v) { little(v, 4); }
    void f64(double v) { little(std::bit_cast<std::uint64_t>(v), 8); }
    void bytes(std::string_view b) { out_.append(b); }
    // Called between rows.
    bool spill()
    {
        if (!file_ || out_.size() < kSpillBytes)
            return true;
        return flush();
    }
    bool flush()
    {
        bool ok = !file_ || std::fwrite(out_.data(), 1, out_.size(), file_) == out_.size();
        if (file_)
            out_.clear();
        return ok;
    }

private:
    static constexpr std::size_t kSpillBytes = std::size_t(1) << 20;
    void little(std::uint64_t v, int n)
    {
        char b[8];
        for (int i = 0; i < n; ++i)
            b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        out_.append(b, static_cast<std::size_t>(n));
    }
    std::string& out_;
    std::FILE* file_;
};

class Reader {
public:
    Reader(std::string_view in, const std::string& source) : in_(in), source_(source) {}
    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }
    double f64() { return std::bit_cast<double>(little(8)); }
    std::string_view take(std::size_t n)
    {
        if (n > in_.size() - pos_)
            damaged("it ends early");
        std::string_view b = in_.substr(pos_, n);
        pos_ += n;
        return b;
    }
    std::size_t remaining() const { return in_.size() - pos_; }
    [[noreturn]] void damaged(const std::string& why) const
    {
        throw text::UserError(text::formatMessage("%s is not a valid record-set file", source_) + " (" + why + ")");
    }

private:
    std::uint64_t little(int n)
    {
        std::string_view b = take(static_cast<std::size_t>(n));
        std::uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(b[static_cast<std::size_t>(i)]);
        return v;
    }
    std::string_view in_;
    std::size_t pos_ = 0;
    const std::string& source_;
};

std::uint32_t checkedU32(std::size_t n)
{
    if (n > std::numeric_limits<std::uint32_t>::max())
        throw text::UserError("The record set is too large for a record-set file");
    return static_cast<std::uint32_t>(n);
}

bool isNumeric(FieldType type)
{
    return type != FieldType::String;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

namespace {

// Writes the whole file through `w`; false when the file could not take it.
bool encode(const RecordSet& records, Writer& w)
{
    const std::size_t columns = records.columnCount();
    const std::size_t rows = records.rowCount();
    const std::size_t bitmapBytes = (columns + 7) / 8;

    w.bytes(std::string_view(kRecordSetFileMagic, 4));
    w.u16(kRecordSetFileVersion);
    w.u32(checkedU32(columns));
    for (const Column& column : records.columns()) {
        if (column.name.size() > std::numeric_limits<std::uint16_t>::max())
            throw text::UserError(text::formatMessage("The column name '%s' is too long", column.name));
        w.u16(static_cast<std::uint16_t>(column.name.size()));
        w.bytes(column.name);
        w.u8(static_cast<std::uint8_t>(column.type));
        w.u32(column.size);
    }
    w.u32(checkedU32(rows));

    std::string bitmap(bitmapBytes, '\0');
    for (std::size_t r = 0; r < rows; ++r) {
        std::fill(bitmap.begin(), bitmap.end(), '\0');
        for (std::size_t c = 0; c < columns; ++c)
            if (records.isNull(r, c))
                bitmap[c / 8] = static_cast<char>(bitmap[c / 8] | (1 << (c % 8)));
        w.bytes(bitmap);
        for (std::size_t c = 0; c < columns; ++c) {
            if (records.isNull(r, c))
                continue;
            if (isNumeric(records.column(c).type)) {
                w.f64(records.number(r, c));
            } else {
                std::string_view value = records.stringView(r, c);
                w.u32(checkedU32(value.size()));
                w.bytes(value);
            }
        }
        if (!w.spill())
            return false;
    }
    return w.flush();
}

} // namespace

std::string encodeRecordSet(const RecordSet& records)
{
    std::string out;
    Writer w(out);
    encode(records, w);
    return out;
}

RecordSet decodeRecordSet(std::string_view bytes, const std::string& source)
{
    Reader in(bytes, source);
    if (bytes.size() < 4 || std::memcmp(bytes.data(), kRecordSetFileMagic, 4) != 0)
        in.damaged("wrong magic");
    in.take(4);
    std::uint16_t version = in.u16();
    if (version != kRecordSetFileVersion)
        in.damaged("version " + std::to_string(version) + " is not supported");

    std::uint32_t columnCount = in.u32();
    // Every column takes at least 7 bytes: a count beyond the file's size is damage, not a
    // reason to reserve gigabytes.
    if (columnCount > in.remaining() / 7)
        in.damaged("the column count is impossible");
    std::vector<Column> columns(columnCount);
    for (Column& column : columns) {
        column.name = std::string(in.take(in.u16()));
        std::uint8_t type = in.u8();
        if (type < 1 || type > 3)
            in.damaged("unknown column type " + std::to_string(type));
        column.type = static_cast<FieldType>(type);
        column.size = in.u32();
    }
    std::uint32_t rowCount = in.u32();
    const std::size_t bitmapBytes = (columnCount + 7) / 8;
    // Every row takes at least its null bitmap; a row of no columns takes nothing, so a count
    // of such rows could make the loader run for ever: without columns there are no rows.
    if (bitmapBytes == 0 ? rowCount > 0 : rowCount > in.remaining() / bitmapBytes)
        in.damaged("the row count is impossible");

    std::vector<bool> numeric;
    for (const Column& column : columns)
        numeric.push_back(isNumeric(column.type));
    RecordSet records(std::move(columns));
    records.reserveRows(rowCount);
    for (std::uint32_t r = 0; r < rowCount; ++r) {
        RecordSet::RowWriter row = records.appendRowWriter();
        std::string_view bitmap = in.take(bitmapBytes);
        for (std::size_t c = 0; c < columnCount; ++c) {
            if (static_cast<unsigned char>(bitmap[c / 8]) & (1u << (c % 8)))
                continue;
            if (numeric[c])
                row.setNumber(c, in.f64());
            else
                row.setBytes(c, in.take(in.u32()));
        }
    }
    if (in.remaining() != 0)
        in.damaged("bytes follow the last row");
    return records;
}

void saveRecordSetFile(const RecordSet& records, const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(platform::openFile(path, "wb"));
    bool written = false;
    if (file) {
        std::string buffer;
        buffer.reserve(std::size_t(2) << 20);
        Writer w(buffer, file.get());
        written = encode(records, w);
        if (std::fclose(file.release()) != 0)
            written = false;
    }
    if (!written)
        throw text::UserError(text::formatMessage("Unable to write to %s", path));
}

RecordSet loadRecordSetFile(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(platform::openFile(path, "rb"));
    if (!file)
        throw text::UserError(text::formatMessage("Unable to read %s", path));
    // Read whole into bulk memory (see bulk_allocator.h): one read, no growing copies.
    std::basic_string<char, std::char_traits<char>, BulkAllocator<char>> bytes;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        long size = std::ftell(file.get());
        if (size > 0)
            bytes.reserve(static_cast<std::size_t>(size));
        std::rewind(file.get());
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, n);
    if (std::ferror(file.get()))
        throw text::UserError(text::formatMessage("Unable to read %s", path));
    return decodeRecordSet(std::string_view(bytes.data(), bytes.size()), path);
}

} // namespace db
