#include "support/test_database.h"

#include "demo/schema_loader.h"
#include "platform/ini_file.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace testing_support {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

TestDatabase::TestDatabase() : folder_(createTempFolder())
{
    // The database lies in the fixture's folder either way: a server on this machine opens
    // the same path, so removing the folder removes the database.
    std::string server = environment("DESK_TEST_SERVER");
    params_.database = server.empty() ? folder_ + "test.fdb" : server + ":" + folder_ + "test.fdb";
    params_.password = server.empty() ? "" : environment("DESK_TEST_PASSWORD");
    try {
        connection_ = db::Connection::createDatabase(params_, /*forcedWrites=*/false);
        demo::createSchema(*connection_);
    } catch (...) {
        connection_.reset();
        removeFolder(folder_);
        throw;
    }
}

TestDatabase::~TestDatabase()
{
    connection_.reset(); // detached before its file goes
    removeFolder(folder_);
}

std::unique_ptr<db::Connection> TestDatabase::connectAgain() const
{
    return std::make_unique<db::Connection>(params_);
}

void TestDatabase::writeConnectionFile(const std::string& folder) const
{
    platform::IniFile ini(folder + "connections.ini");
    ini.write("Kalder", "Database", params_.database);
    ini.write("Kalder", "User", params_.user);
    ini.write("Kalder", "Password", params_.password);
    ini.write("Kalder", "Role", params_.role);
    ini.write("Kalder", "Dialect", std::to_string(params_.dialect));
}

} // namespace testing_support
