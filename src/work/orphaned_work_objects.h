#pragma once
// Work tables and views whose workstation is gone. Every work object's name ends in "_" and
// the id of the attachment that made it (base 36, see connectionSuffix); a workstation that
// was killed, lost its connection or logged out never dropped its own, and no later run forms
// the same name again, so the run prologue sweeps them: an object whose attachment the server
// no longer lists is dropped.
//
// The server's monitoring view lists the attachments alive, but to a user who is not SYSDBA,
// the database owner or in the RDB$ADMIN role it shows only the attachments of that user's
// own name. For such a clerk the absence of another user's attachment proves nothing, so only
// objects the clerk's own user made are judged; a user who sees every attachment judges all.
#include "db/executor.h"

#include <optional>
#include <string>
#include <string_view>

namespace work {

// The attachment id a work object's name carries ("TMP_A134012_2Z" -> 107), nothing when the
// name is not a work object's.
std::optional<long long> attachmentOfWorkObject(std::string_view name);

// Drops the views, then the tables, of attachments that no longer exist. Returns how many
// objects went.
int dropOrphanedWorkObjects(db::Executor& database);

} // namespace work
