#include "ui/cancellable_run.h"

#include "text/big5.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

namespace ui {

namespace {

bool isEscape(QEvent* event)
{
    return (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

// Input that would start other work on the connection (or close the window) while the run
// holds it.
bool isHeldInput(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Drop:
    case QEvent::Close: return true;
    default: return false;
    }
}

bool isMouseClick(QEvent* event)
{
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
           event->type() == QEvent::MouseButtonDblClick;
}

} // namespace

QPushButton* cancelRunButton(QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("取消"), parent);
    button->setObjectName(QStringLiteral("cancelRunButton"));
    button->setToolTip(QStringLiteral("停止執行中的查詢 (Esc)"));
    button->setEnabled(false);
    return button;
}

CancellableRun::CancellableRun(db::Connection& database, QPushButton* cancelButton)
    : database_(database), cancelButton_(cancelButton)
{
    cancelButton_->setEnabled(true);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });
    qApp->installEventFilter(this);
    database_.setStatementWait(this);
}

CancellableRun::~CancellableRun()
{
    database_.setStatementWait(nullptr);
    qApp->removeEventFilter(this);
    cancelButton_->setEnabled(false);
}

void CancellableRun::waitUntil(const std::function<bool()>& done)
{
    // A handler reached from this loop may run a statement of its own and wait inside it; every
    // waiting loop is woken and looks again whether its own statement has ended.
    QEventLoop loop;
    {
        std::lock_guard<std::mutex> lock(loopGuard_);
        loops_.push_back(&loop);
    }
    while (!done())
        loop.exec();
    std::lock_guard<std::mutex> lock(loopGuard_);
    loops_.erase(std::find(loops_.begin(), loops_.end(), &loop));
}

void CancellableRun::wake()
{
    std::lock_guard<std::mutex> lock(loopGuard_);
    for (QEventLoop* loop : loops_)
        QMetaObject::invokeMethod(loop, &QEventLoop::quit, Qt::QueuedConnection);
}

void CancellableRun::cancel()
{
    if (database_.runCancelled())
        return;
    cancelButton_->setEnabled(false);
    database_.cancelRun();
}

bool CancellableRun::eventFilter(QObject* watched, QEvent* event)
{
    if (isEscape(event)) {
        // Esc reaches the focused widget first as a shortcut override, then as the key.
        cancel();
        event->accept();
        return true;
    }
    if (!isHeldInput(event))
        return false;
    // The 取消 button alone takes clicks; the rest waits for the run to end.
    if (isMouseClick(event) &&
        (watched == cancelButton_ ||
         (watched->isWidgetType() && cancelButton_->isAncestorOf(static_cast<QWidget*>(watched)))))
        return false;
    if (event->type() == QEvent::Close)
        event->ignore();
    return true;
}

bool runCancellable(db::Connection& database, QPushButton* cancelButton, work::ProgressDisplay& progress,
                    work::Messages& messages, const std::function<void()>& run, const std::function<void()>& undo)
{
    try {
        CancellableRun cancellable(database, cancelButton);
        run();
        return true;
    } catch (const db::Cancelled&) {
        // The run has stopped and its transaction rolled back; what it had committed before
        // (its work tables) goes now.
    }
    undo();
    progress.setGauge(0, progress.gaugeMaximum());
    progress.addLine(text::big5("作業已取消"));
    messages.inform("作業已取消,清單已清空,未保留任何查詢資料。");
    return false;
}

} // namespace ui
