#pragma once
// Users of the desk for the tests: a connection to the fixture's database as a given user
// working under a given desk role. On the test server the user is real, with a password of
// its own; the embedded engine authenticates nobody, so there the name alone stands for the
// user, and the database applies the very same grants and guards.
#include "support/test_database.h"

#include <memory>
#include <string>

namespace testing_support {

// A user name unique to this test process and role, so parallel test programs on one server
// never change each other's users.
std::string deskUserName(const std::string& role);
// The password the test server knows `user` by (after connectAs).
std::string deskUserPassword(const std::string& user);

// Creates the user where a server authenticates, grants `role` and connects with it.
std::unique_ptr<db::Connection> connectAs(TestDatabase& database, const std::string& user, const std::string& role);

} // namespace testing_support
