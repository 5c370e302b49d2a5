#pragma once
// Realistic Big5 demo data for the back office: stores, providers with bank data, bank
// accounts, a year of bills in both payment books, and cheques.
#include "db/connection.h"

#include <cstdint>

namespace demo {

struct DemoOptions {
    int stores = 8; // 6 to 12
    int providers = 200;
    long long bills = 6000; // per book; 1,000,000 for the benchmarks
    std::uint32_t seed = 20261209;
};

void generateDemoData(db::Connection& connection, const DemoOptions& options);

} // namespace demo
