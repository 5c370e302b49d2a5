#pragma once
// A list or inquiry run over many rows that the clerk can stop: Esc (wherever the focus is) or
// the page's 取消 button cancels it. While it runs, its statements go to a worker thread and
// the window keeps painting the progress; other clicks and keys are ignored meanwhile, so
// nothing else reaches the connection. Runs that stamp (the presses) are never run this way:
// they finish or roll back as a whole.
#include "db/connection.h"
#include "work/messages.h"
#include "work/progress.h"

#include <QObject>
#include <functional>
#include <mutex>
#include <vector>

class QEventLoop;
class QPushButton;

namespace ui {

// The page's 取消 button: enabled only while a run can be cancelled.
QPushButton* cancelRunButton(QWidget* parent);

class CancellableRun : public QObject, public db::StatementWait {
public:
    CancellableRun(db::Connection& database, QPushButton* cancelButton);
    ~CancellableRun() override;
    CancellableRun(const CancellableRun&) = delete;
    CancellableRun& operator=(const CancellableRun&) = delete;

    void waitUntil(const std::function<bool()>& done) override;
    void wake() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cancel();

    db::Connection& database_;
    QPushButton* cancelButton_;
    std::mutex loopGuard_;
    std::vector<QEventLoop*> loops_; // the loops waiting for a statement, innermost last
};

// Runs `run` so that the clerk can cancel it. When cancelled, `undo` removes what the run had
// made (after the run has stopped and its transaction rolled back), the memo and a message say
// so, and false is returned.
bool runCancellable(db::Connection& database, QPushButton* cancelButton, work::ProgressDisplay& progress,
                    work::Messages& messages, const std::function<void()>& run, const std::function<void()>& undo);

} // namespace ui
