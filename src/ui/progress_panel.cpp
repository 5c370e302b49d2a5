#include "ui/progress_panel.h"

#include "ui/qt_text.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace ui {

ProgressPanel::ProgressPanel(QProgressBar* gauge, QPlainTextEdit* memo) : gauge_(gauge), memo_(memo)
{
    gauge_->setTextVisible(false);
    gauge_->setRange(0, 10);
    gauge_->setValue(0);
    memo_->setReadOnly(true);
}

void ProgressPanel::clear()
{
    memo_->clear();
}

void ProgressPanel::setGauge(int value, int maximum)
{
    gauge_->setMaximum(maximum);
    gauge_->setValue(value);
}

int ProgressPanel::gaugeValue() const
{
    return gauge_->value();
}

int ProgressPanel::gaugeMaximum() const
{
    return gauge_->maximum();
}

void ProgressPanel::addLine(const std::string& big5)
{
    memo_->appendPlainText(fromBig5(big5));
    // Runs block the one GUI thread; let the clerk see each stage as it is reached.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace ui
