#include "app/cheque_page.h"

#include "cheque/cents_notice.h"
#include "cheque/cheque_table.h"
#include "cheque/issue_messages.h"
#include "cheque/issue_state.h"
#include "text/error.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/named_widgets.h"
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

} // namespace

ChequePage::ChequePage(AppContext& context, QWidget* parent) : Page(context, parent)
{
    grid_ = new ui::DataGrid(chequeRows_, cheque::gridFields(), this);
    grid_->setCheckField("CHKED");
    grid_->recordModel().setRowMarkField(cheque::kIssueStateField);
    createProgressDisplay();

    auto* top = new QHBoxLayout;
    top->addWidget(buildConditions());
    top->addWidget(buildButtons());
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    placeProgressDisplay(*layout);

    desk_ = std::make_unique<cheque::ChequeDesk>(context_.database, context_.workTables, progress(), context_.messages,
                                                 context_.reports, chequeRows_);
    connectHandlers();

    // The component names, the one place they are set.
    ui::setComponentNames({
        {this, "bsSkinTabSheet2"},
        {dateColumnGroup_, "bsSkinRadioGroup21"},
        {fromDateEdit_, "bsSkinDateEdit21"},
        {toDateEdit_, "bsSkinDateEdit22"},
        {accountCombo_, "bsSkinComboBox21"},
        {storeCombo_, "bsSkinComboBox22"},
        {issueDateEdit_, "bsSkinDateEdit23"},
        {chequeFormGroup_, "bsSkinRadioGroup22"},
        {sortOrderGroup_, "bsSkinRadioGroup23"},
        {confirmButton_, "bsSkinButton10"},
        {issueTickedButton_, "bsSkinButton13"},
        {issueAllButton_, "bsSkinButton12"},
        {exitButton_, "bsSkinButton11"},
        {clearIssueDatesButton_, "BitBtn2"},
        {printButton_, "SpeedButton5"},
        {voidChequesButton_, "bsSkinButton24"},
        {grid_, "wwDBGrid2"},
        {gauge_, "bsSkinGauge21"},
        {statusMemo_, "bsSkinMemo21"},
    });
}

ChequePage::~ChequePage() = default;

QWidget* ChequePage::buildConditions()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    dateColumnGroup_ =
        new ui::RadioGroup(QStringLiteral("報表選項"),
                           {QStringLiteral("到期日期"), QStringLiteral("開票日期"), QStringLiteral("預兌日期")}, panel);
    dateColumnGroup_->setItemIndex(0);

    fromDateEdit_ = new ui::DateEdit(panel);
    toDateEdit_ = new ui::DateEdit(panel);
    auto* range = new QHBoxLayout;
    range->addWidget(fromDateEdit_);
    range->addWidget(new QLabel(QStringLiteral("~"), panel));
    range->addWidget(toDateEdit_);

    accountCombo_ = editableCombo(panel, 16);
    // The store list is filled with the others but the cheque run has no store condition.
    storeCombo_ = editableCombo(panel, 16);
    storeCombo_->hide();

    issueDateLabel_ = new QLabel(QStringLiteral("開票日期"), panel);
    issueDateEdit_ = new ui::DateEdit(panel);
    issueDateLabel_->hide();
    issueDateEdit_->hide();

    chequeFormGroup_ =
        new ui::RadioGroup(QStringLiteral("報表格式"),
                           {QStringLiteral("格式一"), QStringLiteral("格式二"), QStringLiteral("格式三")}, panel);
    chequeFormGroup_->setItemIndex(0);
    sortOrderGroup_ =
        new ui::RadioGroup(QStringLiteral("排序"), {QStringLiteral("支票號碼"), QStringLiteral("廠商編號")}, panel);
    sortOrderGroup_->setItemIndex(0);

    grid->addWidget(dateColumnGroup_, 0, 0, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("日期區間"), panel), 0, 1);
    grid->addLayout(range, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("帳戶代號"), panel), 1, 1);
    grid->addWidget(accountCombo_, 1, 2);
    grid->addWidget(storeCombo_, 2, 2);
    grid->addWidget(issueDateLabel_, 2, 1);
    grid->addWidget(issueDateEdit_, 2, 2);
    grid->addWidget(chequeFormGroup_, 0, 3, 3, 1);
    grid->addWidget(sortOrderGroup_, 0, 4, 3, 1);
    return panel;
}

QWidget* ChequePage::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    confirmButton_ = button(QStringLiteral("條件確認"), panel);
    issueTickedButton_ = button(QStringLiteral("選擇性開票"), panel);
    issueAllButton_ = button(QStringLiteral("全部開票"), panel);
    exitButton_ = button(QStringLiteral("離開"), panel); // the window closes itself
    clearIssueDatesButton_ = button(QStringLiteral("匯款日清空"), panel);
    clearIssueDatesButton_->hide(); // shown by F1
    printButton_ = button(QStringLiteral("產生報表"), panel);
    printButton_->hide(); // never shown and does nothing: the issue press prints itself
    voidChequesButton_ = button(QStringLiteral("支票作廢"), panel);
    grid->addWidget(confirmButton_, 0, 0);
    grid->addWidget(issueTickedButton_, 0, 1);
    grid->addWidget(issueAllButton_, 1, 0);
    grid->addWidget(exitButton_, 1, 1);
    grid->addWidget(clearIssueDatesButton_, 2, 0);
    grid->addWidget(printButton_, 2, 1);
    grid->addWidget(voidChequesButton_, 3, 0);
    return panel;
}

void ChequePage::connectHandlers()
{
    connect(confirmButton_, &QPushButton::clicked, this, &ChequePage::onConfirm);
    connect(issueAllButton_, &QPushButton::clicked, this, &ChequePage::onIssueAll);
    connect(issueTickedButton_, &QPushButton::clicked, this, &ChequePage::onIssueTicked);
    connect(clearIssueDatesButton_, &QPushButton::clicked, this, &ChequePage::onClearIssueDates);
    connect(voidChequesButton_, &QPushButton::clicked, this, &ChequePage::onVoidTicked);
}

WindowControls ChequePage::windowControls() const
{
    WindowControls controls;
    controls.exitButton = exitButton_;
    controls.navigatingEdits = {fromDateEdit_, toDateEdit_, issueDateEdit_};
    controls.accountCombo = accountCombo_;
    controls.storeCombo = storeCombo_;
    controls.hiddenClearButton = clearIssueDatesButton_;
    controls.gatedPresses = {{issueAllButton_, work::DeskAction::IssueCheques},
                             {issueTickedButton_, work::DeskAction::IssueCheques},
                             {clearIssueDatesButton_, work::DeskAction::ClearDates},
                             {voidChequesButton_, work::DeskAction::VoidCheque}};
    return controls;
}

void ChequePage::refreshGrid()
{
    grid_->reload();
}

cheque::ListConditions ChequePage::listConditions() const
{
    cheque::ListConditions conditions;
    switch (dateColumnGroup_->itemIndex()) {
    case 1: conditions.dateColumn = cheque::DateColumn::Issued; break;
    case 2: conditions.dateColumn = cheque::DateColumn::Advance; break;
    default: conditions.dateColumn = cheque::DateColumn::Due;
    }
    conditions.startDateText = ui::toBig5(fromDateEdit_->text());
    conditions.endDateText = ui::toBig5(toDateEdit_->text());
    conditions.accountComboText = ui::toBig5(accountCombo_->currentText());
    conditions.order = printOptions().order;
    return conditions;
}

cheque::PrintOptions ChequePage::printOptions() const
{
    cheque::PrintOptions options;
    switch (chequeFormGroup_->itemIndex()) {
    case 1: options.form = cheque::ChequeForm::Two; break;
    case 2: options.form = cheque::ChequeForm::Three; break;
    default: options.form = cheque::ChequeForm::One;
    }
    options.order = sortOrderGroup_->itemIndex() == 1 ? cheque::SortOrder::Provider : cheque::SortOrder::ChequeNumber;
    options.reportTitle = context_.reportTitle;
    return options;
}

cheque::IssueOptions ChequePage::issueOptions() const
{
    return cheque::IssueOptions{ui::toBig5(issueDateEdit_->text()), printOptions()};
}

void ChequePage::onConfirm()
{
    // The clerk may stop a long list; it then leaves no work tables and an empty grid.
    handle([this] {
        runCancellable([this] { cheque::confirm(*desk_, listConditions()); }, [this] { chequeRows_.clear(); });
    });
    pointOutAmountsWithCents();
}

// Before anything is issued and printed, with the list in view: which cheques carry cents.
void ChequePage::pointOutAmountsWithCents()
{
    const std::string notice = cheque::centsNotice(chequeRows_);
    if (!notice.empty())
        context_.messages.inform(notice);
}

void ChequePage::onIssueAll()
{
    handle([this] { showIssueResult(cheque::issueAll(*desk_, issueOptions())); });
}

void ChequePage::onIssueTicked()
{
    handle([this] { showIssueResult(cheque::issueTicked(*desk_, issueOptions())); });
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
        const cheque::VoidResult result = cheque::voidTicked(*desk_);
        if (!result.journalNotice.empty())
            context_.messages.inform(result.journalNotice);
        const std::string said = cheque::voidResultMessage(result);
        if (result.outcome != cheque::VoidResult::Outcome::NoList && !said.empty())
            context_.messages.inform(said);
    });
}

void ChequePage::onClearIssueDates()
{
    handle([this] {
        const std::string notice = cheque::clearTicked(*desk_);
        if (!notice.empty())
            context_.messages.inform(notice);
    });
}

} // namespace app
