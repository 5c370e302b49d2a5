#include "demo/demo_database.h"

#include "demo/schema_loader.h"
#include "text/error.h"

#include <filesystem>

namespace demo {

std::unique_ptr<db::Connection> createDemoDatabase(const db::ConnectionParams& params, const DemoOptions& options)
{
    if (params.embedded() && std::filesystem::exists(params.database))
        throw text::UserError(text::formatMessage("%s exists already; it is left as it is.", params.database));

    // A demo database is rebuilt rather than recovered: the load runs without forced writes.
    auto connection = db::Connection::createDatabase(params, /*forcedWrites=*/false);
    try {
        createSchema(*connection);
        generateDemoData(*connection, options);
    } catch (...) {
        connection.reset();
        if (params.embedded()) {
            std::error_code ignored;
            std::filesystem::remove(params.database, ignored);
        }
        throw;
    }
    return connection;
}

} // namespace demo
