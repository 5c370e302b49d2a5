#pragma once
// What the lookup dialog shows and does, apart from drawing it: the caller's record set or the
// dialog's own search result, the field list with its parallel column names, the current row,
// searching and resetting. The dialog widget (app::LookupDialog) draws it and shows messages.
#include "db/executor.h"
#include "db/record_set.h"
#include "lookup/search_statement.h"
#include "work/grid_columns.h"

#include <string>
#include <vector>

namespace lookup {

struct FieldEntry {
    std::string label; // display label, UTF-8 (the field list's entry)
    std::string name;  // column name (the hidden parallel list's entry)
};

enum class SearchOutcome { Found, NotFound, NoFieldChosen };

// The caption (UTF-8) the back office gives a column of its tables; empty when none.
std::string columnCaption(const std::string& column);

class LookupSession {
public:
    // `original` is the caller's record set (OriginalData) and `originalColumns` how it is listed
    // (every column, titled by name, when empty); `table` the table searched (LookupTable).
    LookupSession(db::Executor& database, const db::RecordSet& original, work::GridColumns originalColumns,
                  std::string table);

    // The field list, filled from the caller's record set the first time only: re-activating
    // the dialog never lists a field twice.
    void fillFieldList();
    const std::vector<FieldEntry>& fieldList() const { return fields_; }

    // Back to the caller's record set.
    void reset();

    // Searches LookupTable by the field at `fieldIndex` of the field list (-1: none chosen).
    // On rows, the grid shows every column of the result, titled by name with the field
    // list's labels or the columns' captions; without rows it keeps what it showed.
    SearchOutcome search(int fieldIndex, MatchMode mode, const std::string& big5Text);
    // The lines of the last search statement.
    const db::SqlLines& lastStatement() const { return statement_; }

    // What the grid shows: the caller's record set or the search result.
    const db::RecordSet& shown() const { return showingResult_ ? result_ : original_; }
    // The dialog's own result set, for the grid that shows it.
    db::RecordSet& result() { return result_; }
    bool showingResult() const { return showingResult_; }
    // Grid titles by column, as the grid shows them.
    const work::GridColumns& shownFields() const;

    // The current row of what is shown (-1 when it is empty).
    int currentRow() const;
    void setCurrentRow(int row);
    void first();
    void prior();
    void next();
    void last();
    bool canMoveBack() const;    // "首筆", "前筆"
    bool canMoveForward() const; // "次筆", "末筆"

    // A field of the current row, Big5; "" when there is no current row.
    std::string currentText(const std::string& field) const;

private:
    db::Executor& database_;
    const db::RecordSet& original_;
    std::string table_;
    std::vector<FieldEntry> fields_;
    bool fieldsFilled_ = false;
    db::RecordSet result_; // the rows of the last search
    work::GridColumns originalFields_;
    work::GridColumns resultFields_;
    bool showingResult_ = false;
    int originalRow_ = 0;
    int resultRow_ = 0;
    db::SqlLines statement_;
};

} // namespace lookup
