#include "work/store_list.h"

#include "db/record_set.h"

namespace work {

std::vector<Store> readStores(db::Executor& database)
{
    const db::RecordSet rows =
        database.query(std::string("SELECT STORE_ID,STORE_NAME FROM SLAVE_ITEM ORDER BY STORE_ID"));
    std::vector<Store> stores;
    stores.reserve(rows.rowCount());
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        stores.push_back({rows.text(r, 0), rows.text(r, 1)});
    return stores;
}

} // namespace work
