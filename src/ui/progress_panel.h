#pragma once
// The progress gauge and status memo at the bottom of a page.
#include "work/progress.h"

#include <QObject>
#include <string>

class QProgressBar;
class QPlainTextEdit;

namespace ui {

class ProgressPanel : public work::ProgressDisplay {
public:
    ProgressPanel(QProgressBar* gauge, QPlainTextEdit* memo);
    void clear() override;
    void setGauge(int value, int maximum) override;
    int gaugeValue() const override;
    int gaugeMaximum() const override;
    void addLine(const std::string& big5) override;

private:
    QProgressBar* gauge_;
    QPlainTextEdit* memo_;
};

} // namespace ui
