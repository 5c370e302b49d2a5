#include "work/desk_role.h"

#include "text/blank.h"

namespace work {
namespace {

bool needsSupervisor(DeskAction action)
{
    return action == DeskAction::ClearDates || action == DeskAction::RemitAgain || action == DeskAction::VoidCheque;
}

} // namespace

DeskRole DeskRole::of(const std::string& user, const std::string& role, const std::string& owner)
{
    DeskRole result;
    result.user_ = text::trimmedRight(user);
    result.role_ = text::trimmedRight(role).empty() ? "NONE" : text::trimmedRight(role);
    if (result.user_ == "SYSDBA" || result.role_ == "RDB$ADMIN" ||
        (!owner.empty() && result.user_ == text::trimmedRight(owner)))
        result.kind_ = Kind::Administrator;
    else if (result.role_ == "DESK_SUPERVISOR")
        result.kind_ = Kind::Supervisor;
    else if (result.role_ == "DESK_CLERK")
        result.kind_ = Kind::Clerk;
    else if (result.role_ == "DESK_AUDITOR")
        result.kind_ = Kind::Auditor;
    else
        result.kind_ = Kind::Unassigned;
    return result;
}

bool DeskRole::may(DeskAction action) const
{
    switch (kind_) {
    case Kind::Administrator:
    case Kind::Supervisor:
    case Kind::Unassigned: return true;
    case Kind::Clerk: return !needsSupervisor(action);
    case Kind::Auditor: return false;
    }
    return false;
}

std::string DeskRole::refusal(DeskAction action) const
{
    if (may(action))
        return {};
    const std::string needed =
        needsSupervisor(action) ? "主管 (DESK_SUPERVISOR)" : "出納 (DESK_CLERK) 或主管 (DESK_SUPERVISOR)";
    return "此作業需要" + needed + "角色;目前使用者 " + user_ + " 的角色為" + displayName() + "。";
}

std::string DeskRole::displayName() const
{
    switch (kind_) {
    case Kind::Administrator: return "系統管理者 (" + role_ + ")";
    case Kind::Supervisor: return "主管 (DESK_SUPERVISOR)";
    case Kind::Clerk: return "出納 (DESK_CLERK)";
    case Kind::Auditor: return "稽核 (DESK_AUDITOR)";
    case Kind::Unassigned: break;
    }
    return "無 (" + role_ + ")";
}

DeskRole readDeskRole(db::Executor& database)
{
    const db::RecordSet row =
        database.query("SELECT CURRENT_USER, CURRENT_ROLE, "
                       "(SELECT RDB$OWNER_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'PAY_MASTER') "
                       "FROM RDB$DATABASE");
    return DeskRole::of(row.text(0, 0), row.text(0, 1), row.text(0, 2));
}

} // namespace work
