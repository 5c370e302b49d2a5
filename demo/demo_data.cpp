#include "demo/demo_data.h"

#include "demo/bulk_load.h"
#include "demo/demo_parts.h"
#include "text/error.h"

#include <string>

namespace demo {

void generateDemoData(db::Connection& connection, const DemoOptions& options)
{
    if (options.stores < 6 || options.stores > 12)
        throw text::UserError("The demo chain has 6 to 12 stores, not " + std::to_string(options.stores) + ".");
    // Names are drawn from a few thousand combinations of stem, trade and company form.
    if (options.providers < 10 || options.providers > 2000)
        throw text::UserError("The demo data has 10 to 2000 providers, not " + std::to_string(options.providers) + ".");
    if (options.bills < 0)
        throw text::UserError("The number of bills cannot be negative.");

    RandomSource random(options.seed);
    writeCompany(connection);
    const auto stores = writeStores(connection, options.stores);
    const auto accounts = writeAccounts(connection);
    const auto providers = writeProviders(connection, random, options.providers, accounts);
    SecondaryIndexesOff indexes(connection, {"PAY_MASTER", "PAY_MASTERU", "CHKPAY"});
    writeBillsAndCheques(connection, random, options.bills, stores, accounts, providers);
    indexes.rebuild();
}

} // namespace demo
