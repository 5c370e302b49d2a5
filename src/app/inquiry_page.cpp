#include "app/inquiry_page.h"

#include "app/lookup_dialog.h"
#include "inquiry/inquiry_tables.h"
#include "inquiry/provider_field.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "ui/radio_group.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace app {

namespace {

using ui::button;

template <std::size_t N> QStringList items(const std::array<std::string_view, N>& texts)
{
    QStringList list;
    for (const std::string_view t : texts)
        list << QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    return list;
}

ui::RadioGroup* radioGroup(const QString& caption, const QStringList& entries, int columns, int defaultIndex,
                           QWidget* parent)
{
    auto* group = new ui::RadioGroup(caption, entries, parent, columns);
    group->setItemIndex(defaultIndex);
    return group;
}

// The keys that open a drop-down list in a combo box open the provider lookup too: F4 and
// Alt+Down.
bool opensTheLookup(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_F4 && key.modifiers() == Qt::NoModifier) ||
           (key.key() == Qt::Key_Down && key.modifiers() == Qt::AltModifier);
}

QPushButton* hiddenButton(const QString& caption, QWidget* parent)
{
    auto* b = button(caption, parent);
    // Never shown and does nothing: the confirm and print buttons run the routines these
    // stood for.
    b->hide();
    return b;
}

} // namespace

InquiryPage::InquiryPage(AppContext& context, QWidget* parent) : Page(context, parent)
{
    grid_ = new ui::DataGrid(inquiryRows_, inquiry::inquiryFields(), this);
    createProgressDisplay();
    // Lower than on the other tabs: the inquiry's conditions take more room above the grid.
    gauge_->setFixedHeight(20);
    statusMemo_->setFixedHeight(64);

    auto* top = new QHBoxLayout;
    top->addWidget(buildConditions());
    top->addWidget(buildButtons());
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    placeProgressDisplay(*layout);

    desk_ = std::make_unique<inquiry::InquiryDesk>(
        inquiry::InquiryDesk{context_.database, context_.workTables, progress(), context_.messages, inquiryRows_});
    connectHandlers();

    // The component names, the one place they are set.
    ui::setComponentNames({
        {this, "bsSkinTabSheet4"},
        {processingStateGroup_, "bsSkinRadioGroup32"},
        {paymentKindGroup_, "bsSkinRadioGroup33"},
        {conditionGroup_, "bsSkinRadioGroup31"},
        {reportFormatGroup_, "bsSkinRadioGroup34"},
        {dataSelectionGroup_, "bsSkinRadioGroup35"},
        {billFromEdit_, "bsSkinEdit1"},
        {billToEdit_, "bsSkinEdit2"},
        {fromDateEdit_, "bsSkinDateEdit31"},
        {toDateEdit_, "bsSkinDateEdit32"},
        {storeCombo_, "bsSkinComboBox32"},
        {providerEdit_, "bsSkinEdit5"},
        {providerLookupAction_, "bsSkinEdit5Button"},
        {providerNameEdit_, "bsSkinEdit6"},
        {confirmButton_, "bsSkinButton14"},
        {printButton_, "bsSkinButton16"},
        {exitButton_, "bsSkinButton15"},
        {ownStoreRunButton_, "SpeedButton8"},
        {allStoresRunButton_, "SpeedButton9"},
        {byDateReportButton_, "SpeedButton6"},
        {byBillRangeReportButton_, "SpeedButton7"},
        {statisticsReportButton_, "SpeedButton10"},
        {grid_, "wwDBGrid3"},
        {gauge_, "bsSkinGauge31"},
        {statusMemo_, "bsSkinMemo31"},
    });
}

InquiryPage::~InquiryPage() = default;

QWidget* InquiryPage::buildConditions()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    const QString options = QStringLiteral("報表選項");
    processingStateGroup_ = radioGroup(options, items(inquiry::kProcessingStates), 3, 2, panel);
    paymentKindGroup_ = radioGroup(QStringLiteral("條件選項"), items(inquiry::kPaymentKinds), 5, 0, panel);
    conditionGroup_ = radioGroup(options, items(inquiry::kConditions), 3, 0, panel);
    reportFormatGroup_ = radioGroup(options, items(inquiry::kReportFormats), 2, 0, panel);
    dataSelectionGroup_ = radioGroup(options, items(inquiry::kDataSelections), 2, 0, panel);

    billFromEdit_ = new QLineEdit(panel);
    billToEdit_ = new QLineEdit(panel);
    auto* bills = new QHBoxLayout;
    bills->addWidget(billFromEdit_);
    bills->addWidget(new QLabel(QStringLiteral("~"), panel));
    bills->addWidget(billToEdit_);

    fromDateEdit_ = new ui::DateEdit(panel);
    toDateEdit_ = new ui::DateEdit(panel);
    auto* dates = new QHBoxLayout;
    dates->addWidget(fromDateEdit_);
    dates->addWidget(new QLabel(QStringLiteral("~"), panel));
    dates->addWidget(toDateEdit_);
    dates->addStretch(1); // the range stays together, as on the other tabs

    // Filled with the stores by the window at show; no entry chosen at start.
    storeCombo_ = ui::editableCombo(panel, 16);

    providerEdit_ = new QLineEdit(panel);
    providerLookupAction_ =
        providerEdit_->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), QLineEdit::TrailingPosition);
    providerLookupAction_->setToolTip(QStringLiteral("廠商查詢 (F4)"));
    providerNameEdit_ = new QLineEdit(panel);
    providerNameEdit_->setReadOnly(true);
    providerNameEdit_->setFocusPolicy(Qt::ClickFocus); // no tab stop
    auto* provider = new QHBoxLayout;
    provider->addWidget(providerEdit_);
    provider->addWidget(providerNameEdit_, 2);

    grid->addWidget(processingStateGroup_, 0, 0);
    grid->addWidget(paymentKindGroup_, 0, 1, 1, 2);
    grid->addWidget(conditionGroup_, 1, 0);
    grid->addWidget(reportFormatGroup_, 1, 1);
    grid->addWidget(dataSelectionGroup_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("單據區間"), panel), 2, 0);
    grid->addLayout(bills, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("日期區間"), panel), 3, 0);
    grid->addLayout(dates, 3, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("分店代號"), panel), 4, 0);
    grid->addWidget(storeCombo_, 4, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("廠商代號"), panel), 5, 0);
    grid->addLayout(provider, 5, 1, 1, 2);
    return panel;
}

QWidget* InquiryPage::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    confirmButton_ = button(QStringLiteral("條件確認"), panel);
    printButton_ = button(QStringLiteral("資料印表"), panel);
    exitButton_ = button(QStringLiteral("離開"), panel); // the window closes itself
    ownStoreRunButton_ = hiddenButton(QStringLiteral("本"), panel);
    allStoresRunButton_ = hiddenButton(QStringLiteral("聯"), panel);
    byDateReportButton_ = hiddenButton(QStringLiteral("0-1"), panel);
    byBillRangeReportButton_ = hiddenButton(QStringLiteral("2"), panel);
    statisticsReportButton_ = hiddenButton(QStringLiteral("3"), panel);
    for (QPushButton* b : {confirmButton_, printButton_, exitButton_, ownStoreRunButton_, allStoresRunButton_,
                           byDateReportButton_, byBillRangeReportButton_, statisticsReportButton_})
        column->addWidget(b);
    column->addStretch(1);
    return panel;
}

void InquiryPage::connectHandlers()
{
    connect(confirmButton_, &QPushButton::clicked, this, &InquiryPage::onConfirm);
    connect(printButton_, &QPushButton::clicked, this, &InquiryPage::onPrint);
    connect(providerLookupAction_, &QAction::triggered, this, &InquiryPage::onLookUpProvider);
    providerEdit_->installEventFilter(this);
}

WindowControls InquiryPage::windowControls() const
{
    WindowControls controls;
    controls.exitButton = exitButton_;
    controls.navigatingEdits = {fromDateEdit_, toDateEdit_, billFromEdit_, billToEdit_, providerEdit_};
    controls.storeCombo = storeCombo_;
    return controls;
}

void InquiryPage::refreshGrid()
{
    grid_->reload();
}

inquiry::InquiryConditions InquiryPage::conditions() const
{
    inquiry::InquiryConditions c;
    c.processingState = processingStateGroup_->itemIndex();
    c.paymentKind = paymentKindGroup_->itemIndex();
    c.condition = conditionGroup_->itemIndex();
    c.reportFormat = reportFormatGroup_->itemIndex();
    c.dataSelection = dataSelectionGroup_->itemIndex();
    c.billFrom = ui::toBig5(billFromEdit_->text());
    c.billTo = ui::toBig5(billToEdit_->text());
    c.dateFromText = ui::toBig5(fromDateEdit_->text());
    c.dateToText = ui::toBig5(toDateEdit_->text());
    c.providerText = ui::toBig5(providerEdit_->text());
    c.storeText = ui::toBig5(storeCombo_->currentText());
    return c;
}

void InquiryPage::onConfirm()
{
    // A run over a quarter's bills takes a while: the clerk may stop it, which leaves no work
    // tables and an empty grid.
    handle([this] {
        runCancellable([this] { inquiry::confirm(conditions(), *desk_); }, [this] { inquiryRows_.clear(); });
    });
}

void InquiryPage::onPrint()
{
    handle([this] {
        inquiry::ReportServices reports{context_.reports, context_.reportTitle};
        inquiry::print(conditions(), *desk_, reports);
    });
}

void InquiryPage::onLookUpProvider()
{
    context_.messages.guarded([this] {
        // The provider list is read once per program run; a search in the dialog sees new
        // providers at once.
        if (!providers_.isOpen())
            providers_ = inquiry::openProviderList(context_.database);
        LookupDialog dialog(context_.database, context_.messages, window());
        dialog.setOriginalData(providers_, inquiry::providerListColumns());
        dialog.setLookupTable("PROVIDER");
        if (dialog.execute()) {
            providerEdit_->setText(ui::fromBig5(dialog.currentText("PROVIDER_ID")));
            providerNameEdit_->setText(ui::fromBig5(dialog.currentText("PROVIDER_NAME")));
        }
    });
}

void InquiryPage::onProviderLeft()
{
    context_.messages.guarded([this] {
        const std::string name = inquiry::providerName(context_.database, ui::toBig5(providerEdit_->text()));
        // An unknown code leaves the name of the last provider found.
        if (!name.empty())
            providerNameEdit_->setText(ui::fromBig5(name));
    });
}

bool InquiryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == providerEdit_ && event->type() == QEvent::KeyPress &&
        opensTheLookup(*static_cast<QKeyEvent*>(event))) {
        onLookUpProvider();
        return true;
    }
    if (watched == providerEdit_ && event->type() == QEvent::FocusOut) {
        // Another window becoming active (the lookup dialog, a message box) is not leaving the edit.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            onProviderLeft();
    }
    return Page::eventFilter(watched, event);
}

} // namespace app
