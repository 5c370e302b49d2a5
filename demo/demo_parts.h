#pragma once
// The pieces of the demo data and what the bills need to know about them. Texts are Big5.
#include "db/connection.h"
#include "demo/demo_data.h"
#include "demo/random_source.h"

#include <chrono>
#include <string>
#include <vector>

namespace demo {

struct DemoStore {
    std::string id;
    std::string name;
    int weight = 1; // share of the chain's bills
};

struct DemoAccount {
    std::string id;
    std::string name;
    std::string bankName;
    std::string accountNo;
    std::string chequePrefix; // two letters before the cheque's seven digits
};

struct DemoProvider {
    std::string id;
    std::string name;
    std::size_t account = 0; // the account that usually pays it
    int paymentTermDays = 0; // from a bill's date to its payment date
    int chequeTermDays = 30; // from a cheque's issue to its due date
    int weight = 1;          // share of the bills
};

// "yyyy/mm/dd" of a calendar day.
std::string dateText(std::chrono::sys_days day);
std::chrono::sys_days todayDay();

void writeCompany(db::Connection& connection);
std::vector<DemoStore> writeStores(db::Connection& connection, int count);
std::vector<DemoAccount> writeAccounts(db::Connection& connection);
std::vector<DemoProvider> writeProviders(db::Connection& connection, RandomSource& random, int count,
                                         const std::vector<DemoAccount>& accounts);
// Both payment books and the cheques that pay their cheque amounts.
void writeBillsAndCheques(db::Connection& connection, RandomSource& random, long long billsPerBook,
                          const std::vector<DemoStore>& stores, const std::vector<DemoAccount>& accounts,
                          const std::vector<DemoProvider>& providers);

} // namespace demo
