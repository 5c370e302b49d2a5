// The header record set handed to the report library: every field a string, one record.
#include "report/bridge.h"

#include "text/error.h"
#include "text/fixed_width.h"

#include <string_view>

namespace report {
namespace {

// How many fields of a group a request has.
enum class GroupSize {
    Requested, // the report's own values: ReportRequest::headerFieldCount
    PerStore,  // one per store name of the remittance list
    Three,     // the notes, always handed over empty
};

// The header's fields in record order: groups of numbered string fields of one width each.
struct HeaderGroup {
    std::string_view purpose;
    int firstNumber; // the group's first field is "Field" + firstNumber
    GroupSize size;
    std::uint32_t width; // bytes per field
};

constexpr int kMostRequestedFields = 20; // the inquiry reports' Field0 .. Field19
constexpr int kNoteFields = 3;

constexpr HeaderGroup kHeaderLayout[] = {
    {"report values", 0, GroupSize::Requested, 50},
    {"store names", 101, GroupSize::PerStore, 50},
    {"notes", 91, GroupSize::Three, 200},
};

// The groups' numbers never meet: the report values end before the notes, the notes before
// the store names, which go on as far as there are stores.
static_assert(kHeaderLayout[0].firstNumber + kMostRequestedFields <= kHeaderLayout[2].firstNumber &&
                  kHeaderLayout[2].firstNumber + kNoteFields <= kHeaderLayout[1].firstNumber,
              "header field numbers overlap");

int fieldsOf(const HeaderGroup& group, const ReportRequest& request)
{
    switch (group.size) {
    case GroupSize::Requested: return request.headerFieldCount;
    case GroupSize::PerStore: return static_cast<int>(request.storeNames.size());
    case GroupSize::Three: return kNoteFields;
    }
    return 0;
}

std::string fieldName(const HeaderGroup& group, int index)
{
    return "Field" + std::to_string(group.firstNumber + index);
}

} // namespace

db::RecordSet buildHeader(const ReportRequest& request)
{
    if (request.headerFieldCount > kMostRequestedFields)
        throw text::UserError("報表表頭欄位超過 " + std::to_string(kMostRequestedFields) + " 個");
    std::vector<db::Column> columns;
    for (const HeaderGroup& group : kHeaderLayout)
        for (int i = 0; i < fieldsOf(group, request); ++i)
            columns.push_back(db::Column{fieldName(group, i), db::FieldType::String, group.width});

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
        put(fieldName(kHeaderLayout[1], static_cast<int>(s)), request.storeNames[s]);
    for (const auto& [name, value] : request.header)
        put(name, value);
    // The notes are always handed over empty, whatever a caller put there.
    for (int i = 0; i < kNoteFields; ++i)
        header.setText(0, fieldName(kHeaderLayout[2], i), std::string());
    return header;
}

} // namespace report
