#include "work/orphaned_work_objects.h"

#include "db/sql.h"
#include "text/blank.h"

#include <cctype>
#include <limits>
#include <set>
#include <vector>

namespace work {
namespace {

struct WorkObject {
    std::string name;
    bool view = false;
    long long attachment = 0;
    std::string owner;
};

bool exists(db::Executor& database, const std::string& name)
{
    return !text::isBlank(database.lookup(
        "SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name) + " "));
}

// Another clerk's prologue may sweep the same object at the same moment: a drop that fails
// because the object is gone already is what was wanted; any other failure is reported.
void dropQuietlyIfGone(db::Executor& database, const WorkObject& object)
{
    if (!exists(database, object.name))
        return;
    try {
        database.execute((object.view ? "drop view " : "drop table ") + object.name);
    } catch (const std::exception&) {
        if (exists(database, object.name))
            throw;
    }
}

} // namespace

std::optional<long long> attachmentOfWorkObject(std::string_view name)
{
    std::size_t at = 0;
    if (name.starts_with("VIEW_A"))
        at = 6;
    else if (name.size() > 5 && name.starts_with("TMP_") && name[4] >= 'A' && name[4] <= 'D')
        at = 5;
    else
        return std::nullopt;
    // Six digits of the time of day, then "_" and the id in base 36.
    for (std::size_t i = at; i < at + 6; ++i)
        if (i >= name.size() || !std::isdigit(static_cast<unsigned char>(name[i])))
            return std::nullopt;
    at += 6;
    if (at >= name.size() || name[at] != '_' || at + 1 == name.size() || name.size() - at - 1 > 13)
        return std::nullopt;
    long long id = 0;
    for (std::size_t i = at + 1; i < name.size(); ++i) {
        const char c = name[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'Z')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        if (id > (std::numeric_limits<long long>::max() - digit) / 36)
            return std::nullopt;
        id = id * 36 + digit;
    }
    return id;
}

int dropOrphanedWorkObjects(db::Executor& database)
{
    // The objects are listed before the attachments are: an object made by an attachment that
    // attached after the attachments were read cannot then be taken for an orphan.
    const db::RecordSet relations = database.query(db::SqlLines{
        "SELECT RDB$RELATION_NAME, RDB$OWNER_NAME, CASE WHEN RDB$VIEW_BLR IS NULL THEN 0 ELSE 1 END AS IS_VIEW",
        "  FROM RDB$RELATIONS", "  WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
        "    AND (RDB$RELATION_NAME STARTING WITH 'TMP_' OR RDB$RELATION_NAME STARTING WITH 'VIEW_A')"});
    std::vector<WorkObject> candidates;
    for (std::size_t r = 0; r < relations.rowCount(); ++r) {
        const std::string name = text::trimmedRight(relations.text(r, 0));
        if (const std::optional<long long> attachment = attachmentOfWorkObject(name))
            candidates.push_back(
                {name, relations.number(r, 2) == 1, *attachment, text::trimmedRight(relations.text(r, 1))});
    }
    if (candidates.empty())
        return 0;

    const db::RecordSet me =
        database.query("SELECT CURRENT_USER, CURRENT_ROLE, (SELECT MON$OWNER FROM MON$DATABASE) FROM RDB$DATABASE");
    const std::string user = text::trimmedRight(me.text(0, 0));
    const std::string role = text::trimmedRight(me.text(0, 1));
    const std::string databaseOwner = text::trimmedRight(me.text(0, 2));
    const db::RecordSet attachments = database.query("SELECT MON$ATTACHMENT_ID, MON$USER FROM MON$ATTACHMENTS");
    std::set<long long> alive;
    bool seesOtherUsers = user == "SYSDBA" || user == databaseOwner || role == "RDB$ADMIN";
    for (std::size_t r = 0; r < attachments.rowCount(); ++r) {
        alive.insert(static_cast<long long>(attachments.number(r, 0)));
        // The view shows another user's attachment only to a user who sees them all.
        if (!attachments.isNull(r, 1) && text::trimmedRight(attachments.text(r, 1)) != user)
            seesOtherUsers = true;
    }

    int dropped = 0;
    for (const bool views : {true, false}) { // a view goes before the tables it may read
        for (const WorkObject& object : candidates) {
            if (object.view != views || alive.count(object.attachment) != 0)
                continue;
            if (!seesOtherUsers && object.owner != user)
                continue;
            dropQuietlyIfGone(database, object);
            ++dropped;
        }
    }
    return dropped;
}

} // namespace work
