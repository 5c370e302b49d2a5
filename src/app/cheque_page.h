#pragma once
// The cheque tab "批次開票作業": conditions, the cheque grid with its tick column, the issuing
// buttons and the progress display. The work itself is the cheque module's.
#include "app/page.h"
#include "cheque/cheque_desk.h"
#include "db/record_set.h"

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
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
    WindowControls windowControls() const override;
    db::RecordSet& gridRecords() { return chequeRows_; }

private:
    QWidget* buildConditions();
    QWidget* buildButtons();
    void connectHandlers();

    cheque::ListConditions listConditions() const;
    cheque::PrintOptions printOptions() const;
    cheque::IssueOptions issueOptions() const;

    // Shows what an issue press did: the cheques left out, a print that failed.
    void showIssueResult(const cheque::IssueResult& result);

    void onConfirm(); // "條件確認": lists the cheques of the conditions
    void pointOutAmountsWithCents();
    void onIssueAll();        // "全部開票": issues and prints every listed cheque
    void onIssueTicked();     // "選擇性開票": issues and prints the ticked cheques
    void onClearIssueDates(); // "匯款日清空" (shown by F1): takes the issue stamp off
    void onVoidTicked();      // "支票作廢": voids the ticked issued cheques

    db::RecordSet chequeRows_;

    ui::RadioGroup* dateColumnGroup_ = nullptr;
    ui::DateEdit* fromDateEdit_ = nullptr;
    ui::DateEdit* toDateEdit_ = nullptr;
    QComboBox* accountCombo_ = nullptr;
    QComboBox* storeCombo_ = nullptr;
    ui::RadioGroup* chequeFormGroup_ = nullptr;
    ui::RadioGroup* sortOrderGroup_ = nullptr;
    QPushButton* confirmButton_ = nullptr;
    QPushButton* issueTickedButton_ = nullptr;
    QPushButton* issueAllButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QLabel* issueDateLabel_ = nullptr;
    ui::DateEdit* issueDateEdit_ = nullptr;
    QPushButton* clearIssueDatesButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* voidChequesButton_ = nullptr;
    ui::DataGrid* grid_ = nullptr;

    std::unique_ptr<cheque::ChequeDesk> desk_;
};

} // namespace app
