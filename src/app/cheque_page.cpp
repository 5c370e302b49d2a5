#include "app/cheque_page.h"

#include "cheque/cents_notice.h"
#include "cheque/issue_messages.h"
#include "cheque/issue_state.h"
#include "text/error.h"
#include "ui/cancellable_run.h"
#include "ui/named_widgets.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/qt_text.h"
#include "ui/radio_group.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {
namespace {

using ui::button;
using ui::editableCombo;
using ui::named;

} // namespace

ChequePage::ChequePage(AppContext& context, QWidget* parent) : Page(parent), context_(context)
{
    setObjectName(QStringLiteral("bsSkinTabSheet2"));

    wwDBGrid2 = named(new ui::DataGrid(ClientDataSet21, this), "wwDBGrid2");
    wwDBGrid2->setCheckField("CHKED");
    wwDBGrid2->recordModel().setRowMarkField(cheque::kIssueStateField);
    bsSkinGauge21 = named(new QProgressBar(this), "bsSkinGauge21");
    bsSkinGauge21->setTextVisible(false);
    bsSkinGauge21->setRange(0, 10);
    bsSkinGauge21->setValue(0);
    bsSkinMemo21 = named(new QPlainTextEdit(this), "bsSkinMemo21");
    bsSkinMemo21->setReadOnly(true);
    bsSkinMemo21->setMaximumHeight(80);

    auto* top = new QHBoxLayout;
    top->addWidget(buildConditions());
    top->addWidget(buildButtons());
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(wwDBGrid2, 1);
    cancelRunButton_ = ui::cancelRunButton(this);
    auto* gaugeRow = new QHBoxLayout;
    gaugeRow->addWidget(bsSkinGauge21, 1);
    gaugeRow->addWidget(cancelRunButton_);
    layout->addLayout(gaugeRow);
    layout->addWidget(bsSkinMemo21);

    progress_ = std::make_unique<ui::ProgressPanel>(bsSkinGauge21, bsSkinMemo21);
    desk_ = std::make_unique<cheque::ChequeDesk>(context_.database, context_.workTables, *progress_,
                                                 context_.messages, context_.reports, ClientDataSet21);
    connectHandlers();
}

ChequePage::~ChequePage() = default;

QWidget* ChequePage::buildConditions()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    bsSkinRadioGroup21 = named(new ui::RadioGroup(QStringLiteral("報表選項"),
                                                  {QStringLiteral("到期日期"), QStringLiteral("開票日期"),
                                                   QStringLiteral("預兌日期")},
                                                  panel),
                               "bsSkinRadioGroup21");
    bsSkinRadioGroup21->setItemIndex(0);

    bsSkinDateEdit21 = named(new ui::DateEdit(panel), "bsSkinDateEdit21");
    bsSkinDateEdit22 = named(new ui::DateEdit(panel), "bsSkinDateEdit22");
    auto* range = new QHBoxLayout;
    range->addWidget(bsSkinDateEdit21);
    range->addWidget(new QLabel(QStringLiteral("~"), panel));
    range->addWidget(bsSkinDateEdit22);

    bsSkinComboBox21 = editableCombo("bsSkinComboBox21", panel, 16);
    // The store list is filled with the others but the cheque run has no store condition.
    bsSkinComboBox22 = editableCombo("bsSkinComboBox22", panel, 16);
    bsSkinComboBox22->hide();

    issueDateLabel = new QLabel(QStringLiteral("開票日期"), panel);
    bsSkinDateEdit23 = named(new ui::DateEdit(panel), "bsSkinDateEdit23");
    issueDateLabel->hide();
    bsSkinDateEdit23->hide();

    bsSkinRadioGroup22 = named(new ui::RadioGroup(QStringLiteral("報表格式"),
                                                  {QStringLiteral("格式一"), QStringLiteral("格式二"),
                                                   QStringLiteral("格式三")},
                                                  panel),
                               "bsSkinRadioGroup22");
    bsSkinRadioGroup22->setItemIndex(0);
    bsSkinRadioGroup23 = named(new ui::RadioGroup(QStringLiteral("排序"),
                                                  {QStringLiteral("支票號碼"), QStringLiteral("廠商編號")}, panel),
                               "bsSkinRadioGroup23");
    bsSkinRadioGroup23->setItemIndex(0);

    grid->addWidget(bsSkinRadioGroup21, 0, 0, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("日期區間"), panel), 0, 1);
    grid->addLayout(range, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("帳戶代號"), panel), 1, 1);
    grid->addWidget(bsSkinComboBox21, 1, 2);
    grid->addWidget(bsSkinComboBox22, 2, 2);
    grid->addWidget(issueDateLabel, 2, 1);
    grid->addWidget(bsSkinDateEdit23, 2, 2);
    grid->addWidget(bsSkinRadioGroup22, 0, 3, 3, 1);
    grid->addWidget(bsSkinRadioGroup23, 0, 4, 3, 1);
    return panel;
}

QWidget* ChequePage::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    bsSkinButton10 = button(QStringLiteral("條件確認"), "bsSkinButton10", panel);
    bsSkinButton13 = button(QStringLiteral("選擇性開票"), "bsSkinButton13", panel);
    bsSkinButton12 = button(QStringLiteral("全部開票"), "bsSkinButton12", panel);
    bsSkinButton11 = button(QStringLiteral("離開"), "bsSkinButton11", panel); // the window closes itself
    BitBtn2 = button(QStringLiteral("匯款日清空"), "BitBtn2", panel);
    BitBtn2->hide(); // shown by F1
    SpeedButton5 = button(QStringLiteral("產生報表"), "SpeedButton5", panel);
    SpeedButton5->hide(); // the printing routine, run by the issuing buttons
    voidChequesButton_ = button(QStringLiteral("支票作廢"), "bsSkinButton24", panel);
    grid->addWidget(bsSkinButton10, 0, 0);
    grid->addWidget(bsSkinButton13, 0, 1);
    grid->addWidget(bsSkinButton12, 1, 0);
    grid->addWidget(bsSkinButton11, 1, 1);
    grid->addWidget(BitBtn2, 2, 0);
    grid->addWidget(SpeedButton5, 2, 1);
    grid->addWidget(voidChequesButton_, 3, 0);
    return panel;
}

void ChequePage::connectHandlers()
{
    connect(bsSkinButton10, &QPushButton::clicked, this, &ChequePage::bsSkinButton10Click);
    connect(bsSkinButton12, &QPushButton::clicked, this, &ChequePage::bsSkinButton12Click);
    connect(bsSkinButton13, &QPushButton::clicked, this, &ChequePage::bsSkinButton13Click);
    connect(BitBtn2, &QPushButton::clicked, this, &ChequePage::BitBtn2Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &ChequePage::SpeedButton5Click);
    connect(voidChequesButton_, &QPushButton::clicked, this, &ChequePage::onVoidTicked);
}

void ChequePage::refreshGrid()
{
    wwDBGrid2->reload();
}

void ChequePage::handle(const std::function<void()>& body)
{
    context_.messages.guarded(body);
    refreshGrid();
}

cheque::ListConditions ChequePage::listConditions() const
{
    cheque::ListConditions conditions;
    switch (bsSkinRadioGroup21->itemIndex()) {
    case 1:
        conditions.dateColumn = cheque::DateColumn::Issued;
        break;
    case 2:
        conditions.dateColumn = cheque::DateColumn::Advance;
        break;
    default:
        conditions.dateColumn = cheque::DateColumn::Due;
    }
    conditions.startDateText = ui::toBig5(bsSkinDateEdit21->text());
    conditions.endDateText = ui::toBig5(bsSkinDateEdit22->text());
    conditions.accountComboText = ui::toBig5(bsSkinComboBox21->currentText());
    conditions.order = printOptions().order;
    return conditions;
}

cheque::PrintOptions ChequePage::printOptions() const
{
    cheque::PrintOptions options;
    switch (bsSkinRadioGroup22->itemIndex()) {
    case 1:
        options.form = cheque::ChequeForm::Two;
        break;
    case 2:
        options.form = cheque::ChequeForm::Three;
        break;
    default:
        options.form = cheque::ChequeForm::One;
    }
    options.order = bsSkinRadioGroup23->itemIndex() == 1 ? cheque::SortOrder::Provider
                                                         : cheque::SortOrder::ChequeNumber;
    options.reportTitle = context_.reportTitle;
    return options;
}

cheque::IssueOptions ChequePage::issueOptions() const
{
    return cheque::IssueOptions{ui::toBig5(bsSkinDateEdit23->text()), printOptions()};
}

void ChequePage::bsSkinButton10Click()
{
    // The clerk may stop a long list; it then leaves no work tables and an empty grid.
    handle([this] {
        ui::runCancellable(
            context_.database, cancelRunButton_, *progress_, context_.messages,
            [this] { desk_->confirm(listConditions()); },
            [this] {
                ClientDataSet21.clear();
                context_.workTables.dropAll();
            });
    });
    pointOutAmountsWithCents();
}

// Before anything is issued and printed, with the list in view: which cheques carry cents.
void ChequePage::pointOutAmountsWithCents()
{
    const std::string notice = cheque::centsNotice(ClientDataSet21);
    if (!notice.empty())
        context_.messages.inform(notice);
}

void ChequePage::bsSkinButton12Click()
{
    handle([this] { showIssueResult(desk_->issueAll(issueOptions())); });
}

void ChequePage::bsSkinButton13Click()
{
    handle([this] { showIssueResult(desk_->issueTicked(issueOptions())); });
}

void ChequePage::showIssueResult(const cheque::IssueResult& result)
{
    if (!result.journalNotice.empty())
        context_.messages.inform(result.journalNotice);
    const std::string voided = cheque::voidedLeftOutMessage(result);
    if (!voided.empty())
        context_.messages.inform(voided);
    const std::string changed = cheque::changedSinceListedMessage(result);
    if (!changed.empty())
        context_.messages.inform(changed);
    // A print that could not be handed over is shown as the error it is.
    const std::string printFailure = cheque::printFailureMessage(result);
    if (!printFailure.empty())
        throw text::UserError(printFailure);
}

void ChequePage::onVoidTicked()
{
    handle([this] {
        const cheque::VoidResult result = desk_->voidTicked();
        if (!result.journalNotice.empty())
            context_.messages.inform(result.journalNotice);
        const std::string said = cheque::voidResultMessage(result);
        if (result.outcome != cheque::VoidResult::Outcome::NoList && !said.empty())
            context_.messages.inform(said);
    });
}

void ChequePage::BitBtn2Click()
{
    handle([this] {
        const std::string notice = desk_->clearTicked();
        if (!notice.empty())
            context_.messages.inform(notice);
    });
}

void ChequePage::SpeedButton5Click()
{
    handle([this] { desk_->print(printOptions()); });
}

} // namespace app
