#pragma once
// The per-run work tables and view: one set of names for the whole window, formed from a
// prefix, the time of day (six digits) and this connection's suffix, so that two workstations
// starting a run in the same second never share a name.
#include "db/executor.h"
#include "work/progress.h"

#include <functional>
#include <string>
#include <vector>

namespace work {

// "_" + the connection id in base 36 (upper case): unique per attachment and short enough that
// "VIEW_A" + six time digits + suffix stays within Firebird's 31-byte identifiers.
std::string connectionSuffix(long long connectionId);

struct WorkNames {
    std::string viewA, tableA, tableB, tableC, tableD;
};

class WorkTables {
public:
    // `suffix` is appended to every name (e.g. "_" + connection id); `prologueFiles` are
    // deleted by every prologue, so that nothing of the previous run is handed on (the window
    // passes the report hand-over files, report::handOverFiles).
    WorkTables(db::Executor& database, std::string suffix, std::vector<std::string> prologueFiles = {});

    const WorkNames& names() const { return names_; }
    WorkNames& names() { return names_; } // tests set leftovers by hand

    // Called at the start of every drop: the window disables the select-all button here.
    void setOnDrop(std::function<void()> callback) { onDrop_ = std::move(callback); }
    // The clock, replaceable by tests: returns "hhmmss".
    void setClock(std::function<std::string()> clock) { clock_ = std::move(clock); }

    // The drop procedure: view, then tables A..D, where they exist.
    void dropAll();
    // The run prologue; withTableD on the remittance page only. It also drops the work tables
    // and views of attachments that no longer exist (orphaned_work_objects.h).
    void prologue(ProgressDisplay& progress, bool withTableD);

    std::string formName(const std::string& prefix) const; // prefix + clock + suffix

private:
    bool exists(const std::string& name);
    db::Executor& db_;
    std::string suffix_;
    std::vector<std::string> prologueFiles_;
    WorkNames names_;
    std::function<void()> onDrop_;
    std::function<std::string()> clock_;
};

} // namespace work
