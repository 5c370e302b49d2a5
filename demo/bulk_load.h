#pragma once
// Loading many rows into a table is much faster with its secondary indexes switched off
// and rebuilt once at the end than with every row updating every index.
#include "db/connection.h"

#include <string>
#include <vector>

namespace demo {

class SecondaryIndexesOff {
public:
    // Deactivates the indexes of `tables` that serve no constraint (keys stay in force).
    SecondaryIndexesOff(db::Connection& connection, const std::vector<std::string>& tables);
    // Rebuilds them; call when the load is done. A failed load leaves them off.
    void rebuild();

private:
    db::Connection& connection_;
    std::vector<std::string> indexes_;
};

} // namespace demo
