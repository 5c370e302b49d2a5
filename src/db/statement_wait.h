#pragma once
// A long run that the clerk may cancel: while a StatementWait is set on the connection, each
// statement runs on a worker thread and the thread that issued it waits in waitUntil (a window
// keeps painting its progress there and hears the cancel). Connection::cancelRun() stops the
// statement that runs (the server undoes it) and refuses every later one, which then throws
// db::Cancelled; the statement, its transaction's work and the run end without a trace.
#include "text/error.h"

#include <functional>

namespace db {

class StatementWait {
public:
    virtual ~StatementWait() = default;
    // Returns once `done()` is true. Called on the thread that runs the run.
    virtual void waitUntil(const std::function<bool()>& done) = 0;
    // Called from the worker thread once the statement ended, so that waitUntil looks again.
    virtual void wake() = 0;
};

// A statement refused or stopped because the clerk cancelled the run.
class Cancelled : public text::UserError {
public:
    Cancelled();
};

} // namespace db
