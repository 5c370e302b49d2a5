#pragma once
// What a Connection holds: the attachment and the dialect its statements are prepared in.
// Inside db/ (and the record-set benchmark, which measures the bare fetch loop beside it).
#include "db/connection.h"
#include "db/firebird_client.h"

namespace db {

struct Connection::Impl {
    ConnectionParams params;
    fb::Ref<Firebird::IAttachment> attachment;
    unsigned dialect = 3;
};

} // namespace db
