// The header record set handed to the report library: every field a string, one record.
#include "report/bridge.h"

#include "text/fixed_width.h"

namespace report {
namespace {

constexpr std::uint32_t kFieldBytes = 50;
constexpr std::uint32_t kNoteBytes = 200;

db::Column stringColumn(std::string name, std::uint32_t size)
{
    return db::Column{std::move(name), db::FieldType::String, size};
}

} // namespace

db::RecordSet buildHeader(const ReportRequest& request)
{
    std::vector<db::Column> columns;
    for (int i = 0; i < request.headerFieldCount; ++i)
        columns.push_back(stringColumn("Field" + std::to_string(i), kFieldBytes));
    for (std::size_t s = 0; s < request.storeNames.size(); ++s)
        columns.push_back(stringColumn("Field" + std::to_string(101 + s), kFieldBytes));
    for (int i = 91; i <= 93; ++i)
        columns.push_back(stringColumn("Field" + std::to_string(i), kNoteBytes));

    db::RecordSet header(std::move(columns));
    header.appendRow();
    // Fields a report does not fill are empty, not null, as the library expects texts.
    for (std::size_t c = 0; c < header.columnCount(); ++c)
        header.setText(0, c, std::string());

    // A value is cut to its field's width; the cut never leaves half a double-byte character.
    auto put = [&header](std::string_view name, const std::string& value) {
        const std::size_t c = header.fieldIndex(name);
        header.setText(0, c, text::cutBytes(value, header.column(c).size));
    };
    for (std::size_t s = 0; s < request.storeNames.size(); ++s)
        put("Field" + std::to_string(101 + s), request.storeNames[s]);
    for (const auto& [name, value] : request.header)
        put(name, value);
    // The three note fields are always handed over empty, whatever a caller put there.
    for (int i = 91; i <= 93; ++i)
        header.setText(0, "Field" + std::to_string(i), std::string());
    return header;
}

} // namespace report
