#pragma once
// Who is at the desk: the database user and the desk role the connection works under, and what
// that role may do. The database enforces the same rules (demo/roles.sql); the window uses this
// to disable what would only be refused, and to say which role would be needed.
#include "db/executor.h"

#include <string>

namespace work {

// The presses whose permission depends on the role.
enum class DeskAction {
    Remit,        // stamp unstamped bills as remitted
    IssueCheques, // stamp the bills of cheques as issued
    ClearDates,   // take remittance or issue stamps off bills
    RemitAgain,   // stamp bills that already carry a stamp
    VoidCheque,   // put a cheque's bills back to unpaid
};

class DeskRole {
public:
    enum class Kind {
        Administrator, // SYSDBA, the database owner or RDB$ADMIN: the database decides
        Supervisor,    // DESK_SUPERVISOR 主管
        Clerk,         // DESK_CLERK 出納
        Auditor,       // DESK_AUDITOR 稽核
        Unassigned,    // no desk role (a database without the desk's roles): the database decides
    };

    DeskRole() = default;
    // From the connection's CURRENT_USER and CURRENT_ROLE, and the owner of the books.
    static DeskRole of(const std::string& user, const std::string& role, const std::string& owner = {});

    Kind kind() const { return kind_; }
    const std::string& user() const { return user_; }
    const std::string& role() const { return role_; } // "NONE" when none

    bool may(DeskAction action) const;
    // Why the press is not offered, naming the role that may (UTF-8); empty when it may.
    std::string refusal(DeskAction action) const;
    // The role's name for the clerk, e.g. "出納 (DESK_CLERK)".
    std::string displayName() const;

private:
    Kind kind_ = Kind::Administrator;
    std::string user_;
    std::string role_ = "NONE";
};

// Reads the connection's user, role and the books' owner.
DeskRole readDeskRole(db::Executor& database);

} // namespace work
