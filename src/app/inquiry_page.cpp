#include "app/inquiry_page.h"

#include "app/lookup_dialog.h"
#include "inquiry/provider_field.h"
#include "ui/cancellable_run.h"
#include "ui/named_widgets.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
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
using ui::named;

template <std::size_t N>
QStringList items(const std::array<std::string_view, N>& texts)
{
    QStringList list;
    for (const std::string_view t : texts)
        list << QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    return list;
}

ui::RadioGroup* radioGroup(const QString& caption, const QStringList& entries, int columns, int defaultIndex,
                           const char* objectName, QWidget* parent)
{
    auto* group = named(new ui::RadioGroup(caption, entries, parent, columns), objectName);
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

QPushButton* hiddenButton(const QString& caption, const char* objectName, QWidget* parent)
{
    auto* b = button(caption, objectName, parent);
    b->hide(); // reached only through the confirm and print buttons
    return b;
}

} // namespace

InquiryPage::InquiryPage(AppContext& context, QWidget* parent) : Page(parent), context_(context)
{
    setObjectName(QStringLiteral("bsSkinTabSheet4"));

    wwDBGrid3 = named(new ui::DataGrid(ClientDataSet31, this), "wwDBGrid3");
    bsSkinGauge31 = named(new QProgressBar(this), "bsSkinGauge31");
    bsSkinGauge31->setTextVisible(false);
    bsSkinGauge31->setRange(0, 10);
    bsSkinGauge31->setValue(0);
    bsSkinGauge31->setFixedHeight(20);
    bsSkinMemo31 = named(new QPlainTextEdit(this), "bsSkinMemo31");
    bsSkinMemo31->setReadOnly(true);
    bsSkinMemo31->setFixedHeight(64);

    auto* top = new QHBoxLayout;
    top->addWidget(buildConditions());
    top->addWidget(buildButtons());
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(wwDBGrid3, 1);
    cancelRunButton_ = ui::cancelRunButton(this);
    auto* gaugeRow = new QHBoxLayout;
    gaugeRow->addWidget(bsSkinGauge31, 1);
    gaugeRow->addWidget(cancelRunButton_);
    layout->addLayout(gaugeRow);
    layout->addWidget(bsSkinMemo31);

    progress_ = std::make_unique<ui::ProgressPanel>(bsSkinGauge31, bsSkinMemo31);
    services_ = std::make_unique<inquiry::InquiryServices>(inquiry::InquiryServices{
        context_.database, context_.workTables, *progress_, context_.messages, ClientDataSet31});
    connectHandlers();
}

InquiryPage::~InquiryPage() = default;

QWidget* InquiryPage::buildConditions()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    const QString options = QStringLiteral("報表選項");
    bsSkinRadioGroup32 = radioGroup(options, items(inquiry::kProcessingStates), 3, 2, "bsSkinRadioGroup32", panel);
    bsSkinRadioGroup33 = radioGroup(QStringLiteral("條件選項"), items(inquiry::kPaymentKinds), 5, 0,
                                    "bsSkinRadioGroup33", panel);
    bsSkinRadioGroup31 = radioGroup(options, items(inquiry::kConditions), 3, 0, "bsSkinRadioGroup31", panel);
    bsSkinRadioGroup34 = radioGroup(options, items(inquiry::kReportFormats), 2, 0, "bsSkinRadioGroup34", panel);
    bsSkinRadioGroup35 = radioGroup(options, items(inquiry::kDataSelections), 2, 0, "bsSkinRadioGroup35", panel);

    bsSkinEdit1 = named(new QLineEdit(panel), "bsSkinEdit1");
    bsSkinEdit2 = named(new QLineEdit(panel), "bsSkinEdit2");
    auto* bills = new QHBoxLayout;
    bills->addWidget(bsSkinEdit1);
    bills->addWidget(new QLabel(QStringLiteral("~"), panel));
    bills->addWidget(bsSkinEdit2);

    bsSkinDateEdit31 = named(new ui::DateEdit(panel), "bsSkinDateEdit31");
    bsSkinDateEdit32 = named(new ui::DateEdit(panel), "bsSkinDateEdit32");
    auto* dates = new QHBoxLayout;
    dates->addWidget(bsSkinDateEdit31);
    dates->addWidget(new QLabel(QStringLiteral("~"), panel));
    dates->addWidget(bsSkinDateEdit32);
    dates->addStretch(1); // the range stays together, as on the other tabs

    // Filled with the stores by the window at show; no entry chosen at start.
    bsSkinComboBox32 = ui::editableCombo("bsSkinComboBox32", panel, 16);

    bsSkinEdit5 = named(new QLineEdit(panel), "bsSkinEdit5");
    bsSkinEdit5Button = bsSkinEdit5->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                               QLineEdit::TrailingPosition);
    bsSkinEdit5Button->setObjectName(QStringLiteral("bsSkinEdit5Button"));
    bsSkinEdit5Button->setToolTip(QStringLiteral("廠商查詢 (F4)"));
    bsSkinEdit6 = named(new QLineEdit(panel), "bsSkinEdit6");
    bsSkinEdit6->setReadOnly(true);
    bsSkinEdit6->setFocusPolicy(Qt::ClickFocus); // no tab stop
    auto* provider = new QHBoxLayout;
    provider->addWidget(bsSkinEdit5);
    provider->addWidget(bsSkinEdit6, 2);

    grid->addWidget(bsSkinRadioGroup32, 0, 0);
    grid->addWidget(bsSkinRadioGroup33, 0, 1, 1, 2);
    grid->addWidget(bsSkinRadioGroup31, 1, 0);
    grid->addWidget(bsSkinRadioGroup34, 1, 1);
    grid->addWidget(bsSkinRadioGroup35, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("單據區間"), panel), 2, 0);
    grid->addLayout(bills, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("日期區間"), panel), 3, 0);
    grid->addLayout(dates, 3, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("分店代號"), panel), 4, 0);
    grid->addWidget(bsSkinComboBox32, 4, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("廠商代號"), panel), 5, 0);
    grid->addLayout(provider, 5, 1, 1, 2);
    return panel;
}

QWidget* InquiryPage::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    bsSkinButton14 = button(QStringLiteral("條件確認"), "bsSkinButton14", panel);
    bsSkinButton16 = button(QStringLiteral("資料印表"), "bsSkinButton16", panel);
    bsSkinButton15 = button(QStringLiteral("離開"), "bsSkinButton15", panel); // the window closes itself
    SpeedButton8 = hiddenButton(QStringLiteral("本"), "SpeedButton8", panel);
    SpeedButton9 = hiddenButton(QStringLiteral("聯"), "SpeedButton9", panel);
    SpeedButton6 = hiddenButton(QStringLiteral("0-1"), "SpeedButton6", panel);
    SpeedButton7 = hiddenButton(QStringLiteral("2"), "SpeedButton7", panel);
    SpeedButton10 = hiddenButton(QStringLiteral("3"), "SpeedButton10", panel);
    for (QPushButton* b : {bsSkinButton14, bsSkinButton16, bsSkinButton15, SpeedButton8, SpeedButton9, SpeedButton6,
                           SpeedButton7, SpeedButton10})
        column->addWidget(b);
    column->addStretch(1);
    return panel;
}

void InquiryPage::connectHandlers()
{
    connect(bsSkinButton14, &QPushButton::clicked, this, &InquiryPage::bsSkinButton14Click);
    connect(bsSkinButton16, &QPushButton::clicked, this, &InquiryPage::bsSkinButton16Click);
    connect(SpeedButton8, &QPushButton::clicked, this, &InquiryPage::SpeedButton8Click);
    connect(SpeedButton9, &QPushButton::clicked, this, &InquiryPage::SpeedButton9Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &InquiryPage::SpeedButton6Click);
    connect(SpeedButton7, &QPushButton::clicked, this, &InquiryPage::SpeedButton7Click);
    connect(SpeedButton10, &QPushButton::clicked, this, &InquiryPage::SpeedButton10Click);
    connect(bsSkinEdit5Button, &QAction::triggered, this, &InquiryPage::bsSkinEdit5ButtonClick);
    bsSkinEdit5->installEventFilter(this);
}

void InquiryPage::refreshGrid()
{
    wwDBGrid3->reload();
}

void InquiryPage::handle(const std::function<void()>& body)
{
    context_.messages.guarded(body);
    refreshGrid();
}

// A run over a quarter's bills takes a while: the clerk may stop it, which leaves no work
// tables and an empty grid.
void InquiryPage::runCancellable(const std::function<void()>& run)
{
    ui::runCancellable(context_.database, cancelRunButton_, *progress_, context_.messages, run, [this] {
        ClientDataSet31.clear();
        context_.workTables.dropAll();
    });
}

inquiry::InquiryConditions InquiryPage::conditions() const
{
    inquiry::InquiryConditions c;
    c.processingState = bsSkinRadioGroup32->itemIndex();
    c.paymentKind = bsSkinRadioGroup33->itemIndex();
    c.condition = bsSkinRadioGroup31->itemIndex();
    c.reportFormat = bsSkinRadioGroup34->itemIndex();
    c.dataSelection = bsSkinRadioGroup35->itemIndex();
    c.billFrom = ui::toBig5(bsSkinEdit1->text());
    c.billTo = ui::toBig5(bsSkinEdit2->text());
    c.dateFromText = ui::toBig5(bsSkinDateEdit31->text());
    c.dateToText = ui::toBig5(bsSkinDateEdit32->text());
    c.providerText = ui::toBig5(bsSkinEdit5->text());
    c.storeText = ui::toBig5(bsSkinComboBox32->currentText());
    return c;
}

void InquiryPage::bsSkinButton14Click()
{
    handle([this] { runCancellable([this] { inquiry::confirm(conditions(), *services_); }); });
}

void InquiryPage::SpeedButton8Click()
{
    handle([this] { runCancellable([this] { inquiry::runOwnStore(conditions(), *services_); }); });
}

void InquiryPage::SpeedButton9Click()
{
    handle([this] { runCancellable([this] { inquiry::runAllStores(conditions(), *services_); }); });
}

void InquiryPage::bsSkinButton16Click()
{
    handle([this] {
        inquiry::ReportServices reports{context_.reports, context_.reportTitle};
        inquiry::print(conditions(), *services_, reports);
    });
}

void InquiryPage::SpeedButton6Click()
{
    handle([this] {
        inquiry::ReportServices reports{context_.reports, context_.reportTitle};
        inquiry::printByDate(conditions(), *services_, reports);
    });
}

void InquiryPage::SpeedButton7Click()
{
    handle([this] {
        inquiry::ReportServices reports{context_.reports, context_.reportTitle};
        inquiry::printByBillRange(conditions(), *services_, reports);
    });
}

void InquiryPage::SpeedButton10Click()
{
    handle([this] {
        inquiry::ReportServices reports{context_.reports, context_.reportTitle};
        inquiry::printStatistics(conditions(), *services_, reports);
    });
}

void InquiryPage::bsSkinEdit5ButtonClick()
{
    context_.messages.guarded([this] {
        // The provider list is read once per program run; a search in the dialog sees new
        // providers at once.
        if (!CDS_FAC.isOpen())
            CDS_FAC = inquiry::openProviderList(context_.database);
        LookupDialog dialog(context_.database, context_.messages, window());
        dialog.setOriginalData(CDS_FAC);
        dialog.setLookupTable("PROVIDER");
        if (dialog.execute()) {
            bsSkinEdit5->setText(ui::fromBig5(dialog.currentText("PROVIDER_ID")));
            bsSkinEdit6->setText(ui::fromBig5(dialog.currentText("PROVIDER_NAME")));
        }
    });
}

void InquiryPage::bsSkinEdit5Exit()
{
    context_.messages.guarded([this] {
        const std::string name = inquiry::providerName(context_.database, ui::toBig5(bsSkinEdit5->text()));
        // An unknown code leaves the name of the last provider found.
        if (!name.empty())
            bsSkinEdit6->setText(ui::fromBig5(name));
    });
}

bool InquiryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bsSkinEdit5 && event->type() == QEvent::KeyPress && opensTheLookup(*static_cast<QKeyEvent*>(event))) {
        bsSkinEdit5ButtonClick();
        return true;
    }
    if (watched == bsSkinEdit5 && event->type() == QEvent::FocusOut) {
        // Another window becoming active (the lookup dialog, a message box) is not leaving the edit.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            bsSkinEdit5Exit();
    }
    return Page::eventFilter(watched, event);
}

} // namespace app
