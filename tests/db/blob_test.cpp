// Bytes of any length and value through a BLOB parameter and back, in a transaction and on
// the connection's own short transactions.
#include "db/connection.h"

#include "support/test_database.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace {

class BlobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.execute("CREATE TABLE HELD_BYTES (ID INTEGER NOT NULL, BYTES BLOB SUB_TYPE 0)");
    }

    // Every byte value, over several segments and not a whole number of them.
    static std::string allByteValues(std::size_t size)
    {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 7 + i / 256) % 256);
        return bytes;
    }

    testing_support::TestDatabase database;
    db::Connection& connection = database.connection();
};

TEST_F(BlobTest, BytesGoInWholeAndComeBackUnchanged)
{
    const std::string bytes = allByteValues(200003);
    {
        db::Transaction transaction(connection);
        EXPECT_EQ(transaction.executeWithBytes("INSERT INTO HELD_BYTES (ID, BYTES) VALUES (1, ?)", bytes), 1);
        EXPECT_EQ(transaction.blobLookup("SELECT BYTES FROM HELD_BYTES WHERE ID = 1"), bytes);
        transaction.commit();
    }
    EXPECT_EQ(connection.blobLookup("SELECT BYTES FROM HELD_BYTES WHERE ID = 1"), bytes);
    EXPECT_EQ(connection.lookup("SELECT OCTET_LENGTH(BYTES) FROM HELD_BYTES WHERE ID = 1"), "200003");

    EXPECT_EQ(connection.executeWithBytes("INSERT INTO HELD_BYTES (ID, BYTES) VALUES (2, ?)", ""), 1);
    EXPECT_EQ(connection.blobLookup("SELECT BYTES FROM HELD_BYTES WHERE ID = 2"), "");
    EXPECT_EQ(connection.blobLookup("SELECT BYTES FROM HELD_BYTES WHERE ID = 3"), ""); // no row
}

TEST_F(BlobTest, ARolledBackInsertLeavesNoRow)
{
    {
        db::Transaction transaction(connection);
        transaction.executeWithBytes("INSERT INTO HELD_BYTES (ID, BYTES) VALUES (1, ?)", allByteValues(70000));
    }
    EXPECT_EQ(connection.lookup("SELECT COUNT(*) FROM HELD_BYTES"), "0");
}

TEST_F(BlobTest, AStatementWithoutOneBlobParameterIsRefused)
{
    EXPECT_THROW(connection.executeWithBytes("INSERT INTO HELD_BYTES (ID, BYTES) VALUES (?, ?)", "x"), text::UserError);
    EXPECT_THROW(connection.executeWithBytes("INSERT INTO HELD_BYTES (ID) VALUES (?)", "x"), text::UserError);
    EXPECT_THROW(connection.blobLookup("SELECT ID FROM HELD_BYTES"), text::UserError);
    EXPECT_EQ(connection.lookup("SELECT COUNT(*) FROM HELD_BYTES"), "0");
}

} // namespace
