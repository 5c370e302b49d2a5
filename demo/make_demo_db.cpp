// make_demo_db <database file> [bills] [--stores N]
// Creates a new database with the back-office schema and fills it with the demo chain's
// data: `bills` payment bills in each book (6000 unless given; a million for the
// benchmarks) and N stores (6 to 12). An existing file is never overwritten.
#include "db/connection.h"
#include "demo/demo_database.h"
#include "text/error.h"
#include "text/numbers.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* usage = "usage: make_demo_db <database file> [bills] [--stores N]";

struct Arguments {
    std::string database;
    demo::DemoOptions options;
};

Arguments parseArguments(int argc, char** argv)
{
    Arguments args;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--stores") {
            if (i + 1 >= argc)
                throw text::UserError(usage);
            args.options.stores = static_cast<int>(text::parseInteger(argv[++i]));
        } else if (arg.rfind("--", 0) == 0) {
            throw text::UserError(usage);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2)
        throw text::UserError(usage);
    args.database = positional[0];
    if (positional.size() == 2)
        args.options.bills = text::parseInteger(positional[1]);
    return args;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const Arguments args = parseArguments(argc, argv);
        db::ConnectionParams params;
        params.database = args.database;
        if (params.embedded())
            params.database = std::filesystem::absolute(params.database).string();

        const auto started = std::chrono::steady_clock::now();
        const auto connection = demo::createDemoDatabase(params, args.options);
        const std::string cheques = connection->lookup("SELECT COUNT(*) FROM CHKPAY");
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

        std::printf("%s: %d stores, %d providers, 3 bank accounts, %lld bills in each book, %s cheques (%.1f s)\n",
                    params.database.c_str(), args.options.stores, args.options.providers, args.options.bills,
                    cheques.c_str(), seconds);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make_demo_db: " << e.what() << '\n';
        return 1;
    }
}
