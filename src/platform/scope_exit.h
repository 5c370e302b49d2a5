#pragma once
// Runs a clean-up when the scope ends, however it ends. A clean-up that fails while another
// error is already on its way is dropped so that the clerk sees the first error; otherwise its
// own error goes on to the caller.
#include <exception>
#include <utility>

namespace platform {

template <class F> class ScopeExit {
public:
    explicit ScopeExit(F cleanUp) : cleanUp_(std::move(cleanUp)), pending_(std::uncaught_exceptions()) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    ~ScopeExit() noexcept(false)
    {
        if (std::uncaught_exceptions() > pending_) {
            try {
                cleanUp_();
            } catch (...) {
            }
        } else {
            cleanUp_();
        }
    }

private:
    F cleanUp_;
    int pending_;
};

} // namespace platform
