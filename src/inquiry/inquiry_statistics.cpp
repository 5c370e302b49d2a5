#include "inquiry/inquiry_statistics.h"

#include "db/sql.h"
#include "inquiry/inquiry_tables.h"
#include "text/big5.h"

#include <string>

namespace inquiry {

namespace {

const char* const kStoreList = "SELECT STORE_ID,STORE_NAME FROM SLAVE_ITEM ORDER BY STORE_ID";

// One column group per store of the chain; a chain without store ids keeps one group.
int storeCount(const db::RecordSet& stores)
{
    if (stores.isEmpty() || stores.text(0, "STORE_ID").empty())
        return 1;
    return static_cast<int>(stores.rowCount());
}

// Group n holds the store's id and name on every row and the provider's sums over that
// store's rows (null where it has none).
void fillStoreGroup(db::Executor& database, const work::WorkNames& names, int group, const std::string& storeId,
                    const std::string& storeName)
{
    const std::string nn = groupSuffix(group);
    const std::string rows = names.tableA + " WHERE PROVIDER_ID = " + names.tableB
                             + ".PROVIDER_ID  AND STORE_ID = " + db::quote(storeId) + "),";
    database.execute(db::SqlLines{
        "UPDATE " + names.tableB + " SET ",
        "AMT2_" + nn + " =(SELECT SUM(AMT2)     FROM " + rows,
        "CASH_AMT_" + nn + " =(SELECT SUM(CASH_AMT) FROM " + rows,
        "PAGE_AMT_" + nn + " =(SELECT SUM(PAGE_AMT) FROM " + rows,
        "STORE_ID_" + nn + " = " + db::quote(storeId) + ",",
        "STORE_NAME_" + nn + " = " + db::quote(storeName),
    });
}

} // namespace

void buildOwnStoreStatistics(db::Executor& database, const work::WorkNames& names, work::ProgressDisplay& progress)
{
    progressLine(progress, 8);
    database.execute(createStatisticsTable(names.tableB, 1));
    progressLine(progress, 8, "1");
    database.execute(db::SqlLines{
        "INSERT INTO " + names.tableB + "(PROVIDER_ID,PROVIDER_NAME,AMT2_01,CASH_AMT_01,PAGE_AMT_01)",
        "SELECT PROVIDER_ID,PROVIDER_NAME,SUM(AMT2) as AMT2_01,SUM(CASH_AMT) as CASH_AMT_01,SUM(PAGE_AMT) as PAGE_AMT_01",
        " FROM " + names.tableA,
        "GROUP BY PROVIDER_ID,PROVIDER_NAME",
    });
    database.execute(db::SqlLines{
        "UPDATE " + names.tableB + " SET ",
        "STORE_ID_01 = " + db::quote("9999") + ",",
        "STORE_NAME_01 = " + db::quote(text::big5("本店")),
    });
    progressLine(progress, 8, "2");
}

void buildAllStoresStatistics(db::Executor& database, const work::WorkNames& names, work::ProgressDisplay& progress)
{
    progressLine(progress, 8);
    const int groups = storeCount(database.query(kStoreList));
    database.execute(createStatisticsTable(names.tableB, groups));
    progressLine(progress, 8, "1");

    if (groups >= 2) {
        database.execute(db::SqlLines{
            "INSERT INTO " + names.tableB + "(PROVIDER_ID,PROVIDER_NAME)",
            "SELECT DISTINCT PROVIDER_ID,PROVIDER_NAME",
            " FROM " + names.tableA,
        });
        progressLine(progress, 8, "2");
        // Each store's sums look the detail rows up by provider and store; without an index
        // every look-up would read the whole month. The index goes with its table.
        database.execute("CREATE INDEX X" + names.tableA + " ON " + names.tableA + " (PROVIDER_ID, STORE_ID)");
        const db::RecordSet stores = database.query(kStoreList);
        for (std::size_t row = 0; row < stores.rowCount(); ++row)
            fillStoreGroup(database, names, static_cast<int>(row) + 1, stores.text(row, "STORE_ID"),
                           stores.text(row, "STORE_NAME"));
        return;
    }

    // One group: a row per provider and store id, so bills of stores missing from SLAVE_ITEM
    // still show, with no store name.
    database.execute(db::SqlLines{
        "INSERT INTO " + names.tableB + "(PROVIDER_ID,PROVIDER_NAME,STORE_ID_01,AMT2_01,CASH_AMT_01,PAGE_AMT_01)",
        "SELECT PROVIDER_ID,PROVIDER_NAME,STORE_ID,SUM(AMT2) as AMT2,SUM(CASH_AMT) as CASH_AMT,SUM(PAGE_AMT) as PAGE_AMT",
        " FROM " + names.tableA,
        "GROUP BY PROVIDER_ID,PROVIDER_NAME,STORE_ID",
    });
    progressLine(progress, 8, "2");
    database.execute(db::SqlLines{
        "UPDATE " + names.tableB + " SET ",
        "STORE_NAME_01 = (SELECT STORE_NAME FROM SLAVE_ITEM WHERE  STORE_ID = " + names.tableB + ".STORE_ID_01)",
    });
}

} // namespace inquiry
