#pragma once
// The cheque tab "批次開票作業": conditions, the cheque grid with its tick column, the issuing
// buttons and the progress display. The work itself is cheque::ChequeDesk's.
#include "app/app_context.h"
#include "app/page.h"
#include "cheque/cheque_desk.h"
#include "db/record_set.h"
#include "ui/progress_panel.h"

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace ui {
class DataGrid;
class DateEdit;
class RadioGroup;
} // namespace ui

namespace app {

class ChequePage : public Page {
    Q_OBJECT
public:
    ChequePage(AppContext& context, QWidget* parent);
    ~ChequePage() override;

    void refreshGrid() override;
    db::RecordSet& gridRecords() { return ClientDataSet21; }

private:
    QWidget* buildConditions();
    QWidget* buildButtons();
    void connectHandlers();
    // Runs a handler body the way every handler of the tab runs: errors shown, grid reloaded.
    void handle(const std::function<void()>& body);

    cheque::ListConditions listConditions() const;
    cheque::PrintOptions printOptions() const;
    cheque::IssueOptions issueOptions() const;

    // Shows what an issue press did: the cheques left out, a print that failed.
    void showIssueResult(const cheque::IssueResult& result);

    void bsSkinButton10Click();
    void pointOutAmountsWithCents();
    void bsSkinButton12Click();
    void bsSkinButton13Click();
    void BitBtn2Click();
    void SpeedButton5Click();
    void onVoidTicked();

    AppContext& context_;
    db::RecordSet ClientDataSet21;

    ui::RadioGroup* bsSkinRadioGroup21 = nullptr;
    ui::DateEdit* bsSkinDateEdit21 = nullptr;
    ui::DateEdit* bsSkinDateEdit22 = nullptr;
    QComboBox* bsSkinComboBox21 = nullptr;
    QComboBox* bsSkinComboBox22 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup22 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup23 = nullptr;
    QPushButton* bsSkinButton10 = nullptr;
    QPushButton* cancelRunButton_ = nullptr; // stops a condition confirm (also Esc)
    QPushButton* bsSkinButton13 = nullptr;
    QPushButton* bsSkinButton12 = nullptr;
    QPushButton* bsSkinButton11 = nullptr;
    QLabel* issueDateLabel = nullptr;
    ui::DateEdit* bsSkinDateEdit23 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* SpeedButton5 = nullptr;
    QPushButton* voidChequesButton_ = nullptr;
    ui::DataGrid* wwDBGrid2 = nullptr;
    QProgressBar* bsSkinGauge21 = nullptr;
    QPlainTextEdit* bsSkinMemo21 = nullptr;

    std::unique_ptr<ui::ProgressPanel> progress_;
    std::unique_ptr<cheque::ChequeDesk> desk_;
};

} // namespace app
