#pragma once
// Ties a page's grid to the condition confirm that listed it. A press acts on the grid's rows
// and on that run's work tables together; it may do so only while both still belong to the
// latest condition confirm. Any drop since (a run on another tab, a confirm stopped at its
// checks, a report) breaks the tie, also when a later run happens to form the same names in
// the same second: each table is remembered by the relation id the server gave it.
#include "db/executor.h"
#include "work/work_tables.h"

#include <map>
#include <string>
#include <vector>

namespace work {

class RunStamp {
public:
    RunStamp() = default;

    // Notes `tables` (names among `names`) as they stand right after the grid was opened.
    // The stamp is empty when one of them does not exist.
    static RunStamp take(db::Executor& database, const WorkNames& names, const std::vector<std::string>& tables);

    // True when `current` are still the names noted and every noted table is the very table
    // noted (same name, same relation id).
    bool holds(db::Executor& database, const WorkNames& current) const;

    bool empty() const { return relationIds_.empty(); }
    void clear()
    {
        relationIds_.clear();
        names_ = {};
    }

private:
    static std::map<std::string, std::string> relationIds(db::Executor& database,
                                                          const std::vector<std::string>& tables);

    WorkNames names_;
    std::vector<std::string> tables_;
    std::map<std::string, std::string> relationIds_;
};

} // namespace work
