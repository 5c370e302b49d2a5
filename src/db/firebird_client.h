#pragma once
// The database layer's access to the Firebird client library (OO API). Nothing outside db/
// (and the record-set benchmark, which measures against it) sees these types.
#include "text/error.h"

#include <firebird/Interface.h>

#include <string>
#include <string_view>

namespace db::fb {

// The client library's master interface; prepares the embedded engine's environment before
// the first use (see firebird_environment.cpp).
Firebird::IMaster* master();
Firebird::IUtil* util();
Firebird::IProvider* dispatcher();

// A status vector that throws Firebird::FbException on error; dispose()d with the object.
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    Firebird::ThrowStatusWrapper* operator&() { return &wrapper_; }

private:
    Firebird::IStatus* status_;
    Firebird::ThrowStatusWrapper wrapper_;
};

// The client's text of a status vector (formatStatus), trimmed, with any Big5 bytes in it
// (names and values the server quotes back) turned into UTF-8 for the message box.
std::string statusText(Firebird::IStatus* status);

// A lock conflict, update conflict or deadlock reported by the server: another attachment
// changed the same rows (or, for DDL, the same catalogue rows) at the same moment.
class ConflictError : public text::UserError {
public:
    using text::UserError::UserError;
};

bool isConcurrencyConflict(Firebird::IStatus* status);
[[noreturn]] void throwUserError(Firebird::IStatus* status);

// Runs `body`; a Firebird error leaves it as text::UserError carrying the client's text.
template <typename Body> decltype(auto) guarded(Body&& body)
{
    try {
        return body();
    } catch (const Firebird::FbException& error) {
        throwUserError(error.getStatus());
    }
}

// Releases an interface when the holder goes, unless forget() handed the pointer over (commit,
// close and free release it themselves when they succeed).
template <typename T> class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : p_(p) {}
    ~Ref()
    {
        if (p_)
            p_->release();
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* forget()
    {
        T* p = p_;
        p_ = nullptr;
        return p;
    }
    void reset(T* p = nullptr)
    {
        if (p_)
            p_->release();
        p_ = p;
    }

private:
    T* p_ = nullptr;
};

// The one transaction kind of the system: read committed (record versions), waiting on locks,
// read-write. Auto-committed statements commit it at once; db::Transaction holds it open.
// A positive `lockTimeoutSeconds` bounds each wait for another attachment's lock; when it runs
// out the server reports the conflict (deadlock, update conflict) as it does for a change that
// the other attachment committed meanwhile.
Firebird::ITransaction* startTransaction(Firebird::IAttachment* attachment, int lockTimeoutSeconds = 0);
// Ends a transaction after a failure without adding a second error to the first.
void rollbackQuietly(Ref<Firebird::ITransaction>& transaction);

// Sets the lock and temp folders of the embedded engine for a clerk who is not root; does
// nothing when they are set already or on systems without that concern. Called once.
void prepareEmbeddedEnvironment();

} // namespace db::fb
