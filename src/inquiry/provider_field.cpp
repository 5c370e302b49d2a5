#include "inquiry/provider_field.h"

#include "db/sql.h"

namespace inquiry {

db::RecordSet openProviderList(db::Executor& database)
{
    db::RecordSet providers =
        database.query(db::SqlLines{"select PROVIDER_ID, PROVIDER_NAME from PROVIDER", "order by PROVIDER_ID"});
    return providers;
}

const work::GridColumns& providerListColumns()
{
    static const work::GridColumns columns = {{"PROVIDER_ID", "廠商代號", 10, true},
                                              {"PROVIDER_NAME", "廠商名稱", 50, true}};
    return columns;
}

std::string providerName(db::Executor& database, const std::string& code)
{
    return database.lookup(
        db::SqlLines{"SELECT PROVIDER_NAME FROM PROVIDER ", " WHERE PROVIDER_ID      = " + db::quote(code)});
}

} // namespace inquiry
