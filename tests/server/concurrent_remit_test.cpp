// Two clerks remitting overlapping unremitted bills at the same time, each on a workstation of
// its own: every bill is stamped once and lies in exactly one transfer file, each file holds
// exactly the bills its clerk stamped, and whoever came second is told which bills were left
// out. A bill the other clerk holds is waited for, as the server handles a lock.
#include "text/error.h"
#include "workstation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <latch>
#include <set>
#include <thread>

namespace server_tests {
namespace {

struct Clerk {
    Workstation* station;
    std::string date;    // remittance date, also how its stamps are told apart
    std::string rocDate; // the date field of its transfer records
    std::string error;   // what a failed press showed
};

class ConcurrentRemit : public ::testing::Test {
protected:
    TestDatabase books;
    SharedBooks bills{books.connection()};

    // Both clerks press "全部匯款" at the same moment, each in its own thread with its own
    // connection.
    void remitTogether(Clerk& a, Clerk& b)
    {
        std::latch start(2);
        auto press = [&start](Clerk& clerk) {
            start.arrive_and_wait();
            try {
                clerk.station->remitAll(clerk.date);
            } catch (const text::UserError& error) {
                clerk.error = error.what();
            }
        };
        std::thread first(press, std::ref(a));
        std::thread second(press, std::ref(b));
        first.join();
        second.join();
    }

    // The bills in a clerk's transfer file, each checked to carry the clerk's date.
    std::multiset<int> filed(const Clerk& clerk)
    {
        std::multiset<int> found;
        for (const std::string& record : clerk.station->transferRecords()) {
            EXPECT_EQ(SharedBooks::dateOf(record), clerk.rocDate);
            found.insert(SharedBooks::billOf(record));
        }
        return found;
    }

    std::multiset<int> stampedWith(const std::string& date)
    {
        std::multiset<int> found;
        for (const auto& [bill, stamp] : bills.stamped())
            if (stamp == date)
                found.insert(bill);
        return found;
    }

    // Checks the outcome for two clerks whose lists were `listedA` and `listedB`.
    void expectEveryBillOnce(const Clerk& a, const Clerk& b, const std::set<int>& listedA, const std::set<int>& listedB)
    {
        EXPECT_EQ(a.error, "");
        EXPECT_EQ(b.error, "");
        const std::multiset<int> stampedA = stampedWith(a.date), stampedB = stampedWith(b.date);
        EXPECT_EQ(filed(a), stampedA);
        EXPECT_EQ(filed(b), stampedB);

        // Nothing lost, nothing twice: the lists' union is stamped, each bill by one clerk, and
        // only from that clerk's own list.
        std::set<int> everyListed(listedA.begin(), listedA.end());
        everyListed.insert(listedB.begin(), listedB.end());
        std::set<int> everyStamped;
        for (const auto& [bill, stamp] : bills.stamped())
            everyStamped.insert(bill);
        EXPECT_EQ(everyStamped, everyListed);
        EXPECT_EQ(stampedA.size() + stampedB.size(), everyListed.size());
        for (int bill : stampedA)
            EXPECT_TRUE(listedA.count(bill)) << bill;
        for (int bill : stampedB)
            EXPECT_TRUE(listedB.count(bill)) << bill;

        // A clerk who lost bills to the other is told exactly those.
        for (const Clerk* clerk : {&a, &b}) {
            const std::set<int>& listed = clerk == &a ? listedA : listedB;
            const std::multiset<int>& got = clerk == &a ? stampedA : stampedB;
            std::vector<std::string> lostKeys;
            for (int bill : listed)
                if (!got.count(bill))
                    lostKeys.push_back(SharedBooks::key(bill));
            const auto& informed = clerk->station->messages.informed;
            if (lostKeys.empty()) {
                EXPECT_TRUE(informed.empty()) << clerk->date;
                continue;
            }
            ASSERT_EQ(informed.size(), 1u) << clerk->date;
            EXPECT_NE(informed[0].find("已由他人匯款"), std::string::npos);
            EXPECT_EQ(billsListedIn(informed[0]), lostKeys) << "exactly the bills left out";
        }
    }

    // The bill keys of a left-out message, one line "廠商 <provider> 單據 <bill>[ 現匯款日 <date>]" each.
    static std::vector<std::string> billsListedIn(const std::string& message)
    {
        std::vector<std::string> keys;
        const std::string mark = " 單據 ";
        for (std::size_t at = message.find(mark); at != std::string::npos; at = message.find(mark, at + 1)) {
            const std::size_t from = at + mark.size();
            keys.push_back(message.substr(from, message.find_first_of("\n ", from) - from));
        }
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    static std::set<int> range(int first, int last)
    {
        std::set<int> bills;
        for (int i = first; i <= last; ++i)
            bills.insert(i);
        return bills;
    }
};

TEST_F(ConcurrentRemit, SameListAtTheSameMoment)
{
    bills.addBills(1, 150);
    Workstation stationA(books), stationB(books);
    stationA.confirm();
    stationB.confirm();
    Clerk a{&stationA, "2024/02/01", "130201", ""}, b{&stationB, "2024/02/02", "130202", ""};
    remitTogether(a, b);
    expectEveryBillOnce(a, b, range(1, 150), range(1, 150));
}

TEST_F(ConcurrentRemit, OverlappingListsAtTheSameMoment)
{
    // The first clerk listed bills 1-100; bills 101-160 came in before the second listed.
    bills.addBills(1, 100);
    Workstation stationA(books), stationB(books);
    stationA.confirm();
    bills.addBills(101, 160);
    stationB.confirm();
    Clerk a{&stationA, "2024/02/01", "130201", ""}, b{&stationB, "2024/02/02", "130202", ""};
    remitTogether(a, b);
    expectEveryBillOnce(a, b, range(1, 100), range(1, 160));
    // Bills only the second clerk listed are the second clerk's whoever came first.
    for (int bill = 101; bill <= 160; ++bill)
        EXPECT_EQ(bills.stamped()[bill], b.date) << bill;
}

TEST_F(ConcurrentRemit, OneAfterTheOther)
{
    bills.addBills(1, 40);
    Workstation stationA(books), stationB(books);
    stationA.confirm();
    stationB.confirm();
    Clerk a{&stationA, "2024/02/01", "130201", ""}, b{&stationB, "2024/02/02", "130202", ""};
    stationA.remitAll(a.date);
    stationB.remitAll(b.date);
    expectEveryBillOnce(a, b, range(1, 40), range(1, 40));
    EXPECT_EQ(stampedWith(a.date).size(), 40u);
    EXPECT_TRUE(stationB.transferRecords().empty()) << "no file for a press that stamped nothing";
}

// The second clerk's claim meets a bill that another transaction holds: it waits for it and,
// once that transaction commits its stamp, leaves the bill out instead of failing the press.
TEST_F(ConcurrentRemit, ABillHeldByAnotherTransactionIsWaitedForThenLeftOut)
{
    bills.addBills(1, 10);
    Workstation station(books);
    station.confirm();

    std::unique_ptr<db::Connection> other = books.connectAgain();
    db::Transaction holding(*other);
    holding.execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/03/03' WHERE MASTERBILLID IN ('B1004', 'B1007')");

    Clerk clerk{&station, "2024/02/01", "130201", ""};
    std::thread press([&] {
        try {
            station.remitAll(clerk.date);
        } catch (const text::UserError& error) {
            clerk.error = error.what();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    holding.commit();
    press.join();

    EXPECT_EQ(clerk.error, "");
    std::multiset<int> expected;
    for (int bill = 1; bill <= 10; ++bill)
        if (bill != 4 && bill != 7)
            expected.insert(bill);
    EXPECT_EQ(stampedWith(clerk.date), expected);
    EXPECT_EQ(filed(clerk), expected);
    EXPECT_EQ(bills.stamped()[4], "2024/03/03");
    ASSERT_EQ(station.messages.informed.size(), 1u);
    EXPECT_NE(station.messages.informed[0].find("B1004"), std::string::npos);
    EXPECT_NE(station.messages.informed[0].find("B1007"), std::string::npos);
}

// When the holding transaction rolls back instead, the waiting clerk stamps the bill after all.
TEST_F(ConcurrentRemit, ABillReleasedByARollbackIsStamped)
{
    bills.addBills(1, 5);
    Workstation station(books);
    station.confirm();

    std::unique_ptr<db::Connection> other = books.connectAgain();
    db::Transaction holding(*other);
    holding.execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/03/03' WHERE MASTERBILLID = 'B1003'");

    std::string error;
    std::thread press([&] {
        try {
            station.remitAll("2024/02/01");
        } catch (const text::UserError& e) {
            error = e.what();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    holding.rollback();
    press.join();

    EXPECT_EQ(error, "");
    EXPECT_EQ(bills.stamped().size(), 5u);
    EXPECT_EQ(station.transferRecords().size(), 5u);
    EXPECT_TRUE(station.messages.informed.empty());
}

} // namespace
} // namespace server_tests
