#include "inquiry/inquiry_statistics.h"

#include "inquiry/inquiry_run.h"
#include "inquiry/inquiry_tables.h"
#include "text/big5.h"
#include "text/numbers.h"

namespace inquiry {

namespace {

db::SqlLines ownStore(const work::WorkNames& names)
{
    return {
        "INSERT INTO " + names.tableB +
            "(PROVIDER_ID,PROVIDER_NAME,STORE_ID_01,STORE_NAME_01,AMT2_01,CASH_AMT_01,PAGE_AMT_01)",
        "SELECT PROVIDER_ID,PROVIDER_NAME," + db::quote("9999") + "," + db::quote(text::big5("本店")) +
            ",SUM(AMT2),SUM(CASH_AMT),SUM(PAGE_AMT)",
        " FROM " + names.tableA,
        "GROUP BY PROVIDER_ID,PROVIDER_NAME",
    };
}

// The sums are taken per provider code over all its names, as each name's row shows them:
// grouped per code and name, then added up over the code's groups by a window, so that the
// detail rows are read once (a join of two grouped sets would group the rows again for every
// provider). A row without provider code has no sums.
db::SqlLines perStore(const std::vector<work::Store>& stores, const work::WorkNames& names)
{
    std::string targets = "PROVIDER_ID,PROVIDER_NAME";
    std::string values = "PROVIDER_ID,PROVIDER_NAME";
    for (std::size_t i = 0; i < stores.size(); ++i) {
        const std::string nn = text::twoDigits(static_cast<int>(i) + 1);
        const std::string store = db::quote(stores[i].id);
        targets += ",STORE_ID_" + nn + ",STORE_NAME_" + nn + ",AMT2_" + nn + ",CASH_AMT_" + nn + ",PAGE_AMT_" + nn;
        values += "," + store + "," + db::quote(stores[i].name);
        for (const char* column : {"AMT2", "CASH_AMT", "PAGE_AMT"})
            values += std::string(",CASE WHEN PROVIDER_ID IS NULL THEN NULL ELSE SUM(SUM(CASE WHEN STORE_ID = ") +
                      store + " THEN " + column + " END)) OVER (PARTITION BY PROVIDER_ID) END";
    }
    return {
        "INSERT INTO " + names.tableB + "(" + targets + ")",
        "SELECT " + values,
        " FROM " + names.tableA,
        "GROUP BY PROVIDER_ID,PROVIDER_NAME",
    };
}

db::SqlLines perProviderAndStore(const work::WorkNames& names)
{
    return {
        "INSERT INTO " + names.tableB +
            "(PROVIDER_ID,PROVIDER_NAME,STORE_ID_01,STORE_NAME_01,AMT2_01,CASH_AMT_01,PAGE_AMT_01)",
        "SELECT G.PROVIDER_ID,G.PROVIDER_NAME,G.STORE_ID,S.STORE_NAME,G.AMT2,G.CASH_AMT,G.PAGE_AMT",
        " FROM (SELECT PROVIDER_ID,PROVIDER_NAME,STORE_ID,SUM(AMT2) AS AMT2,SUM(CASH_AMT) AS CASH_AMT,"
        "SUM(PAGE_AMT) AS PAGE_AMT",
        "  FROM " + names.tableA + " GROUP BY PROVIDER_ID,PROVIDER_NAME,STORE_ID) G",
        " LEFT OUTER JOIN SLAVE_ITEM S ON S.STORE_ID = G.STORE_ID",
    };
}

} // namespace

StatisticsPlan planStatistics(db::Executor& database, Scope scope)
{
    StatisticsPlan plan;
    plan.allStores = scope == Scope::AllStores;
    if (plan.allStores)
        plan.stores = work::readStores(database);
    return plan;
}

db::SqlLines fillStatistics(const StatisticsPlan& plan, const work::WorkNames& names)
{
    if (!plan.allStores)
        return ownStore(names);
    return plan.groups() >= 2 ? perStore(plan.stores, names) : perProviderAndStore(names);
}

} // namespace inquiry
