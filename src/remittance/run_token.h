#pragma once
// Ties the remittance grid to the condition confirm that opened it. The remit and clearing
// handlers act on the grid's rows and on that run's work tables together; they may do so only
// while both still belong to the latest condition confirm. Any drop since (a run on another
// tab, a condition confirm stopped at its checks, a report) breaks the tie, also when a later
// run happens to form the same names in the same second: each table is remembered by the
// relation id the server gave it.
#include "db/executor.h"
#include "db/record_set.h"
#include "remittance/remittance_conditions.h"
#include "work/work_tables.h"

#include <map>
#include <string>

namespace remittance {

class RunToken {
public:
    // Called by the condition confirm once the grid is open over its new work tables.
    void record(db::Executor& database, const work::WorkNames& names, RemittanceState state, Books books);
    void forget() { valid_ = false; relationIds_.clear(); }
    bool recorded() const { return valid_; }

    // True when the grid is open, the window's current names are this run's and its work
    // tables are still the very tables this run created.
    bool inStep(db::Executor& database, const db::RecordSet& grid, const work::WorkNames& current) const;

    // The remittance state of the list: it decides how stamping treats bills stamped meanwhile.
    RemittanceState state() const { return state_; }
    // The books the list was read from. The keys of the two books are different numbers, so
    // a press with the other book chosen must not stamp or clear by this list's keys.
    Books books() const { return books_; }

private:
    static std::map<std::string, std::string> relationIds(db::Executor& database, const work::WorkNames& names);

    bool valid_ = false;
    work::WorkNames names_;
    RemittanceState state_ = RemittanceState::NotRemitted;
    Books books_ = Books::OwnStore;
    std::map<std::string, std::string> relationIds_;
};

// The message of this tab for a grid that no condition confirm stands behind.
inline const char* const kConfirmAgain = "請重新 條件確認...... ";

} // namespace remittance
