#include "support/desk_users.h"

#include "db/sql.h"

#include <unistd.h>

namespace testing_support {

std::string deskUserName(const std::string& role)
{
    // DESK_CLERK -> T_CLERK_<pid>
    const std::string kind = role.rfind("DESK_", 0) == 0 ? role.substr(5) : role;
    return "T_" + kind + "_" + std::to_string(getpid());
}

std::string deskUserPassword(const std::string& user)
{
    return "pw-" + user + "-it's";
}

std::unique_ptr<db::Connection> connectAs(TestDatabase& database, const std::string& user, const std::string& role)
{
    db::ConnectionParams params = database.params();
    params.user = user;
    params.role = role;
    if (!params.embedded()) {
        params.password = deskUserPassword(user);
        database.connection().execute("CREATE OR ALTER USER " + user + " PASSWORD " + db::quote(params.password) +
                                      " USING PLUGIN Srp");
    } else {
        params.password.clear();
    }
    if (!role.empty())
        database.connection().execute("GRANT " + role + " TO USER " + user);
    return std::make_unique<db::Connection>(params);
}

} // namespace testing_support
