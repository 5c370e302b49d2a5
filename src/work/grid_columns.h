#pragma once
// How a page's grid shows a record set: which columns, in which order, under which caption
// and how wide. The record set itself only holds data; the module that opens it says how it
// is shown, and the grid (ui::RecordSetModel) reads both.
#include "db/record_set.h"
#include "text/error.h"

#include <string>
#include <vector>

namespace work {

struct GridColumn {
    std::string name;    // column name in the record set
    std::string caption; // title, UTF-8
    int width = 10;      // in characters
    bool visible = true;
};

using GridColumns = std::vector<GridColumn>;

// Checks that every column a grid shows is in the record set, so that a statement that lost
// a column fails where it is opened; throws text::UserError "Field '%s' not found".
inline void checkGridColumns(const db::RecordSet& records, const GridColumns& columns)
{
    for (const GridColumn& column : columns)
        (void)records.fieldIndex(column.name);
}

} // namespace work
