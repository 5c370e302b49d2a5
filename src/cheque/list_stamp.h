#pragma once
// Which work tables the cheque grid was listed from. Issuing and clearing act on the grid's
// rows and on those tables together, so both must still belong to the latest condition
// confirm: another tab's run drops the tables and may create its own under the very same
// names (two runs in one second), and a confirm that stopped half-way leaves the old rows on
// screen. The catalogue's relation id of each table tells a table made by our confirm from a
// later one of the same name.
#include "db/executor.h"
#include "work/work_tables.h"

#include <string>

namespace cheque {

class ListStamp {
public:
    // Notes the listed and issued tables as they stand right after the grid was opened.
    static ListStamp take(db::Executor& database, const work::WorkNames& names);

    // True when these are still the window's current tables and both are the very tables
    // noted (same name, same relation id).
    bool holds(db::Executor& database, const work::WorkNames& names) const;

    bool empty() const { return listedTable_.empty(); }

private:
    static std::string relationId(db::Executor& database, const std::string& table);

    std::string listedTable_, listedId_;
    std::string issuedTable_, issuedId_;
};

} // namespace cheque
