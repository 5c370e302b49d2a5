#include "db/connection.h"

#include "support/held_rows.h"
#include "support/test_database.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override { connection.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S01', 'One')"); }
    std::string storeName(db::Executor& executor)
    {
        return executor.lookup("SELECT STORE_NAME FROM SLAVE_ITEM WHERE STORE_ID = 'S01'");
    }

    testing_support::TestDatabase database;
    db::Connection& connection = database.connection();
};

TEST_F(TransactionTest, CommitMakesAllStatementsVisibleTogether)
{
    auto other = database.connectAgain();
    db::Transaction transaction(connection);
    EXPECT_EQ(transaction.execute("UPDATE SLAVE_ITEM SET STORE_NAME = 'Two' WHERE STORE_ID = 'S01'"), 1);
    EXPECT_EQ(transaction.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S02', 'New')"), 1);
    // Inside, the changes are seen; outside, not yet.
    EXPECT_EQ(storeName(transaction), "Two");
    EXPECT_EQ(transaction.query("SELECT * FROM SLAVE_ITEM").rowCount(), 2u);
    EXPECT_EQ(storeName(*other), "One");
    EXPECT_EQ(other->lookup("SELECT COUNT(*) FROM SLAVE_ITEM"), "1");
    transaction.commit();
    EXPECT_EQ(storeName(*other), "Two");
    EXPECT_EQ(other->lookup("SELECT COUNT(*) FROM SLAVE_ITEM"), "2");
}

TEST_F(TransactionTest, AFailingSecondStatementLeavesNothingOfTheFirst)
{
    try {
        db::Transaction transaction(connection);
        transaction.execute("UPDATE SLAVE_ITEM SET STORE_NAME = 'Two' WHERE STORE_ID = 'S01'");
        transaction.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S01', 'Duplicate')");
        transaction.commit();
        FAIL() << "the duplicate key was accepted";
    } catch (const text::UserError& e) {
        EXPECT_NE(std::string(e.what()).find("PK_SLAVE_ITEM"), std::string::npos) << e.what();
    }
    EXPECT_EQ(storeName(connection), "One");
    EXPECT_EQ(connection.lookup("SELECT COUNT(*) FROM SLAVE_ITEM"), "1");
}

TEST_F(TransactionTest, ExplicitRollbackUndoesAndEndsIt)
{
    db::Transaction transaction(connection);
    transaction.execute("DELETE FROM SLAVE_ITEM");
    transaction.rollback();
    EXPECT_EQ(storeName(connection), "One");
    EXPECT_THROW(transaction.execute("DELETE FROM SLAVE_ITEM"), std::logic_error);
    EXPECT_THROW(transaction.commit(), std::logic_error);
}

TEST_F(TransactionTest, DestroyedWithoutCommitItRollsBackAndReleasesItsRows)
{
    auto other = database.connectAgain();
    {
        db::Transaction transaction(connection);
        transaction.execute("UPDATE SLAVE_ITEM SET STORE_NAME = 'Mine' WHERE STORE_ID = 'S01'");
        // Another clerk reading (read committed, record versions) is not held up.
        EXPECT_EQ(storeName(*other), "One");
    } // destroyed without commit: rolled back, the lock is gone
    EXPECT_EQ(other->execute("UPDATE SLAVE_ITEM SET STORE_NAME = 'Theirs' WHERE STORE_ID = 'S01'"), 1);
    EXPECT_EQ(storeName(connection), "Theirs");
}

} // namespace

// A statement that waited on rows another workstation changed meets an update conflict once
// that workstation commits; run on its own, it is tried again and goes through.
TEST_F(TransactionTest, AnAutoCommittedStatementThatMeetsAConflictIsTriedAgain)
{
    auto other = database.connectAgain();
    db::Transaction holding(*other);
    holding.execute("UPDATE SLAVE_ITEM SET STORE_NAME = 'Other' WHERE STORE_ID = 'S01'");

    std::thread waiting(
        [&] { connection.execute("UPDATE SLAVE_ITEM SET STORE_NAME = 'Mine' WHERE STORE_ID = 'S01'"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    holding.commit();
    waiting.join();

    EXPECT_EQ(storeName(connection), "Mine");
}

// A transaction with a bounded lock wait gives up on rows another attachment holds once the
// bound has passed, with the text its options give, and changes nothing. (The other
// attachment lets go after twenty seconds at the latest, so an unbounded wait comes back.)
TEST_F(TransactionTest, ABoundedLockWaitGivesUpWithItsMessageAndChangesNothing)
{
    std::chrono::steady_clock::duration waited{};
    {
        testing_support::HeldRows other(database, "UPDATE SLAVE_ITEM SET STORE_NAME = 'Other' WHERE STORE_ID = 'S01'");
        const auto start = std::chrono::steady_clock::now();
        db::Transaction bounded(connection, db::TransactionOptions{2, "held elsewhere"});
        EXPECT_EQ(bounded.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S09', 'Nine')"), 1);
        try {
            bounded.execute("UPDATE SLAVE_ITEM SET STORE_NAME = 'Mine' WHERE STORE_ID = 'S01'");
            ADD_FAILURE() << "the update went through a held row";
        } catch (const text::UserError& e) {
            EXPECT_STREQ(e.what(), "held elsewhere");
        }
        waited = std::chrono::steady_clock::now() - start;
    } // given up: rolled back, and the other attachment lets go
    // It did wait (the server counts the bound in whole seconds, from its own tick).
    EXPECT_GE(waited, std::chrono::milliseconds(500));
    EXPECT_LT(waited, std::chrono::seconds(8));
    EXPECT_EQ(storeName(connection), "One");
    EXPECT_EQ(connection.lookup("SELECT COUNT(*) FROM SLAVE_ITEM"), "1");
}
