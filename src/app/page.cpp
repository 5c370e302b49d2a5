#include "app/page.h"

#include "ui/cancellable_run.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace app {

Page::Page(AppContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
}

Page::~Page() = default;

void Page::handle(const std::function<void()>& press)
{
    context_.messages.guarded(press);
    refreshGrid();
}

void Page::createProgressDisplay()
{
    gauge_ = new QProgressBar(this);
    gauge_->setTextVisible(false);
    gauge_->setRange(0, 10);
    gauge_->setValue(0);
    statusMemo_ = new QPlainTextEdit(this);
    statusMemo_->setReadOnly(true);
    statusMemo_->setMaximumHeight(80);
    progress_ = std::make_unique<ui::ProgressPanel>(gauge_, statusMemo_);
}

void Page::placeProgressDisplay(QBoxLayout& layout)
{
    cancelRunButton_ = ui::cancelRunButton(this);
    auto* gaugeRow = new QHBoxLayout;
    gaugeRow->addWidget(gauge_, 1);
    gaugeRow->addWidget(cancelRunButton_);
    layout.addLayout(gaugeRow);
    layout.addWidget(statusMemo_);
}

void Page::runCancellable(const std::function<void()>& run, const std::function<void()>& emptyGrid)
{
    ui::runCancellable(context_.database, cancelRunButton_, *progress_, context_.messages, run, [&] {
        emptyGrid();
        context_.workTables.dropAll();
    });
}

} // namespace app
