#include "app/lookup_dialog.h"

#include "ui/grid_excel_action.h"
#include "ui/message_boxes.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "ui/radio_group.h"
#include "ui/record_set_model.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>

namespace app {

namespace {

QPushButton* plainButton(const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    // Enter belongs to the search text, the field list and the grid, never to a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

LookupDialog::LookupDialog(db::Executor& database, ui::MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), database_(database), messages_(messages)
{
    setWindowTitle(QStringLiteral("資料查詢擷取"));
    QFont font(QStringLiteral("新細明體"));
    font.setPointSize(9);
    setFont(font);
    buildWindow();

    // The component names, the one place they are set.
    ui::setComponentNames({
        {this, "Frmgetdata"},
        {fieldLabelCombo_, "ComboBox1"},
        {fieldNameCombo_, "ComboBox2"},
        {matchModeGroup_, "RadioGroup1"},
        {searchEdit_, "Edit1"},
        {firstButton_, "NavFirst"},
        {priorButton_, "NavPrior"},
        {nextButton_, "NavNext"},
        {lastButton_, "NavLast"},
        {searchButton_, "SearchButton"},
        {resetButton_, "ResetButton"},
        {grid_, "DBGrid1"},
        {okButton_, "OkButton"},
        {cancelButton_, "CancelButton"},
    });
    resize(543, 415);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

LookupDialog::~LookupDialog()
{
    // The grid's models read record sets that go before the dialog's own destructor hides
    // and repaints its children: detach them while those record sets are still there.
    grid_->setModel(nullptr);
}

void LookupDialog::buildWindow()
{
    auto* band = new QWidget(this);
    band->setAutoFillBackground(true);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    band->setPalette(white);

    auto* fieldLabel = new QLabel(QStringLiteral("搜尋欄位選擇"), band);
    QPalette blue = fieldLabel->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    fieldLabel->setPalette(blue);

    // The field list takes only its own entries, so every search has a column to search.
    fieldLabelCombo_ = new QComboBox(band);
    fieldLabelCombo_->setEditable(false);
    fieldLabelCombo_->setMinimumContentsLength(12);
    fieldNameCombo_ = new QComboBox(band);
    fieldNameCombo_->hide();

    matchModeGroup_ =
        new ui::RadioGroup(QString(), {QStringLiteral("完全"), QStringLiteral("字首"), QStringLiteral("其中有")}, band);
    matchModeGroup_->setItemIndex(0);
    searchEdit_ = new QLineEdit(band);

    firstButton_ = plainButton(QStringLiteral("首筆"), band);
    priorButton_ = plainButton(QStringLiteral("前筆"), band);
    nextButton_ = plainButton(QStringLiteral("次筆"), band);
    lastButton_ = plainButton(QStringLiteral("末筆"), band);
    firstButton_->setToolTip(QStringLiteral("首筆記錄"));
    priorButton_->setToolTip(QStringLiteral("前筆記錄"));
    nextButton_->setToolTip(QStringLiteral("次筆記錄"));
    lastButton_->setToolTip(QStringLiteral("末筆記錄"));
    searchButton_ = plainButton(QStringLiteral("開始尋找"), band);
    resetButton_ = plainButton(QStringLiteral("條件重設"), band);
    resetButton_->setToolTip(QStringLiteral("重設條件"));

    auto* bandLayout = new QGridLayout(band);
    bandLayout->addWidget(fieldLabel, 0, 0);
    bandLayout->addWidget(fieldLabelCombo_, 1, 0);
    bandLayout->addWidget(fieldNameCombo_, 1, 0);
    bandLayout->addWidget(matchModeGroup_, 0, 1, 2, 1);
    bandLayout->addWidget(searchEdit_, 1, 2);
    auto* navigation = new QHBoxLayout;
    for (QPushButton* b : {firstButton_, priorButton_, nextButton_, lastButton_})
        navigation->addWidget(b);
    navigation->addStretch(1);
    navigation->addWidget(searchButton_);
    navigation->addWidget(resetButton_);
    bandLayout->addLayout(navigation, 2, 0, 1, 3);

    grid_ = new QTableView(this);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setShowGrid(false);
    grid_->setAlternatingRowColors(true);
    QPalette rows = grid_->palette();
    rows.setColor(QPalette::AlternateBase, QColor(255, 255, 128)); // light yellow, 8454143
    grid_->setPalette(rows);
    ui::addExcelExport(*grid_);

    // The accelerator keys shown the usual way: "確定(Y)" with the Y underlined; Alt+Y, Alt+C.
    okButton_ = plainButton(QStringLiteral("確定(&Y)"), this);
    cancelButton_ = plainButton(QStringLiteral("取消(&C)"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(okButton_);
    bottom->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(band);
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);

    connect(searchButton_, &QPushButton::clicked, this, &LookupDialog::startSearch);
    connect(resetButton_, &QPushButton::clicked, this, [this] {
        resetSearch();
        showRecords();
    });
    connect(okButton_, &QPushButton::clicked, this, &LookupDialog::confirmChoice);
    connect(cancelButton_, &QPushButton::clicked, this, &LookupDialog::cancelChoice);
    const auto move = [this](void (lookup::LookupSession::*step)()) {
        return [this, step] {
            if (!session_)
                return;
            ((*session_).*step)();
            showCurrentRow();
        };
    };
    connect(firstButton_, &QPushButton::clicked, this, move(&lookup::LookupSession::first));
    connect(priorButton_, &QPushButton::clicked, this, move(&lookup::LookupSession::prior));
    connect(nextButton_, &QPushButton::clicked, this, move(&lookup::LookupSession::next));
    connect(lastButton_, &QPushButton::clicked, this, move(&lookup::LookupSession::last));
    // The parallel list follows the field list's position.
    connect(fieldLabelCombo_, &QComboBox::currentIndexChanged, fieldNameCombo_, &QComboBox::setCurrentIndex);

    fieldLabelCombo_->installEventFilter(this);
    searchEdit_->installEventFilter(this);
    grid_->installEventFilter(this);
    for (QRadioButton* radio : matchModeGroup_->findChildren<QRadioButton*>())
        radio->installEventFilter(this);
    updateNavigation();
}

void LookupDialog::setOriginalData(db::RecordSet& records, work::GridColumns columns)
{
    original_ = &records;
    originalColumns_ = std::move(columns);
    session_.reset();
    activated_ = false;
}

bool LookupDialog::execute()
{
    confirmed_ = false;
    exec();
    return confirmed_;
}

std::string LookupDialog::currentText(const std::string& field) const
{
    return session_ ? session_->currentText(field) : std::string();
}

void LookupDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!activated_)
        activate();
}

// Each time the dialog becomes active again (first shown, or one of its own message boxes
// closed): grid bound to what it shows, field list filled (once), search reset, exact mode.
void LookupDialog::activate()
{
    activated_ = true;
    if (!session_) {
        session_ = std::make_unique<lookup::LookupSession>(database_, original_ ? *original_ : empty_, originalColumns_,
                                                           table_);
        delete originalModel_;
        delete resultModel_;
        originalModel_ = new ui::RecordSetModel(original_ ? *original_ : empty_, session_->shownFields(), this);
        resultModel_ = new ui::RecordSetModel(session_->result(), {}, this);
    }
    const bool firstFill = session_->fieldList().empty();
    session_->fillFieldList();
    if (firstFill) {
        for (const lookup::FieldEntry& field : session_->fieldList()) {
            fieldLabelCombo_->addItem(QString::fromUtf8(field.label));
            fieldNameCombo_->addItem(ui::fromBig5(field.name));
        }
        fieldLabelCombo_->setCurrentIndex(-1);
    }
    resetSearch();
    showRecords();
    matchModeGroup_->setItemIndex(0);
}

void LookupDialog::resetSearch()
{
    searchEdit_->clear();
    if (session_)
        session_->reset();
}

void LookupDialog::showRecords()
{
    if (!session_)
        return;
    ui::RecordSetModel* model = session_->showingResult() ? resultModel_ : originalModel_;
    showingRows_ = false;
    model->setColumns(session_->shownFields()); // a search result brings its own titles
    model->reload();
    if (grid_->model() != model) {
        grid_->setModel(model);
        connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& current) {
                    if (showingRows_ && session_ && current.isValid())
                        session_->setCurrentRow(current.row());
                    updateNavigation();
                });
    }
    showingRows_ = true;
    // Each column as wide as its title and the rows in view need.
    grid_->resizeColumnsToContents();
    showCurrentRow();
}

void LookupDialog::showCurrentRow()
{
    const int row = session_ ? session_->currentRow() : -1;
    if (row >= 0 && grid_->model() && grid_->model()->columnCount() > 0)
        grid_->setCurrentIndex(grid_->model()->index(row, 0));
    updateNavigation();
}

void LookupDialog::updateNavigation()
{
    const bool back = session_ && session_->canMoveBack();
    const bool forward = session_ && session_->canMoveForward();
    firstButton_->setEnabled(back);
    priorButton_->setEnabled(back);
    nextButton_->setEnabled(forward);
    lastButton_->setEnabled(forward);
}

lookup::MatchMode LookupDialog::matchMode() const
{
    switch (matchModeGroup_->itemIndex()) {
    case 1: return lookup::MatchMode::Prefix;
    case 2: return lookup::MatchMode::Contains;
    default: return lookup::MatchMode::Exact;
    }
}

void LookupDialog::startSearch()
{
    if (!session_)
        return;
    std::optional<lookup::SearchOutcome> outcome;
    messages_.guarded([&] {
        if (fieldLabelCombo_->currentText().isEmpty()) {
            outcome = lookup::SearchOutcome::NoFieldChosen;
            return;
        }
        outcome = session_->search(fieldLabelCombo_->currentIndex(), matchMode(), ui::toBig5(searchEdit_->text()));
    });
    if (!outcome)
        return; // the error box was shown; the grid keeps what it showed
    switch (*outcome) {
    case lookup::SearchOutcome::Found: showRecords(); return;
    case lookup::SearchOutcome::NoFieldChosen: messages_.inform("請選擇查詢條件!"); break;
    case lookup::SearchOutcome::NotFound: messages_.inform("找不到該條件資料!"); break;
    }
    // Closing one of its own message boxes makes the dialog active again.
    activate();
}

void LookupDialog::confirmChoice()
{
    confirmed_ = true;
    accept();
}

void LookupDialog::cancelChoice()
{
    confirmed_ = false;
    reject();
}

void LookupDialog::matchModeLeft()
{
    // Leaving for another of its own items is not leaving the match mode.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && matchModeGroup_->isAncestorOf(focus))
        return;
    if (!searchEdit_->text().isEmpty() && !fieldLabelCombo_->currentText().isEmpty())
        startSearch();
}

void LookupDialog::keyPressEvent(QKeyEvent* event)
{
    // Esc closes the dialog only from the field list; Enter presses no button by itself.
    if (event->key() == Qt::Key_Escape || isEnterKey(event->key())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == fieldLabelCombo_ && key == Qt::Key_Escape) {
            cancelChoice();
            return true;
        }
        if (watched == fieldLabelCombo_ && isEnterKey(key)) {
            grid_->setFocus();
            return true;
        }
        if (watched == searchEdit_ && isEnterKey(key)) {
            if (!searchEdit_->text().isEmpty())
                startSearch();
            return true;
        }
        if (watched == grid_ && isEnterKey(key)) {
            confirmChoice();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && watched->isWidgetType() &&
               matchModeGroup_->isAncestorOf(static_cast<QWidget*>(watched))) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            matchModeLeft();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace app
