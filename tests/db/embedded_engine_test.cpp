#include "db/connection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The embedded engine's default lock folder belongs to the server's user; a clerk who is not
// root must be able to open a database without setting anything up. The check runs in a
// fresh process that gives up root before the client library is first used.
TEST(EmbeddedEngine, AClerkWhoIsNotRootOpensADatabaseWithoutAnySetUp)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to become another user";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const uid_t nobody = 65534;
    EXPECT_EXIT(
        {
            std::string folder = (std::filesystem::temp_directory_path() / "desk-clerk-XXXXXX").string();
            if (!mkdtemp(folder.data()) || chown(folder.c_str(), nobody, nobody) != 0)
                std::_Exit(2);
            unsetenv("FIREBIRD_LOCK");
            unsetenv("FIREBIRD_TMP");
            unsetenv("XDG_RUNTIME_DIR");
            if (setgid(nobody) != 0 || setuid(nobody) != 0)
                std::_Exit(3);
            int code = 1;
            try {
                db::ConnectionParams params;
                params.database = folder + "/clerk.fdb";
                auto connection = db::Connection::createDatabase(params, false);
                connection->execute("CREATE TABLE T (A INTEGER)");
                connection->execute("INSERT INTO T VALUES (7)");
                if (connection->lookup("SELECT A FROM T") == "7")
                    code = 0;
            } catch (const std::exception& e) {
                fprintf(stderr, "%s\n", e.what());
            }
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
            std::_Exit(code);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
