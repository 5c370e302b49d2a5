#include "db/firebird_client.h"

#include "text/big5.h"
#include "text/error.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace db::fb {

Firebird::IMaster* master()
{
    static std::once_flag once;
    std::call_once(once, prepareEmbeddedEnvironment);
    static Firebird::IMaster* const m = Firebird::fb_get_master_interface();
    return m;
}

Firebird::IUtil* util()
{
    return master()->getUtilInterface();
}

Firebird::IProvider* dispatcher()
{
    // The dispatcher (y-valve) routes each attach to the providers its configuration names.
    static Firebird::IProvider* const p = master()->getDispatcher();
    return p;
}

Status::Status() : status_(master()->getStatus()), wrapper_(status_)
{
}

Status::~Status()
{
    status_->dispose();
}

std::string statusText(Firebird::IStatus* status)
{
    char buffer[4096];
    unsigned n = util()->formatStatus(buffer, sizeof buffer, status);
    std::string_view s(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == '\n' || s.front() == ' '))
        s.remove_prefix(1);
    if (s.empty())
        return "Unknown database error";
    return text::big5ToUtf8(s);
}

bool isConcurrencyConflict(Firebird::IStatus* status)
{
    const ISC_STATUS* v = status->getErrors();
    for (unsigned i = 0; v && v[i] != isc_arg_end; i += 2) {
        if (v[i] == isc_arg_gds &&
            (v[i + 1] == isc_deadlock || v[i + 1] == isc_update_conflict || v[i + 1] == isc_lock_conflict))
            return true;
        if (v[i] == isc_arg_cstring)
            ++i; // length, pointer
    }
    return false;
}

void throwUserError(Firebird::IStatus* status)
{
    if (isConcurrencyConflict(status))
        throw ConflictError(statusText(status));
    throw text::UserError(statusText(status));
}

Firebird::ITransaction* startTransaction(Firebird::IAttachment* attachment, int lockTimeoutSeconds)
{
    std::vector<unsigned char> tpb{
        isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait,
    };
    if (lockTimeoutSeconds > 0) {
        // isc_tpb_lock_timeout carries its value as a length byte and a little-endian integer.
        const auto seconds = static_cast<std::uint32_t>(lockTimeoutSeconds);
        tpb.insert(tpb.end(), {isc_tpb_lock_timeout, 4, static_cast<unsigned char>(seconds & 0xff),
                               static_cast<unsigned char>((seconds >> 8) & 0xff),
                               static_cast<unsigned char>((seconds >> 16) & 0xff),
                               static_cast<unsigned char>((seconds >> 24) & 0xff)});
    }
    Status status;
    return guarded(
        [&] { return attachment->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data()); });
}

void rollbackQuietly(Ref<Firebird::ITransaction>& transaction)
{
    if (!transaction)
        return;
    Firebird::IStatus* raw = master()->getStatus();
    Firebird::CheckStatusWrapper status(raw);
    transaction->rollback(&status);
    if (!(status.getState() & Firebird::IStatus::STATE_ERRORS))
        transaction.forget(); // released by rollback
    raw->dispose();
    transaction.reset();
}

} // namespace db::fb
