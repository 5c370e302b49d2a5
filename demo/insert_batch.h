#pragma once
// Bulk inserts for the demo data. Firebird 3 has no multi-row VALUES and the database layer
// runs statement text only, so rows are sent as EXECUTE BLOCKs of many INSERTs each: one
// round trip and one compilation for a batch of rows. The rows commit in large
// transactions of their own.
#include "db/connection.h"

#include <memory>
#include <string>

namespace demo {

class InsertBatch {
public:
    // `columns` is the column list of the table, e.g. "ID,NAME".
    InsertBatch(db::Connection& connection, std::string table, std::string columns);
    ~InsertBatch(); // rows not yet finished are rolled back
    InsertBatch(const InsertBatch&) = delete;
    InsertBatch& operator=(const InsertBatch&) = delete;

    // One row: the values, already rendered as SQL literals and joined with commas.
    void add(const std::string& values);
    // Sends and commits every row added.
    void finish();

    long long rowsAdded() const { return rowsAdded_; }

private:
    void sendBlock();

    db::Connection& connection_;
    std::unique_ptr<db::Transaction> transaction_;
    std::string insertHead_; // "INSERT INTO T (cols) VALUES ("
    std::string block_;
    int rowsInBlock_ = 0;
    long long rowsInTransaction_ = 0;
    long long rowsAdded_ = 0;
};

// SQL literals for the rows.
std::string sqlText(const std::string& big5);       // quoted, ' doubled
std::string sqlTextOrNull(const std::string& big5); // NULL for an empty text
std::string sqlAmount(double value);

} // namespace demo
