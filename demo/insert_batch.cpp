#include "demo/insert_batch.h"

#include "db/sql.h"
#include "text/numbers.h"

#include <string_view>

namespace demo {
namespace {

// Measured on the embedded engine: the cost per row is lowest with blocks of a dozen or two
// INSERTs. Larger blocks compile into memory pools that the engine maps and unmaps from
// the system for every statement, and that churn soon outweighs the saved round trips.
// (Firebird 3 would refuse statement text above 64 KB in any case.)
constexpr std::size_t maxBlockBytes = 16000;
constexpr int maxRowsPerBlock = 16;
// Large transactions keep the load fast; committing now and then keeps the undo log small.
constexpr long long rowsPerTransaction = 100000;

constexpr std::string_view blockHead = "EXECUTE BLOCK AS BEGIN\n";
constexpr std::string_view blockTail = "END";

} // namespace

InsertBatch::InsertBatch(db::Connection& connection, std::string table, std::string columns)
    : connection_(connection), insertHead_("INSERT INTO " + table + " (" + columns + ") VALUES (")
{
}

InsertBatch::~InsertBatch() = default;

void InsertBatch::add(const std::string& values)
{
    const std::size_t rowBytes = insertHead_.size() + values.size() + 3;
    if (rowsInBlock_ > 0 &&
        (block_.size() + rowBytes + blockTail.size() > maxBlockBytes || rowsInBlock_ >= maxRowsPerBlock))
        sendBlock();
    if (rowsInBlock_ == 0)
        block_.assign(blockHead);
    block_ += insertHead_;
    block_ += values;
    block_ += ");\n";
    ++rowsInBlock_;
    ++rowsAdded_;
}

void InsertBatch::sendBlock()
{
    if (rowsInBlock_ == 0)
        return;
    block_ += blockTail;
    if (!transaction_)
        transaction_ = std::make_unique<db::Transaction>(connection_);
    transaction_->execute(block_);
    rowsInTransaction_ += rowsInBlock_;
    rowsInBlock_ = 0;
    block_.clear();
    if (rowsInTransaction_ >= rowsPerTransaction) {
        transaction_->commit();
        transaction_.reset();
        rowsInTransaction_ = 0;
    }
}

void InsertBatch::finish()
{
    sendBlock();
    if (transaction_) {
        transaction_->commit();
        transaction_.reset();
    }
    rowsInTransaction_ = 0;
}

std::string sqlText(const std::string& big5)
{
    return db::quote(big5);
}

std::string sqlTextOrNull(const std::string& big5)
{
    return big5.empty() ? std::string("NULL") : db::quote(big5);
}

std::string sqlAmount(double value)
{
    return text::formatPlain(value);
}

} // namespace demo
