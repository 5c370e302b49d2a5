#include "app/remittance_page.h"

#include "remittance/clear_remittance_dates.h"
#include "remittance/condition_confirm.h"
#include "remittance/output_routine.h"
#include "remittance/remit.h"
#include "remittance/remittance_desk.h"
#include "remittance/select_all.h"
#include "ui/cancellable_run.h"
#include "ui/named_widgets.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
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
using ui::named;

// The file-name edits take what is typed in upper case, as the bank's software expects.
QLineEdit* upperCaseEdit(const char* objectName, QWidget* parent)
{
    auto* edit = named(new QLineEdit(parent), objectName);
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

ui::RadioGroup* radioGroup(const QStringList& items, int columns, const char* objectName, QWidget* parent)
{
    // Every option group of the tab carries the same caption.
    auto* group = named(new ui::RadioGroup(QStringLiteral("報表選項"), items, parent, columns), objectName);
    group->setItemIndex(0);
    return group;
}

} // namespace

RemittancePage::RemittancePage(AppContext& context, QWidget* parent) : Page(parent), context_(context)
{
    setObjectName(QStringLiteral("bsSkinTabSheet1"));

    wwDBGrid1 = named(new ui::DataGrid(ClientDataSet11, this), "wwDBGrid1");
    wwDBGrid1->setCheckField("CHKED");
    bsSkinGauge11 = named(new QProgressBar(this), "bsSkinGauge11");
    bsSkinGauge11->setTextVisible(false);
    bsSkinGauge11->setRange(0, 10);
    bsSkinGauge11->setValue(0);
    bsSkinMemo11 = named(new QPlainTextEdit(this), "bsSkinMemo11");
    bsSkinMemo11->setReadOnly(true);
    bsSkinMemo11->setMaximumHeight(80);

    // One panel of conditions and buttons above the grid.
    auto* panel = named(new QWidget(this), "bsSkinPanel1");
    auto* top = new QHBoxLayout(panel);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(buildConditions());
    top->addWidget(buildTransferSettings());
    top->addWidget(buildButtons());
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(panel);
    layout->addWidget(wwDBGrid1, 1);
    cancelRunButton_ = ui::cancelRunButton(this);
    auto* gaugeRow = new QHBoxLayout;
    gaugeRow->addWidget(bsSkinGauge11, 1);
    gaugeRow->addWidget(cancelRunButton_);
    layout->addLayout(gaugeRow);
    layout->addWidget(bsSkinMemo11);

    progress_ = std::make_unique<ui::ProgressPanel>(bsSkinGauge11, bsSkinMemo11);
    desk_ = std::make_unique<remittance::RemittanceDesk>(remittance::RemittanceDesk{
        context_.database, context_.workTables, *progress_, context_.messages, ClientDataSet11, run_,
        context_.reports});
    connectHandlers();
}

RemittancePage::~RemittancePage() = default;

QWidget* RemittancePage::buildConditions()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    bsSkinRadioGroup12 = radioGroup({QStringLiteral("未 匯 款"), QStringLiteral("已 匯 款"), QStringLiteral("不分匯款")}, 3,
                                    "bsSkinRadioGroup12", panel);
    bsSkinRadioGroup11 = radioGroup({QStringLiteral("付款日期"), QStringLiteral("沖帳日期")}, 2, "bsSkinRadioGroup11", panel);

    bsSkinStdLabel3 = named(new QLabel(QStringLiteral("日期區間"), panel), "bsSkinStdLabel3");
    bsSkinStdLabel3->installEventFilter(this);
    bsSkinDateEdit11 = named(new ui::DateEdit(panel), "bsSkinDateEdit11");
    bsSkinDateEdit11->lineEdit()->installEventFilter(this);
    bsSkinDateEdit12 = named(new ui::DateEdit(panel), "bsSkinDateEdit12");
    auto* range = new QHBoxLayout;
    range->addWidget(bsSkinDateEdit11);
    range->addWidget(new QLabel(QStringLiteral("~"), panel));
    range->addWidget(bsSkinDateEdit12);

    bsSkinComboBox11 = editableCombo("bsSkinComboBox11", panel, 14);
    bsSkinComboBox12 = editableCombo("bsSkinComboBox12", panel, 14);
    bsSkinRadioGroup13 = radioGroup({QStringLiteral("本店匯款"), QStringLiteral("聯合匯款")}, 2, "bsSkinRadioGroup13", panel);

    grid->addWidget(bsSkinRadioGroup12, 0, 0, 1, 2);
    grid->addWidget(bsSkinRadioGroup11, 1, 0, 1, 2);
    grid->addWidget(bsSkinStdLabel3, 0, 2);
    grid->addLayout(range, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("帳戶代號"), panel), 1, 2);
    grid->addWidget(bsSkinComboBox11, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("分店代號"), panel), 2, 2);
    grid->addWidget(bsSkinComboBox12, 2, 3);
    grid->addWidget(bsSkinRadioGroup13, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("【2014/03/18】"), panel), 3, 0);
    return panel;
}

QWidget* RemittancePage::buildTransferSettings()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    bsSkinEdit_FILE = upperCaseEdit("bsSkinEdit_FILE", panel);
    bsSkinEdit_FILEa = upperCaseEdit("bsSkinEdit_FILEa", panel);
    bsSkinEdit_FILEb = upperCaseEdit("bsSkinEdit_FILEb", panel);
    // Each file-name edit under its own caption: the account's export file, then the
    // inter-bank ("跨 行") and the same-bank ("聯行檔名") transfer files.
    auto* files = new QGridLayout;
    files->setVerticalSpacing(0);
    files->addWidget(new QLabel(QStringLiteral("跨 行"), panel), 0, 1);
    files->addWidget(new QLabel(QStringLiteral("聯行檔名"), panel), 0, 2);
    files->addWidget(bsSkinEdit_FILE, 1, 0);
    files->addWidget(bsSkinEdit_FILEa, 1, 1);
    files->addWidget(bsSkinEdit_FILEb, 1, 2);

    bsSkinDateEdit13 = named(new ui::DateEdit(panel), "bsSkinDateEdit13");
    bsSkinCheckRadioBox11 = named(new QCheckBox(QStringLiteral("產生匯款檔案"), panel), "bsSkinCheckRadioBox11");
    bsSkinCheckRadioBox11->setChecked(true);
    bsSkinEdit15 = named(new QLineEdit(panel), "bsSkinEdit15");
    bsSkinRadioGroup16 = radioGroup({QStringLiteral("跨 銀 行"), QStringLiteral("本 銀 行")}, 2, "bsSkinRadioGroup16", panel);

    grid->addWidget(new QLabel(QStringLiteral("檔名"), panel), 1, 0, Qt::AlignBottom);
    grid->addLayout(files, 0, 1, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("匯款日期"), panel), 2, 0);
    grid->addWidget(bsSkinDateEdit13, 2, 1);
    grid->addWidget(bsSkinCheckRadioBox11, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("路徑檔名"), panel), 4, 0);
    grid->addWidget(bsSkinEdit15, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("匯款報表"), panel), 5, 0);
    grid->addWidget(bsSkinRadioGroup16, 5, 1);
    return panel;
}

QWidget* RemittancePage::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    bsSkinButton6 = button(QStringLiteral("條件確認"), "bsSkinButton6", panel);
    bsSkinButton17 = button(QStringLiteral("全選"), "bsSkinButton17", panel);
    bsSkinButton17->setEnabled(false);
    bsSkinButton9 = button(QStringLiteral("選擇性匯款"), "bsSkinButton9", panel);
    bsSkinButton8 = button(QStringLiteral("全部匯款"), "bsSkinButton8", panel);
    BitBtn1 = button(QStringLiteral("匯款日清空"), "BitBtn1", panel);
    BitBtn1->hide(); // F1 shows it (the window's key handling)
    bsSkinButton7 = button(QStringLiteral("離開"), "bsSkinButton7", panel); // the window closes itself
    // The output routine's button is never shown; the remit buttons call its handler.
    SpeedButton1 = button(QStringLiteral("產生檔案"), "SpeedButton1", panel);
    SpeedButton1->hide();

    grid->addWidget(bsSkinButton6, 0, 0);
    grid->addWidget(bsSkinButton17, 0, 1);
    grid->addWidget(bsSkinButton9, 1, 0);
    grid->addWidget(bsSkinButton8, 1, 1);
    grid->addWidget(BitBtn1, 2, 0);
    grid->addWidget(bsSkinButton7, 2, 1);
    return panel;
}

void RemittancePage::connectHandlers()
{
    connect(bsSkinButton6, &QPushButton::clicked, this, [this] { bsSkinButton6Click(); });
    connect(bsSkinButton8, &QPushButton::clicked, this, [this] { bsSkinButton8Click(); });
    connect(bsSkinButton9, &QPushButton::clicked, this, [this] { bsSkinButton9Click(); });
    connect(bsSkinButton17, &QPushButton::clicked, this, [this] { bsSkinButton17Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { handle([this] { SpeedButton1Click(); }); });
}

bool RemittancePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bsSkinStdLabel3 && event->type() == QEvent::MouseButtonRelease)
        bsSkinStdLabel3Click();
    else if (watched == bsSkinDateEdit11->lineEdit() && event->type() == QEvent::FocusOut &&
             leavesTheField(*static_cast<QFocusEvent*>(event)))
        bsSkinDateEdit11Exit();
    return Page::eventFilter(watched, event);
}

void RemittancePage::refreshGrid()
{
    wwDBGrid1->reload();
}

void RemittancePage::handle(const std::function<void()>& body)
{
    context_.messages.guarded(body);
    wwDBGrid1->reload();
}

remittance::ConfirmConditions RemittancePage::confirmConditions() const
{
    remittance::ConfirmConditions c;
    c.state = static_cast<remittance::RemittanceState>(bsSkinRadioGroup12->itemIndex());
    c.dateColumn = bsSkinRadioGroup11->itemIndex();
    c.fromDateText = ui::toBig5(bsSkinDateEdit11->text());
    c.toDateText = ui::toBig5(bsSkinDateEdit12->text());
    c.accountComboText = ui::toBig5(bsSkinComboBox11->currentText());
    c.storeComboText = ui::toBig5(bsSkinComboBox12->currentText());
    c.books = bsSkinRadioGroup13->itemIndex() == 1 ? remittance::Books::Joint : remittance::Books::OwnStore;
    return c;
}

remittance::Books RemittancePage::books() const
{
    return bsSkinRadioGroup13->itemIndex() == 1 ? remittance::Books::Joint : remittance::Books::OwnStore;
}

remittance::OutputControls RemittancePage::outputControls() const
{
    remittance::OutputControls c;
    c.makeTransferFiles = bsSkinCheckRadioBox11->isChecked();
    c.bankPath = ui::toFileSystemPath(bsSkinEdit15->text());
    c.interBankFileName = ui::toFileSystemPath(bsSkinEdit_FILEa->text());
    c.sameBankFileName = ui::toFileSystemPath(bsSkinEdit_FILEb->text());
    c.fromDateText = ui::toBig5(bsSkinDateEdit11->text());
    c.toDateText = ui::toBig5(bsSkinDateEdit12->text());
    c.remittanceDateText = ui::toBig5(bsSkinDateEdit13->text());
    c.reportBankGroup = bsSkinRadioGroup16->itemIndex();
    c.books = bsSkinRadioGroup13->itemIndex();
    c.storeComboText = ui::toBig5(bsSkinComboBox12->currentText());
    c.reportTitle = context_.reportTitle;
    return c;
}

void RemittancePage::bsSkinButton6Click()
{
    handle([this] {
        remittance::ConfirmOutputs outputs;
        outputs.showFileNames = [this](const remittance::ExportFileNames& names) {
            bsSkinEdit_FILE->setText(ui::fromBig5(names.exportFile));
            bsSkinEdit_FILEa->setText(ui::fromBig5(names.interBank));
            bsSkinEdit_FILEb->setText(ui::fromBig5(names.sameBank));
        };
        outputs.enableSelectAll = [this] { bsSkinButton17->setEnabled(true); };
        wwDBGrid1->recordModel().clearRowAlerts(); // a new list: the refused rows' marks go
        // A quarter's bills take a while: the clerk may stop the list, which then leaves no
        // work tables and an empty grid.
        ui::runCancellable(
            context_.database, cancelRunButton_, *progress_, context_.messages,
            [&] { remittance::confirmRemittance(*desk_, confirmConditions(), outputs); },
            [this] {
                run_.forget();
                ClientDataSet11.clear();
                context_.workTables.dropAll();
            });
    });
}

void RemittancePage::bsSkinButton8Click()
{
    handle([this] { remit(remittance::RemitScope::AllRows); });
}

void RemittancePage::bsSkinButton9Click()
{
    handle([this] { remit(remittance::RemitScope::TickedRows); });
}

void RemittancePage::remit(remittance::RemitScope scope)
{
    // Each press starts unmarked; the rows a refused one names are marked while it is told.
    wwDBGrid1->recordModel().clearRowAlerts();
    const remittance::RemitResult result = remittance::remit(*desk_, scope, outputControls());
    wwDBGrid1->recordModel().setRowAlerts(refusedRowAlerts(ClientDataSet11, result.refused));
    showMessages(result.messages());
    if (const std::string summary = result.summary(); !summary.empty())
        context_.messages.inform(summary);
}

void RemittancePage::showMessages(const std::vector<std::string>& messages)
{
    for (const std::string& message : messages)
        context_.messages.inform(message);
}

void RemittancePage::bsSkinButton17Click()
{
    handle([this] { remittance::selectAll(*desk_); });
}

void RemittancePage::BitBtn1Click()
{
    handle([this] { showMessages(remittance::clearRemittanceDates(*desk_, books()).messages()); });
}

// The output routine's hidden button prints the remittance list of WorkTableC; transfer files
// come only from a remit press, which journals them.
void RemittancePage::SpeedButton1Click()
{
    remittance::runRemittanceOutput(remittance::OutputRequest{outputControls(), context_.database,
                                                              context_.workTables, *progress_, context_.messages,
                                                              context_.reports, ClientDataSet11});
}

void RemittancePage::bsSkinDateEdit11Exit()
{
    bsSkinDateEdit12->setText(bsSkinDateEdit11->text());
}

void RemittancePage::bsSkinStdLabel3Click()
{
    bsSkinDateEdit11->setText(QStringLiteral("2010/04/30"));
    bsSkinDateEdit12->setText(QStringLiteral("2010/04/30"));
}

} // namespace app
