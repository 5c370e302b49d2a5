#pragma once
// Compares work tables built two ways: their columns (names, positions, types, lengths) and
// every cell, both tables read in the order of all their columns.
#include "db/executor.h"

#include <string>

namespace testing_support {

// One line per column: position, name, type code, length, scale.
std::string tableShape(db::Executor& database, const std::string& relation);
// One line per column name, in position order (a view's column types follow its expressions).
std::string columnNames(db::Executor& database, const std::string& relation);

// Adds a gtest failure per differing cell (strings byte for byte, numbers exactly, NULL as
// NULL), naming the row and column; `what` labels the messages.
void expectSameRows(db::Executor& database, const std::string& expected, const std::string& actual,
                    const std::string& what);

// Shape and rows of two tables.
void expectSameTable(db::Executor& database, const std::string& expected, const std::string& actual,
                     const std::string& what);

bool relationExists(db::Executor& database, const std::string& relation);

} // namespace testing_support
