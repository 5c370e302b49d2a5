#include "lookup/lookup_session.h"

#include <algorithm>
#include <map>

namespace lookup {

namespace {

// The fields a record set lists: the caller's columns, or every column when it gives none.
work::GridColumns listedFields(const db::RecordSet& records, work::GridColumns given)
{
    if (!given.empty())
        return given;
    work::GridColumns fields;
    for (const db::Column& column : records.columns())
        fields.push_back({column.name, column.name, 10, true});
    return fields;
}

} // namespace

std::string columnCaption(const std::string& column)
{
    // The captions the desk's grids and reports give these columns.
    static const std::map<std::string, std::string> captions = {
        {"PROVIDER_ID", "廠商代號"}, {"PROVIDER_NAME", "廠商名稱"}, {"PROVIDER_PHONE", "電話"},
        {"PROVIDER_FAX", "傳真"},    {"PROVIDER_ADDR", "地址"},     {"BANK_ID", "銀行代號"},
        {"BANK_NAME", "銀行名稱"},   {"BANK_TITLE", "戶名"},        {"BANK_ACCID", "銀行帳號"},
        {"ACNT_ID", "帳戶代號"},     {"ACNT_AMT", "手續費"},        {"FAX_YN", "傳真匯款"},
        {"ACNT_NAME", "帳戶名稱"},   {"ACNT_NO", "帳號"},           {"STORE_ID", "分店代號"},
        {"STORE_NAME", "分店名稱"},
    };
    const auto found = captions.find(column);
    return found == captions.end() ? std::string() : found->second;
}

LookupSession::LookupSession(db::Executor& database, const db::RecordSet& original, work::GridColumns originalColumns,
                             std::string table)
    : database_(database), original_(original), table_(std::move(table)),
      originalFields_(listedFields(original, std::move(originalColumns)))
{
}

void LookupSession::fillFieldList()
{
    if (fieldsFilled_)
        return;
    fieldsFilled_ = true;
    for (const work::GridColumn& field : shownFields())
        fields_.push_back({field.caption, field.name});
}

void LookupSession::reset()
{
    showingResult_ = false;
}

const work::GridColumns& LookupSession::shownFields() const
{
    return showingResult_ ? resultFields_ : originalFields_;
}

SearchOutcome LookupSession::search(int fieldIndex, MatchMode mode, const std::string& big5Text)
{
    if (fieldIndex < 0 || fieldIndex >= static_cast<int>(fields_.size()))
        return SearchOutcome::NoFieldChosen;
    statement_ = searchStatement(table_, fields_[static_cast<std::size_t>(fieldIndex)].name, mode, big5Text);
    db::RecordSet found = database_.query(statement_);
    if (found.isEmpty())
        return SearchOutcome::NotFound;

    // Every column of the table, titled as the caller titles that field, or with the caption
    // the back office gives the column; a column with neither shows its name.
    work::GridColumns titles;
    for (std::size_t c = 0; c < found.columnCount(); ++c) {
        const std::string& name = found.column(c).name;
        std::string title = columnCaption(name);
        for (const FieldEntry& field : fields_)
            if (field.name == name && !field.label.empty())
                title = field.label;
        titles.push_back({name, title.empty() ? name : title, 10, true});
    }
    result_ = std::move(found);
    resultFields_ = std::move(titles);
    resultRow_ = 0;
    showingResult_ = true;
    return SearchOutcome::Found;
}

int LookupSession::currentRow() const
{
    if (shown().isEmpty())
        return -1;
    const int row = showingResult_ ? resultRow_ : originalRow_;
    return std::clamp(row, 0, static_cast<int>(shown().rowCount()) - 1);
}

void LookupSession::setCurrentRow(int row)
{
    if (shown().isEmpty())
        return;
    row = std::clamp(row, 0, static_cast<int>(shown().rowCount()) - 1);
    (showingResult_ ? resultRow_ : originalRow_) = row;
}

void LookupSession::first()
{
    setCurrentRow(0);
}
void LookupSession::prior()
{
    setCurrentRow(currentRow() - 1);
}
void LookupSession::next()
{
    setCurrentRow(currentRow() + 1);
}
void LookupSession::last()
{
    setCurrentRow(static_cast<int>(shown().rowCount()) - 1);
}

bool LookupSession::canMoveBack() const
{
    return currentRow() > 0;
}

bool LookupSession::canMoveForward() const
{
    const int row = currentRow();
    return row >= 0 && row + 1 < static_cast<int>(shown().rowCount());
}

std::string LookupSession::currentText(const std::string& field) const
{
    const int row = currentRow();
    if (row < 0)
        return {};
    return shown().text(static_cast<std::size_t>(row), field);
}

} // namespace lookup
