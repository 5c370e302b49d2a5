// Remitting from the remittance grid: stamps in the payment books, copies into WorkTableC,
// the output routine as the last step, and the refusals that keep books and files in step.
#include "remittance/remit.h"
#include "platform/failpoint.h"
#include "remit_fixture.h"
#include "remittance/clear_remittance_dates.h"
#include "remittance/select_all.h"
#include "support/held_rows.h"
#include "text/error.h"
#include "work/press_transaction.h"

#include <optional>

#include <gmock/gmock.h>

#include <chrono>
#include <functional>

using testing::ElementsAre;
using testing::HasSubstr;

namespace testing_support {
namespace {

TEST_F(Remit, AllWithStampingStampsEveryBillAndCopiesItWithTheDate)
{
    confirm(conditions());
    remit(RemitScope::AllRows, options());

    for (const char* key : {"B1", "B2", "B3"})
        EXPECT_EQ(ownBankDate(key), kDate) << key;
    const db::RecordSet c = copied();
    EXPECT_THAT(column(c, "MASTERBILLID"), ElementsAre("B1", "B2", "B3"));
    EXPECT_THAT(column(c, "BANK_DATE"), ElementsAre(kDate, kDate, kDate));
    EXPECT_THAT(column(c, "AMT2"), ElementsAre("990", "2000", "2990"));
    EXPECT_THAT(column(listAfter(), "BANK_DATE"), ElementsAre(kDate, kDate, kDate));
    EXPECT_EQ(outputRuns, 1);
    EXPECT_TRUE(messages.informed.empty());
}

TEST_F(Remit, AllWithoutStampingLeavesTheBooksAndCopiesEarlierDates)
{
    auto conditions = this->conditions();
    conditions.state = RemittanceState::Either;
    exec("UPDATE PAY_MASTER SET BANK_DATE = '2023/12/01' WHERE MASTERBILLID = 'B2'");
    confirm(conditions);
    remit(RemitScope::AllRows, options(false));

    EXPECT_EQ(ownBankDate("B1"), "<null>");
    EXPECT_EQ(ownBankDate("B2"), "2023/12/01");
    EXPECT_THAT(column(copied(), "BANK_DATE"), ElementsAre("", "2023/12/01", ""));
    EXPECT_THAT(column(listAfter(), "BANK_DATE"), ElementsAre("", "2023/12/01", ""));
    EXPECT_EQ(outputRuns, 1);
}

TEST_F(Remit, SelectiveTakesOnlyTickedRowsAndAlwaysCopiesTheDate)
{
    for (const bool stamp : {true, false}) {
        outputRuns = 0;
        confirm(conditions());
        tick("B2");
        remit(RemitScope::TickedRows, options(stamp));
        EXPECT_EQ(ownBankDate("B1"), "<null>");
        EXPECT_EQ(ownBankDate("B2"), stamp ? kDate : "<null>") << stamp;
        const db::RecordSet c = copied();
        EXPECT_THAT(column(c, "MASTERBILLID"), ElementsAre("B2"));
        EXPECT_THAT(column(c, "BANK_DATE"), ElementsAre(kDate));
        EXPECT_TRUE(c.isNull(0, c.fieldIndex("CHKED"))); // ticks made by hand never reach the tables
        EXPECT_THAT(column(listAfter(), "BANK_DATE"), ElementsAre("", "", ""));
        EXPECT_EQ(outputRuns, 1);
        exec("UPDATE PAY_MASTER SET BANK_DATE = NULL");
    }
}

TEST_F(Remit, SelectiveWithNothingTickedStillRunsTheOutputRoutine)
{
    confirm(conditions());
    remit(RemitScope::TickedRows, options());
    for (const char* key : {"B1", "B2", "B3"})
        EXPECT_EQ(ownBankDate(key), "<null>");
    EXPECT_EQ(copied().rowCount(), 0u);
    EXPECT_EQ(outputRuns, 1);
}

TEST_F(Remit, JointBooksStampBothBooksWithTheJointKey)
{
    Bill b;
    b.joint = true;
    b.key = "J1";
    addBill(b);
    b.key = "J2";
    addBill(b);
    addBill("J1", 50, "P2"); // the own book's bill that shares the joint key
    auto conditions = this->conditions();
    conditions.books = Books::Joint;
    for (const RemitScope scope : {RemitScope::AllRows, RemitScope::TickedRows}) {
        exec("UPDATE PAY_MASTER SET BANK_DATE = NULL");
        exec("UPDATE PAY_MASTERU SET BANK_DATE = NULL");
        confirm(conditions);
        tick("J1");
        remit(scope, options(true, Books::Joint));
        EXPECT_EQ(jointBankDate("J1"), kDate);
        EXPECT_EQ(ownBankDate("J1"), kDate);
        EXPECT_EQ(jointBankDate("J2"), scope == RemitScope::AllRows ? kDate : "<null>");
        EXPECT_EQ(ownBankDate("B1"), "<null>"); // own bills outside the list stay as they were
    }
}

TEST_F(Remit, SelectAllReplacesHandTicks)
{
    confirm(conditions());
    tick("B1");
    grid.setText(1, "CHKED", "N");
    remittance::selectAll(desk);

    EXPECT_THAT(column(grid, "CHKED"), ElementsAre("Y", "Y", "Y"));
    EXPECT_THAT(column(rowsOf(tables.names().tableA), "CHKED"), ElementsAre("Y", "Y", "Y"));
    EXPECT_THAT(std::vector<std::string>(progress.lines.end() - 3, progress.lines.end()),
                ElementsAre("CAST7 .....0", "CAST7 .....1", "CAST7 .....2"));

    remit(RemitScope::TickedRows, options());
    EXPECT_THAT(column(copied(), "CHKED"), ElementsAre("Y", "Y", "Y"));
}

TEST_F(Remit, ClearingTakesEveryBillOfTheTickedProvidersInEveryStore)
{
    addStore("S1", "一店");
    addStore("S2", "二店");
    Bill b;
    b.joint = true;
    b.bankDate = "2024/01/05";
    b.provider = "P1";
    for (const auto& [key, store] : {std::pair{"J1", "S1"}, {"J2", "S2"}, {"J3", "S1"}}) {
        b.key = key;
        b.store = store;
        addBill(b);
        addBill(key, 10, "P1");
        exec(std::string("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/05' WHERE MASTERBILLID = '") + key + "'");
    }
    b.key = "J4";
    b.store = "S2";
    b.provider = "P2";
    addBill(b);

    auto conditions = this->conditions();
    conditions.books = Books::Joint;
    conditions.state = RemittanceState::Remitted;
    conditions.storeComboText = "S1,x";
    confirm(conditions);
    ASSERT_EQ(grid.rowCount(), 2u); // J1 and J3 of store S1
    tick("J1");
    tick("J3"); // the same provider twice: same result as once
    clear(Books::Joint);

    for (const char* key : {"J1", "J2", "J3"}) {
        EXPECT_EQ(jointBankDate(key), "<null>") << key;
        EXPECT_EQ(ownBankDate(key), "<null>") << key;
    }
    EXPECT_EQ(jointBankDate("J4"), "2024/01/05");
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_EQ(grid.rowCount(), 2u);
    EXPECT_EQ(grid.text(0, "BANK_DATE"), "2024/01/05"); // grid and tables keep their dates
}

TEST_F(Remit, ClearingWithOwnBooksLeavesTheJointBook)
{
    exec("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/05'");
    Bill b;
    b.joint = true;
    b.key = "B1";
    b.bankDate = "2024/01/05";
    addBill(b);
    auto conditions = this->conditions();
    conditions.state = RemittanceState::Remitted;
    confirm(conditions);
    tick("B2");
    clear(Books::OwnStore);
    EXPECT_EQ(ownBankDate("B1"), "2024/01/05");
    EXPECT_EQ(ownBankDate("B2"), "<null>");
    EXPECT_EQ(jointBankDate("B1"), "2024/01/05");
}

// ---- the grid and the work tables out of step

TEST_F(Remit, EveryHandlerRefusesAGridNoLongerBackedByItsRun)
{
    const std::function<void()> breakings[] = {
        [this] { tables.dropAll(); },                 // a report or a drop
        [this] { tables.prologue(progress, false); }, // another tab's run
        [this] { grid.clear(); },                     // grid closed
        [this] {                                      // a condition confirm stopped at its checks
            auto c = conditions();
            c.accountComboText = "";
            confirm(c);
        },
    };
    for (const auto& breakRun : breakings) {
        exec("UPDATE PAY_MASTER SET BANK_DATE = NULL");
        confirm(conditions());
        tick("B1");
        breakRun();
        messages.informed.clear();
        outputRuns = 0;
        remit(RemitScope::AllRows, options());
        remit(RemitScope::TickedRows, options());
        clear(Books::OwnStore);
        remittance::selectAll(desk);
        EXPECT_EQ(messages.informed, std::vector<std::string>(4, "請重新 條件確認...... "));
        EXPECT_EQ(ownBankDate("B1"), "<null>");
        EXPECT_EQ(outputRuns, 0);
    }
}

// The two books key their bills by different numbers: a list read from one book must not
// stamp or clear the other book's bills that happen to carry the same keys.
TEST_F(Remit, APressWithTheOtherBooksChosenThanTheListIsRefused)
{
    Bill b;
    b.joint = true;
    b.key = "B1"; // a joint bill whose key is also an own-store bill's key
    addBill(b);
    exec("UPDATE PAY_MASTERU SET BANK_DATE = '2023/12/01'");
    confirm(conditions()); // own-store books
    tick("B1");
    remit(RemitScope::AllRows, options(true, Books::Joint));
    remit(RemitScope::TickedRows, options(true, Books::Joint));
    clear(Books::Joint);
    EXPECT_EQ(messages.informed, std::vector<std::string>(3, "請重新 條件確認...... "));
    EXPECT_EQ(ownBankDate("B1"), "<null>");
    EXPECT_EQ(jointBankDate("B1"), "2023/12/01");
    EXPECT_EQ(outputRuns, 0);

    // With the list's own books chosen the press goes ahead.
    remit(RemitScope::AllRows, options(true, Books::OwnStore));
    EXPECT_EQ(ownBankDate("B1"), kDate);
    EXPECT_EQ(jointBankDate("B1"), "2023/12/01");
}

TEST_F(Remit, TablesRecreatedUnderTheSameNamesAreNotThisRunsTables)
{
    tables.setClock([] { return std::string("101010"); });
    confirm(conditions());
    const work::WorkNames names = tables.names();
    // Another tab's run in the same second forms the same names and builds its own tables.
    tables.prologue(progress, false);
    ASSERT_EQ(tables.names().tableA, names.tableA);
    tables.names().tableD = names.tableD;
    for (const std::string& name : {names.tableA, names.tableB, names.tableC, names.tableD})
        db().execute("CREATE TABLE " + name + " (MASTERBILLID VARCHAR(20))");
    messages.informed.clear();
    remit(RemitScope::AllRows, options());
    EXPECT_THAT(messages.informed, ElementsAre("請重新 條件確認...... "));
    EXPECT_EQ(ownBankDate("B1"), "<null>");
}

TEST_F(Remit, ASecondPressNeedsANewConditionConfirm)
{
    confirm(conditions());
    remit(RemitScope::AllRows, options());
    ASSERT_EQ(outputRuns, 1);
    remit(RemitScope::AllRows, options());
    EXPECT_THAT(messages.informed, ElementsAre("請重新 條件確認...... "));
    EXPECT_EQ(copied().rowCount(), 3u);
    EXPECT_EQ(outputRuns, 1);
}

TEST_F(Remit, InvalidRemittanceDateStopsBeforeAnyStatement)
{
    confirm(conditions());
    auto o = options();
    o.remittanceDateText = "    /  /  ";
    EXPECT_THROW(remit(RemitScope::AllRows, o), text::UserError);
    EXPECT_EQ(ownBankDate("B1"), "<null>");
    EXPECT_EQ(outputRuns, 0);
}

// ---- one press, one transaction

TEST_F(Remit, AFailingStampRollsBackEveryStampOfThePress)
{
    exec("CREATE EXCEPTION E_REFUSED 'bill refused'");
    db().execute("CREATE TRIGGER T_REFUSE FOR PAY_MASTER BEFORE UPDATE AS BEGIN "
                 "IF (NEW.MASTERBILLID = 'B3') THEN EXCEPTION E_REFUSED; END");
    confirm(conditions());
    EXPECT_THROW(remit(RemitScope::AllRows, options()), text::UserError);
    for (const char* key : {"B1", "B2", "B3"})
        EXPECT_EQ(ownBankDate(key), "<null>") << key;
    EXPECT_EQ(copied().rowCount(), 0u);
    EXPECT_EQ(outputRuns, 0);
}

TEST_F(Remit, AFailingCopyRollsBackTheStamps)
{
    confirm(conditions());
    tick("B1");
    exec("CREATE EXCEPTION E_FULL 'no room'");
    db().execute("CREATE TRIGGER T_FULL FOR " + tables.names().tableC +
                 " BEFORE INSERT AS BEGIN EXCEPTION E_FULL; END");
    try {
        remit(RemitScope::TickedRows, options());
        FAIL() << "no error";
    } catch (const text::UserError& error) {
        EXPECT_THAT(error.what(), HasSubstr("no room"));
    }
    EXPECT_EQ(ownBankDate("B1"), "<null>");
    EXPECT_EQ(outputRuns, 0);
}

// ---- rows that no transfer record can carry

TEST_F(Remit, RowsNoTransferRecordCanCarryStopTheWholePress)
{
    Provider p;
    p.id = "P7";
    p.bankId = "01700012";   // 8 bytes
    p.accountNo = "12-3456"; // not digits
    addProvider(p);
    addBill("B7", 500, "P7");
    addBill("B8", -20, "P2"); // a negative amount to remit
    confirm(conditions());
    messages.informed.clear();
    remit(RemitScope::AllRows, options());

    ASSERT_EQ(messages.informed.size(), 1u);
    const std::string& message = messages.informed[0];
    EXPECT_THAT(message, HasSubstr("廠商 P7 單據 B7: 銀行代號超過 7 碼、帳號不是數字"));
    EXPECT_THAT(message, HasSubstr("廠商 P2 單據 B8: 匯款金額不大於 0"));
    EXPECT_THAT(message, testing::Not(HasSubstr("B1")));
    for (const char* key : {"B1", "B2", "B7", "B8"})
        EXPECT_EQ(ownBankDate(key), "<null>") << key;
    EXPECT_EQ(copied().rowCount(), 0u);
    EXPECT_EQ(outputRuns, 0);

    // Only the rows being remitted count; without files nothing is checked.
    messages.informed.clear();
    tick("B1");
    remit(RemitScope::TickedRows, options());
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_EQ(ownBankDate("B1"), kDate);
    confirm(conditions());
    remit(RemitScope::AllRows, options(false));
    EXPECT_EQ(copied().rowCount(), 4u);
}

// ---- the same bill paid twice

TEST_F(Remit, BillsStampedMeanwhileAreLeftOutOfAnUnremittedList)
{
    // A second workstation lists the same bills and remits B2 first.
    auto second = database.connectAgain();
    work::WorkTables secondTables(*second, work::connectionSuffix(second->connectionId()),
                                  report::handOverFiles(exeFolder.path()));
    RecordingProgress secondProgress;
    RecordingMessages secondMessages;
    db::RecordSet secondGrid;
    remittance::ListedRun secondRun;
    remittance::RemittanceDesk secondDesk{*second,    secondTables, secondProgress, secondMessages,
                                          secondGrid, secondRun,    reports};

    confirm(conditions());
    remittance::ConfirmOutputs none;
    remittance::confirmRemittance(secondDesk, conditions(), none);
    for (std::size_t r = 0; r < secondGrid.rowCount(); ++r)
        if (secondGrid.text(r, "MASTERBILLID") == "B2")
            secondGrid.setText(r, "CHKED", "Y");
    auto earlier = options();
    earlier.remittanceDateText = "2024/01/31";
    remittance::remit(secondDesk, RemitScope::TickedRows, earlier);
    ASSERT_EQ(ownBankDate("B2"), "2024/01/31");

    remit(RemitScope::AllRows, options());
    EXPECT_EQ(ownBankDate("B1"), kDate);
    EXPECT_EQ(ownBankDate("B2"), "2024/01/31"); // not stamped again
    EXPECT_EQ(ownBankDate("B3"), kDate);
    EXPECT_THAT(column(copied(), "MASTERBILLID"), ElementsAre("B1", "B3"));
    ASSERT_EQ(messages.informed.size(), 1u);
    EXPECT_THAT(messages.informed[0], HasSubstr("廠商 P2 單據 B2"));
    EXPECT_THAT(messages.informed[0], testing::Not(HasSubstr("B1")));
    EXPECT_EQ(outputRuns, 1);
}

TEST_F(Remit, TickedBillsStampedMeanwhileAreLeftOutToo)
{
    for (const Books books : {Books::OwnStore, Books::Joint}) {
        SCOPED_TRACE(static_cast<int>(books));
        exec("DELETE FROM PAY_MASTERU");
        exec("UPDATE PAY_MASTER SET BANK_DATE = NULL");
        for (const char* key : {"B1", "B2", "B3"}) {
            Bill b;
            b.joint = true;
            b.key = key;
            addBill(b);
        }
        auto conditions = this->conditions();
        conditions.books = books;
        confirm(conditions);
        tick("B1");
        tick("B2");
        exec(std::string("UPDATE ") + remittance::booksTable(books) + " SET BANK_DATE = '2024/01/30' WHERE " +
             remittance::booksKey(books) + " = 'B2'");
        messages.informed.clear();
        remit(RemitScope::TickedRows, options(true, books));
        EXPECT_EQ(bankDate(remittance::booksTable(books), remittance::booksKey(books), "B1"), kDate);
        EXPECT_EQ(bankDate(remittance::booksTable(books), remittance::booksKey(books), "B2"), "2024/01/30");
        EXPECT_THAT(column(copied(), "MASTERBILLID"), ElementsAre("B1"));
        EXPECT_EQ(messages.informed.size(), 1u);
    }
}

TEST_F(Remit, RemittedListsStampAgain)
{
    exec("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/05'");
    auto conditions = this->conditions();
    conditions.state = RemittanceState::Remitted;
    confirm(conditions);
    remit(RemitScope::AllRows, options());
    for (const char* key : {"B1", "B2", "B3"})
        EXPECT_EQ(ownBankDate(key), kDate);
    EXPECT_EQ(copied().rowCount(), 3u);
    EXPECT_TRUE(messages.informed.empty());
}

// Another workstation's press holds one of the bills (an unstamped bill it is stamping, not
// yet committed): remitting (an "未 匯 款" list and a "不分匯款" list) and clearing wait a few
// seconds at most, then stop with the message and change nothing; the held bill is not taken
// for one that was stamped meanwhile.
TEST_F(Remit, PressMeetingAnotherWorkstationsLockStopsWithinTheBoundAndChangesNothing)
{
    struct Case {
        const char* name;
        RemittanceState listed;
        std::function<void()> press;
        const char* heldBillListedAs; // B2's stamp when listed ("" for none)
    };
    const Case cases[] = {
        {"remit all of an unremitted list", RemittanceState::NotRemitted,
         [this] { remit(RemitScope::AllRows, options()); }, ""},
        {"remit the ticked of a list of any state", RemittanceState::Either,
         [this] {
             tick("B1");
             tick("B2");
             remit(RemitScope::TickedRows, options());
         },
         ""},
        // A clearing leaves an unstamped bill alone without waiting: the held bill is stamped.
        {"clear the ticked", RemittanceState::Either,
         [this] {
             tick("B2");
             remittance::clearRemittanceDates(desk, Books::OwnStore);
         },
         "2024/01/06"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("UPDATE PAY_MASTER SET BANK_DATE = NULL");
        exec("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/05' WHERE MASTERBILLID = 'B3'");
        if (*c.heldBillListedAs)
            exec(std::string("UPDATE PAY_MASTER SET BANK_DATE = '") + c.heldBillListedAs +
                 "' WHERE MASTERBILLID = 'B2'");
        remittance::ConfirmConditions listed = conditions();
        listed.state = c.listed;
        confirm(listed);
        outputRuns = 0;
        messages.informed.clear();
        std::chrono::steady_clock::duration waited{};
        {
            HeldRows otherPress(database, "UPDATE PAY_MASTER SET BANK_DATE = '2024/01/09' WHERE MASTERBILLID = 'B2'");
            const auto start = std::chrono::steady_clock::now();
            try {
                c.press();
                ADD_FAILURE() << "the press went through a bill another workstation holds";
            } catch (const text::UserError& e) {
                EXPECT_STREQ(e.what(), work::kBillsHeldElsewhere);
            }
            waited = std::chrono::steady_clock::now() - start;
        }
        EXPECT_LT(waited, std::chrono::seconds(work::kPressLockWaitSeconds + 4));
        EXPECT_EQ(ownBankDate("B1"), "<null>");
        EXPECT_EQ(ownBankDate("B2"), *c.heldBillListedAs ? c.heldBillListedAs : "<null>");
        EXPECT_EQ(ownBankDate("B3"), "2024/01/05");
        EXPECT_EQ(copied().rowCount(), 0u);
        EXPECT_EQ(outputRuns, 0);
        EXPECT_TRUE(messages.informed.empty());
    }
}

} // namespace
} // namespace testing_support
