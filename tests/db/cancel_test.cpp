#include "db/connection.h"

#include "support/test_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Waits as a window would, and cancels the run once the statement has run `cancelAfter`.
class CancellingWait : public db::StatementWait {
public:
    CancellingWait(db::Connection& connection, std::chrono::milliseconds cancelAfter)
        : connection_(connection), cancelAfter_(cancelAfter)
    {
    }
    void waitUntil(const std::function<bool()>& done) override
    {
        const auto started = Clock::now();
        while (!done()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (Clock::now() - started >= cancelAfter_ && !connection_.runCancelled())
                connection_.cancelRun();
        }
        ++waits;
    }
    void wake() override {}
    int waits = 0;

private:
    db::Connection& connection_;
    std::chrono::milliseconds cancelAfter_;
};

// Counting a cross join of the catalogue three times over takes minutes.
const char* const kLongStatement =
    "INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) SELECT 'S99', CAST(COUNT(*) AS VARCHAR(20)) "
    "FROM RDB$RELATION_FIELDS A, RDB$RELATION_FIELDS B, RDB$RELATION_FIELDS C";

class CancelTest : public ::testing::Test {
protected:
    std::string stores() { return connection.lookup("SELECT LIST(STORE_ID) FROM SLAVE_ITEM"); }

    testing_support::TestDatabase database;
    db::Connection& connection = database.connection();
};

TEST_F(CancelTest, ALongStatementStopsSoonAfterTheCancelAndItsTransactionKeepsNothing)
{
    CancellingWait wait(connection, std::chrono::milliseconds(300));
    const auto started = Clock::now();
    {
        connection.setStatementWait(&wait);
        db::Transaction transaction(connection);
        transaction.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S01', 'One')");
        EXPECT_THROW(transaction.execute(kLongStatement), db::Cancelled);
        // Whatever the run goes on to do is refused, its commit included.
        EXPECT_THROW(transaction.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S02', 'Two')"),
                     db::Cancelled);
        EXPECT_THROW(transaction.commit(), db::Cancelled);
    }
    connection.setStatementWait(nullptr);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(wait.waits, 2);

    // The connection serves as before, and the run left nothing.
    EXPECT_EQ(stores(), "");
    connection.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S03', 'Three')");
    EXPECT_EQ(stores(), "S03");
}

TEST_F(CancelTest, ACancelBetweenStatementsRefusesTheNextOneUntilTheRunEnds)
{
    CancellingWait wait(connection, std::chrono::hours(1));
    connection.setStatementWait(&wait);
    connection.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S01', 'One')");
    EXPECT_EQ(wait.waits, 1);
    connection.cancelRun();
    EXPECT_THROW(connection.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S02', 'Two')"),
                 db::Cancelled);
    connection.setStatementWait(nullptr);
    EXPECT_EQ(stores(), "S01");
    // An auto-committed statement that ran before the cancel stays; a run undoes those itself.
}

TEST_F(CancelTest, ACancelJustAfterTheStatementEndedStopsTheRunButNotTheNextOne)
{
    // The clerk cancels in the moment the statement is done: the run stops there, its
    // statement having committed on its own, and the connection serves the next run.
    class LateCancel : public db::StatementWait {
    public:
        explicit LateCancel(db::Connection& c) : connection(c) {}
        void waitUntil(const std::function<bool()>& done) override
        {
            while (!done())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            connection.cancelRun();
        }
        void wake() override {}
        db::Connection& connection;
    } late(connection);
    connection.setStatementWait(&late);
    EXPECT_THROW(connection.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S01', 'One')"),
                 db::Cancelled);
    connection.setStatementWait(nullptr);
    EXPECT_EQ(stores(), "S01");
    EXPECT_NO_THROW(connection.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S02', 'Two')"));
    db::Transaction transaction(connection);
    EXPECT_NO_THROW(transaction.execute("DELETE FROM SLAVE_ITEM"));
    transaction.commit();
    EXPECT_EQ(stores(), "");
}

} // namespace
