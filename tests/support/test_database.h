#pragma once
// A fresh database per fixture, created from demo/schema.sql in a temporary folder through
// the embedded engine (forced writes off for speed). With DESK_TEST_SERVER set (e.g.
// "127.0.0.1") the database is created on that Firebird server instead, with the password
// of DESK_TEST_PASSWORD, so the same tests run against a real server.
#include "db/connection.h"
#include "support/temp_folder.h"

#include <memory>
#include <string>

namespace testing_support {

class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();

    db::Connection& connection() { return *connection_; }
    // Another attachment to the same database: a second workstation.
    std::unique_ptr<db::Connection> connectAgain() const;
    const db::ConnectionParams& params() const { return params_; }
    // A temporary folder of the fixture's own (trailing '/'), removed with it.
    const std::string& folder() const { return folder_; }
    // Writes connections.ini with the "Kalder" definition into `folder`.
    void writeConnectionFile(const std::string& folder) const;

private:
    std::string folder_;
    db::ConnectionParams params_;
    std::unique_ptr<db::Connection> connection_;
};

} // namespace testing_support
