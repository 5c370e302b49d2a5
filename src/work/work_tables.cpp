#include "work/work_tables.h"

#include "db/sql.h"
#include "platform/paths.h"
#include "text/blank.h"
#include "text/dates.h"
#include "work/orphaned_work_objects.h"

#include <cstdio>

namespace work {

namespace {

std::string timeOfDay()
{
    const std::tm local = text::localTimeNow();
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d%02d%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return digits;
}

} // namespace

std::string connectionSuffix(long long connectionId)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    unsigned long long value = static_cast<unsigned long long>(connectionId);
    std::string encoded;
    do {
        encoded.insert(encoded.begin(), digits[value % 36]);
        value /= 36;
    } while (value != 0);
    return "_" + encoded;
}

WorkTables::WorkTables(db::Executor& database, std::string suffix, std::vector<std::string> prologueFiles)
    : db_(database), suffix_(std::move(suffix)), prologueFiles_(std::move(prologueFiles)), clock_(timeOfDay)
{
}

std::string WorkTables::formName(const std::string& prefix) const
{
    return prefix + clock_() + suffix_;
}

bool WorkTables::exists(const std::string& name)
{
    if (name.empty())
        return false;
    const std::string found =
        db_.lookup("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name) + " ");
    // The catalogue pads names with blanks; any non-blank answer means the object is there.
    return !text::isBlank(found);
}

void WorkTables::dropAll()
{
    if (onDrop_)
        onDrop_();
    // One statement commits every drop at once: a commit per object costs more than the
    // drops themselves, and a refused drop keeps them all.
    std::string drops;
    const auto dropIfPresent = [&drops](const char* kind, const std::string& name) {
        if (name.empty())
            return;
        drops += "IF (EXISTS(SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name) +
                 ")) THEN EXECUTE STATEMENT " + db::quote(std::string("drop ") + kind + " " + name) + "; ";
    };
    dropIfPresent("view", names_.viewA);
    for (const std::string* table : {&names_.tableA, &names_.tableB, &names_.tableC, &names_.tableD})
        dropIfPresent("table", *table);
    if (!drops.empty())
        db_.execute("EXECUTE BLOCK AS BEGIN " + drops + "END");
}

void WorkTables::prologue(ProgressDisplay& progress, bool withTableD)
{
    dropAll();
    // What killed workstations left behind goes too.
    dropOrphanedWorkObjects(db_);
    // Each name takes its own clock reading, in this order, as the runs always named them.
    names_.viewA = formName("VIEW_A");
    names_.tableA = formName("TMP_A");
    names_.tableB = formName("TMP_B");
    names_.tableC = formName("TMP_C");
    if (withTableD)
        names_.tableD = formName("TMP_D");
    // Leftovers of an earlier program run under the same names go too.
    dropAll();
    progress.clear();
    progress.setGauge(0, 10);
    for (const std::string& file : prologueFiles_)
        platform::removeFileQuietly(file);
}

} // namespace work
