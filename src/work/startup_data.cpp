#include "work/startup_data.h"

#include "db/record_set.h"
#include "work/store_list.h"

namespace work {

std::string readReportTitle(db::Executor& database)
{
    const db::RecordSet params = database.query(std::string("SELECT * FROM PUB_PARAM"));
    const std::size_t title = params.fieldIndex("REP_TITLE");
    return params.isEmpty() ? std::string() : params.text(0, title);
}

std::vector<std::string> bankAccountEntries(db::Executor& database)
{
    const db::RecordSet rows =
        database.query(std::string("SELECT ACNT_ID,ACNT_NAME FROM BANK_ACCOUNT ORDER BY ACNT_ID "));
    std::vector<std::string> entries;
    entries.reserve(rows.rowCount());
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        entries.push_back(rows.text(r, 0) + "," + rows.text(r, 1));
    return entries;
}

std::vector<std::string> storeEntries(db::Executor& database)
{
    std::vector<std::string> entries;
    for (const Store& store : readStores(database))
        entries.push_back(store.id + "," + store.name);
    return entries;
}

void clearMissingProviderFees(db::Executor& database)
{
    database.execute(db::SqlLines{"UPDATE PROVIDER SET ", " ACNT_AMT  = 0 ", "WHERE  ACNT_AMT  IS NULL "});
}

} // namespace work
