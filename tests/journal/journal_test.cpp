// The payment journal's parts: the checksum, the tables in a database that predates them, and
// the temporary files of the file protocol.
#include "journal/file_delivery.h"
#include "journal/journal_tables.h"
#include "journal/sha256.h"
#include "support/test_database.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;
using testing_support::TestDatabase;

TEST(Sha256, KnownVectors)
{
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqr"
         "stu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [input, digest] : cases) {
        EXPECT_EQ(journal::sha256Hex(input), digest) << input.size() << " bytes";
        EXPECT_EQ(journal::sha256HexPortable(input), digest) << input.size() << " bytes";
    }
}

// The processor's SHA instructions, where the machine has them, give the portable rounds'
// digest for every length around the block and padding edges and for varied bytes.
TEST(Sha256, ProcessorInstructionsAgreeWithThePortableRounds)
{
    std::string bytes;
    std::uint32_t seed = 12345;
    for (std::size_t size = 0; size <= 300; ++size) {
        ASSERT_EQ(journal::sha256Hex(bytes), journal::sha256HexPortable(bytes)) << size << " bytes";
        seed = seed * 1103515245u + 12345u;
        bytes += static_cast<char>(seed >> 16);
    }
    bytes.resize(200003, '\xA4');
    EXPECT_EQ(journal::sha256Hex(bytes), journal::sha256HexPortable(bytes));
}

// The chain's database predates the journal: the program adds it, says so once, and a
// database that has it is left alone.
TEST(JournalTables, AreCreatedInADatabaseWithoutThemAndLeftAloneAfter)
{
    TestDatabase database;
    db::Connection& db = database.connection();
    for (const char* drop : {"DROP TABLE PAY_RUN_CHEQUE", "DROP TABLE PAY_RUN_PLACED", "DROP TABLE PAY_RUN_FILE",
                             "DROP TABLE PAY_RUN_BILL", "DROP TABLE PAY_RUN", "DROP EXCEPTION E_PAY_JOURNAL_KEPT",
                             "DROP GENERATOR PAY_RUN_SEQ"})
        db.execute(drop);
    ASSERT_FALSE(journal::journalTablesPresent(db));

    const std::string message = journal::ensureJournalTables(db);
    EXPECT_NE(message.find("PAY_RUN"), std::string::npos) << message;
    EXPECT_TRUE(journal::journalTablesPresent(db));
    EXPECT_EQ(journal::ensureJournalTables(db), "");
    // The same objects as the schema's: the generator, the triggers that keep rows as written.
    EXPECT_EQ(db.lookup("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME STARTING WITH 'PAY_RUN'"), "5");
    db.execute("INSERT INTO PAY_RUN (RUN_ID, KIND) VALUES (NEXT VALUE FOR PAY_RUN_SEQ, 'REMIT')");
    EXPECT_THROW(db.execute("DELETE FROM PAY_RUN"), text::UserError);

    // A journal of an earlier version, without the cheque table, gets it added; its rows stay.
    db.execute("DROP TABLE PAY_RUN_CHEQUE");
    EXPECT_NE(journal::ensureJournalTables(db).find("PAY_RUN_CHEQUE"), std::string::npos);
    EXPECT_TRUE(journal::journalTablesPresent(db));
    EXPECT_EQ(db.lookup("SELECT COUNT(*) FROM PAY_RUN"), "1");
    db.execute("INSERT INTO PAY_RUN_CHEQUE (RUN_ID, CHEQUE_ID) VALUES (1, 'C1')");
    EXPECT_THROW(db.execute("DELETE FROM PAY_RUN_CHEQUE"), text::UserError);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

journal::FileEntry entryIn(const TempFolder& folder, std::string bytes)
{
    journal::FileEntry entry;
    entry.folder = folder.path();
    entry.name = "ABC.TXT";
    entry.tempName = journal::temporaryName("ABC.TXT", 7, 3);
    entry.records = 1;
    entry.bytes = std::move(bytes);
    return entry;
}

TEST(TemporaryFile, IsRefusedForAFinalNameThatCannotBeReplaced)
{
    TempFolder bank;
    const std::string target = bank.path() + "ABC.TXT";
    std::ofstream(target) << "yesterday's file\r\n";
    ::chmod(target.c_str(), 0444);
    try {
        journal::writeTemporary(entryIn(bank, "record\r\n"));
        FAIL() << "no error";
    } catch (const text::UserError& error) {
        EXPECT_NE(std::string(error.what()).find("Unable to write to"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("ABC.TXT"), std::string::npos);
    }
    EXPECT_EQ(filesIn(bank.path()), std::vector<std::string>{"ABC.TXT"});
    EXPECT_EQ(readFile(target), "yesterday's file\r\n");
}

// In a child process: the write runs with the file size limited to 1000 bytes (a full disk);
// exits 7 when it was refused.
[[noreturn]] void writeUnderFileSizeLimit(const journal::FileEntry& entry)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
        journal::writeTemporary(entry);
    } catch (const text::UserError&) {
        std::_Exit(7);
    }
    std::_Exit(0);
}

TEST(TemporaryFile, AWriteFailingHalfWayLeavesNothing)
{
    TempFolder bank;
    std::string content;
    for (int i = 0; i < 40; ++i)
        content += std::string(175, 'R') + "\r\n";
    const journal::FileEntry entry = entryIn(bank, content);
    EXPECT_EXIT(writeUnderFileSizeLimit(entry), ::testing::ExitedWithCode(7), "");
    EXPECT_TRUE(filesIn(bank.path()).empty());

    journal::writeTemporary(entry); // without the limit it goes through, under its temporary name
    EXPECT_EQ(filesIn(bank.path()), std::vector<std::string>{"ABC.TXT.run7-3.tmp"});
    EXPECT_EQ(readFile(bank.path() + entry.tempName), content);
}

} // namespace
