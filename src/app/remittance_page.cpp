#include "app/remittance_page.h"

#include "remittance/clear_remittance_dates.h"
#include "remittance/condition_confirm.h"
#include "remittance/output_routine.h"
#include "remittance/remit.h"
#include "remittance/remittance_desk.h"
#include "remittance/remittance_grid.h"
#include "remittance/select_all.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "ui/radio_group.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include <map>

namespace app {
namespace {

using ui::button;
using ui::editableCombo;

// The file-name edits take what is typed in upper case, as the bank's software expects.
QLineEdit* upperCaseEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& typed) {
        const QString upper = typed.toUpper();
        if (upper != typed) {
            const int cursor = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(cursor);
        }
    });
    return edit;
}

// A focus-out that leaves the field for another control of the window. Another window
// becoming active (a message box, another program) or a popup (the calendar) is not leaving.
bool leavesTheField(const QFocusEvent& event)
{
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

// The grid rows of the bills a remit was refused for, each with its reasons for the tooltip.
std::map<int, QString> refusedRowAlerts(const db::RecordSet& grid, const std::vector<remittance::RefusedRow>& refused)
{
    std::map<int, QString> alerts;
    if (refused.empty())
        return alerts;
    const std::size_t provider = grid.fieldIndex("PROVIDER_ID");
    const std::size_t bill = grid.fieldIndex("MASTERBILLID");
    for (const remittance::RefusedRow& row : refused) {
        QStringList reasons;
        for (const std::string& problem : row.problems)
            reasons << QString::fromStdString(problem);
        const QString note = QStringLiteral("無法寫入匯款檔,本次未匯款:") + reasons.join(QStringLiteral("、"));
        for (std::size_t r = 0; r < grid.rowCount(); ++r)
            if (grid.text(r, bill) == row.billId && grid.text(r, provider) == row.providerId)
                alerts[static_cast<int>(r)] = note;
    }
    return alerts;
}

ui::RadioGroup* radioGroup(const QStringList& items, int columns, QWidget* parent)
{
    // Every option group of the tab carries the same caption.
    auto* group = new ui::RadioGroup(QStringLiteral("報表選項"), items, parent, columns);
    group->setItemIndex(0);
    return group;
}

} // namespace

RemittancePage::RemittancePage(AppContext& context, QWidget* parent) : Page(context, parent)
{
    grid_ = new ui::DataGrid(remittanceRows_, remittance::remittanceGridFields(), this);
    grid_->setCheckField("CHKED");
    createProgressDisplay();

    // One panel of conditions and buttons above the grid.
    auto* panel = new QWidget(this);
    auto* top = new QHBoxLayout(panel);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(buildConditions());
    top->addWidget(buildTransferSettings());
    top->addWidget(buildButtons());
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(panel);
    layout->addWidget(grid_, 1);
    placeProgressDisplay(*layout);

    desk_ = std::make_unique<remittance::RemittanceDesk>(
        remittance::RemittanceDesk{context_.database, context_.workTables, progress(), context_.messages,
                                   remittanceRows_, run_, context_.reports});
    connectHandlers();

    // The component names, the one place they are set.
    ui::setComponentNames({
        {this, "bsSkinTabSheet1"},
        {panel, "bsSkinPanel1"},
        {remittanceStateGroup_, "bsSkinRadioGroup12"},
        {dateColumnGroup_, "bsSkinRadioGroup11"},
        {dateRangeLabel_, "bsSkinStdLabel3"},
        {fromDateEdit_, "bsSkinDateEdit11"},
        {toDateEdit_, "bsSkinDateEdit12"},
        {accountCombo_, "bsSkinComboBox11"},
        {storeCombo_, "bsSkinComboBox12"},
        {booksGroup_, "bsSkinRadioGroup13"},
        {exportFileEdit_, "bsSkinEdit_FILE"},
        {interBankFileEdit_, "bsSkinEdit_FILEa"},
        {sameBankFileEdit_, "bsSkinEdit_FILEb"},
        {remittanceDateEdit_, "bsSkinDateEdit13"},
        {makeFilesCheck_, "bsSkinCheckRadioBox11"},
        {bankPathEdit_, "bsSkinEdit15"},
        {reportBankGroup_, "bsSkinRadioGroup16"},
        {confirmButton_, "bsSkinButton6"},
        {selectAllButton_, "bsSkinButton17"},
        {remitTickedButton_, "bsSkinButton9"},
        {remitAllButton_, "bsSkinButton8"},
        {clearDatesButton_, "BitBtn1"},
        {exitButton_, "bsSkinButton7"},
        {outputButton_, "SpeedButton1"},
        {grid_, "wwDBGrid1"},
        {gauge_, "bsSkinGauge11"},
        {statusMemo_, "bsSkinMemo11"},
    });
}

RemittancePage::~RemittancePage() = default;

QWidget* RemittancePage::buildConditions()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    remittanceStateGroup_ =
        radioGroup({QStringLiteral("未 匯 款"), QStringLiteral("已 匯 款"), QStringLiteral("不分匯款")}, 3, panel);
    dateColumnGroup_ = radioGroup({QStringLiteral("付款日期"), QStringLiteral("沖帳日期")}, 2, panel);

    dateRangeLabel_ = new QLabel(QStringLiteral("日期區間"), panel);
    dateRangeLabel_->installEventFilter(this);
    fromDateEdit_ = new ui::DateEdit(panel);
    fromDateEdit_->lineEdit()->installEventFilter(this);
    toDateEdit_ = new ui::DateEdit(panel);
    auto* range = new QHBoxLayout;
    range->addWidget(fromDateEdit_);
    range->addWidget(new QLabel(QStringLiteral("~"), panel));
    range->addWidget(toDateEdit_);

    accountCombo_ = editableCombo(panel, 14);
    storeCombo_ = editableCombo(panel, 14);
    booksGroup_ = radioGroup({QStringLiteral("本店匯款"), QStringLiteral("聯合匯款")}, 2, panel);

    grid->addWidget(remittanceStateGroup_, 0, 0, 1, 2);
    grid->addWidget(dateColumnGroup_, 1, 0, 1, 2);
    grid->addWidget(dateRangeLabel_, 0, 2);
    grid->addLayout(range, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("帳戶代號"), panel), 1, 2);
    grid->addWidget(accountCombo_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("分店代號"), panel), 2, 2);
    grid->addWidget(storeCombo_, 2, 3);
    grid->addWidget(booksGroup_, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("【2014/03/18】"), panel), 3, 0);
    return panel;
}

QWidget* RemittancePage::buildTransferSettings()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    exportFileEdit_ = upperCaseEdit(panel);
    interBankFileEdit_ = upperCaseEdit(panel);
    sameBankFileEdit_ = upperCaseEdit(panel);
    // Each file-name edit under its own caption: the account's export file, then the
    // inter-bank ("跨 行") and the same-bank ("聯行檔名") transfer files.
    auto* files = new QGridLayout;
    files->setVerticalSpacing(0);
    files->addWidget(new QLabel(QStringLiteral("跨 行"), panel), 0, 1);
    files->addWidget(new QLabel(QStringLiteral("聯行檔名"), panel), 0, 2);
    files->addWidget(exportFileEdit_, 1, 0);
    files->addWidget(interBankFileEdit_, 1, 1);
    files->addWidget(sameBankFileEdit_, 1, 2);

    remittanceDateEdit_ = new ui::DateEdit(panel);
    makeFilesCheck_ = new QCheckBox(QStringLiteral("產生匯款檔案"), panel);
    makeFilesCheck_->setChecked(true);
    bankPathEdit_ = new QLineEdit(panel);
    reportBankGroup_ = radioGroup({QStringLiteral("跨 銀 行"), QStringLiteral("本 銀 行")}, 2, panel);

    grid->addWidget(new QLabel(QStringLiteral("檔名"), panel), 1, 0, Qt::AlignBottom);
    grid->addLayout(files, 0, 1, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("匯款日期"), panel), 2, 0);
    grid->addWidget(remittanceDateEdit_, 2, 1);
    grid->addWidget(makeFilesCheck_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("路徑檔名"), panel), 4, 0);
    grid->addWidget(bankPathEdit_, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("匯款報表"), panel), 5, 0);
    grid->addWidget(reportBankGroup_, 5, 1);
    return panel;
}

QWidget* RemittancePage::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    confirmButton_ = button(QStringLiteral("條件確認"), panel);
    selectAllButton_ = button(QStringLiteral("全選"), panel);
    selectAllButton_->setEnabled(false);
    remitTickedButton_ = button(QStringLiteral("選擇性匯款"), panel);
    remitAllButton_ = button(QStringLiteral("全部匯款"), panel);
    clearDatesButton_ = button(QStringLiteral("匯款日清空"), panel);
    clearDatesButton_->hide();                           // F1 shows it (the window's key handling)
    exitButton_ = button(QStringLiteral("離開"), panel); // the window closes itself
    // The output routine's button is never shown and does nothing: the remit press runs the
    // routine itself.
    outputButton_ = button(QStringLiteral("產生檔案"), panel);
    outputButton_->hide();

    grid->addWidget(confirmButton_, 0, 0);
    grid->addWidget(selectAllButton_, 0, 1);
    grid->addWidget(remitTickedButton_, 1, 0);
    grid->addWidget(remitAllButton_, 1, 1);
    grid->addWidget(clearDatesButton_, 2, 0);
    grid->addWidget(exitButton_, 2, 1);
    return panel;
}

void RemittancePage::connectHandlers()
{
    connect(confirmButton_, &QPushButton::clicked, this, [this] { onConfirm(); });
    connect(remitAllButton_, &QPushButton::clicked, this, [this] { onRemitAll(); });
    connect(remitTickedButton_, &QPushButton::clicked, this, [this] { onRemitTicked(); });
    connect(selectAllButton_, &QPushButton::clicked, this, [this] { onSelectAll(); });
    connect(clearDatesButton_, &QPushButton::clicked, this, [this] { onClearRemittanceDates(); });
}

bool RemittancePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dateRangeLabel_ && event->type() == QEvent::MouseButtonRelease)
        onDateRangeLabelClicked();
    else if (watched == fromDateEdit_->lineEdit() && event->type() == QEvent::FocusOut &&
             leavesTheField(*static_cast<QFocusEvent*>(event)))
        onFromDateLeft();
    return Page::eventFilter(watched, event);
}

WindowControls RemittancePage::windowControls() const
{
    WindowControls controls;
    controls.exitButton = exitButton_;
    controls.navigatingEdits = {fromDateEdit_,   toDateEdit_,        remittanceDateEdit_, bankPathEdit_,
                                exportFileEdit_, interBankFileEdit_, sameBankFileEdit_};
    controls.accountCombo = accountCombo_;
    controls.storeCombo = storeCombo_;
    controls.hiddenClearButton = clearDatesButton_;
    controls.gatedPresses = {{remitAllButton_, work::DeskAction::Remit},
                             {remitTickedButton_, work::DeskAction::Remit},
                             {clearDatesButton_, work::DeskAction::ClearDates}};
    return controls;
}

void RemittancePage::refreshGrid()
{
    grid_->reload();
}

remittance::ConfirmConditions RemittancePage::confirmConditions() const
{
    remittance::ConfirmConditions c;
    c.state = static_cast<remittance::RemittanceState>(remittanceStateGroup_->itemIndex());
    c.dateColumn = dateColumnGroup_->itemIndex();
    c.fromDateText = ui::toBig5(fromDateEdit_->text());
    c.toDateText = ui::toBig5(toDateEdit_->text());
    c.accountComboText = ui::toBig5(accountCombo_->currentText());
    c.storeComboText = ui::toBig5(storeCombo_->currentText());
    c.books = booksGroup_->itemIndex() == 1 ? remittance::Books::Joint : remittance::Books::OwnStore;
    return c;
}

remittance::Books RemittancePage::books() const
{
    return booksGroup_->itemIndex() == 1 ? remittance::Books::Joint : remittance::Books::OwnStore;
}

remittance::OutputControls RemittancePage::outputControls() const
{
    remittance::OutputControls c;
    c.makeTransferFiles = makeFilesCheck_->isChecked();
    c.bankPath = ui::toFileSystemPath(bankPathEdit_->text());
    c.interBankFileName = ui::toFileSystemPath(interBankFileEdit_->text());
    c.sameBankFileName = ui::toFileSystemPath(sameBankFileEdit_->text());
    c.fromDateText = ui::toBig5(fromDateEdit_->text());
    c.toDateText = ui::toBig5(toDateEdit_->text());
    c.remittanceDateText = ui::toBig5(remittanceDateEdit_->text());
    c.reportBankGroup = reportBankGroup_->itemIndex();
    c.books = booksGroup_->itemIndex();
    c.storeComboText = ui::toBig5(storeCombo_->currentText());
    c.reportTitle = context_.reportTitle;
    return c;
}

void RemittancePage::onConfirm()
{
    handle([this] {
        remittance::ConfirmOutputs outputs;
        outputs.showFileNames = [this](const remittance::ExportFileNames& names) {
            exportFileEdit_->setText(ui::fromBig5(names.exportFile));
            interBankFileEdit_->setText(ui::fromBig5(names.interBank));
            sameBankFileEdit_->setText(ui::fromBig5(names.sameBank));
        };
        outputs.enableSelectAll = [this] { selectAllButton_->setEnabled(true); };
        grid_->recordModel().clearRowAlerts(); // a new list: the refused rows' marks go
        // A quarter's bills take a while: the clerk may stop the list, which then leaves no
        // work tables and an empty grid.
        runCancellable([&] { remittance::confirmRemittance(*desk_, confirmConditions(), outputs); },
                       [this] {
                           run_.forget();
                           remittanceRows_.clear();
                       });
    });
}

void RemittancePage::onRemitAll()
{
    handle([this] { remit(remittance::RemitScope::AllRows); });
}

void RemittancePage::onRemitTicked()
{
    handle([this] { remit(remittance::RemitScope::TickedRows); });
}

void RemittancePage::remit(remittance::RemitScope scope)
{
    // Each press starts unmarked; the rows a refused one names are marked while it is told.
    grid_->recordModel().clearRowAlerts();
    const remittance::RemitResult result = remittance::remit(*desk_, scope, outputControls());
    grid_->recordModel().setRowAlerts(refusedRowAlerts(remittanceRows_, result.refused));
    showMessages(result.messages());
    if (const std::string summary = result.summary(); !summary.empty())
        context_.messages.inform(summary);
}

void RemittancePage::showMessages(const std::vector<std::string>& messages)
{
    for (const std::string& message : messages)
        context_.messages.inform(message);
}

void RemittancePage::onSelectAll()
{
    handle([this] { remittance::selectAll(*desk_); });
}

void RemittancePage::onClearRemittanceDates()
{
    handle([this] { showMessages(remittance::clearRemittanceDates(*desk_, books()).messages()); });
}

void RemittancePage::onFromDateLeft()
{
    toDateEdit_->setText(fromDateEdit_->text());
}

void RemittancePage::onDateRangeLabelClicked()
{
    fromDateEdit_->setText(QStringLiteral("2010/04/30"));
    toDateEdit_->setText(QStringLiteral("2010/04/30"));
}

} // namespace app
