#pragma once
// The remittance tab "批次匯款作業": conditions, the remittance grid with its tick column, the
// remit buttons, the transfer-file settings and the progress display. The work itself is the
// remittance module's; this page reads the controls into its conditions and shows results.
#include "app/page.h"
#include "db/record_set.h"
#include "remittance/listed_run.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace remittance {
enum class RemitScope;
enum class Books;
struct RemittanceDesk;
struct ConfirmConditions;
struct OutputControls;
} // namespace remittance

namespace ui {
class DataGrid;
class DateEdit;
class RadioGroup;
} // namespace ui

namespace app {

class RemittancePage : public Page {
    Q_OBJECT
public:
    RemittancePage(AppContext& context, QWidget* parent);
    ~RemittancePage() override;

    void refreshGrid() override;
    WindowControls windowControls() const override;
    db::RecordSet& gridRecords() { return remittanceRows_; }

    // What the window keeps in Bill.ini, and what the journal tab reads of this tab.
    QLineEdit* bankPathEdit() const { return bankPathEdit_; }
    ui::RadioGroup* booksGroup() const { return booksGroup_; }
    ui::RadioGroup* reportBankGroup() const { return reportBankGroup_; }
    // Select-all, which every drop of the work tables disables.
    QPushButton* selectAllButton() const { return selectAllButton_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildConditions();
    QWidget* buildTransferSettings();
    QWidget* buildButtons();
    void connectHandlers();

    remittance::ConfirmConditions confirmConditions() const;
    remittance::Books books() const;
    remittance::OutputControls outputControls() const;

    void onConfirm();              // "條件確認": lists the bills of the conditions
    void onRemitAll();             // "全部匯款": remits every listed bill
    void onRemitTicked();          // "選擇性匯款": remits the ticked bills
    void onSelectAll();            // "全選": ticks every listed bill
    void onClearRemittanceDates(); // "匯款日清空" (shown by F1): takes the remittance date off
    // The remit buttons' common body: the remittance module's press, then its messages.
    void remit(remittance::RemitScope scope);
    void showMessages(const std::vector<std::string>& messages);
    void onFromDateLeft();          // the range's end follows its start
    void onDateRangeLabelClicked(); // a click on "日期區間" sets both dates to 2010/04/30

    db::RecordSet remittanceRows_;
    remittance::ListedRun run_;

    ui::RadioGroup* remittanceStateGroup_ = nullptr;
    ui::RadioGroup* dateColumnGroup_ = nullptr;
    QLabel* dateRangeLabel_ = nullptr;
    ui::DateEdit* fromDateEdit_ = nullptr;
    ui::DateEdit* toDateEdit_ = nullptr;
    QComboBox* accountCombo_ = nullptr;
    QComboBox* storeCombo_ = nullptr;
    ui::RadioGroup* booksGroup_ = nullptr;
    QLineEdit* exportFileEdit_ = nullptr;
    QLineEdit* interBankFileEdit_ = nullptr;
    QLineEdit* sameBankFileEdit_ = nullptr;
    ui::DateEdit* remittanceDateEdit_ = nullptr;
    QCheckBox* makeFilesCheck_ = nullptr;
    QLineEdit* bankPathEdit_ = nullptr;
    ui::RadioGroup* reportBankGroup_ = nullptr;
    QPushButton* confirmButton_ = nullptr;
    QPushButton* selectAllButton_ = nullptr;
    QPushButton* remitTickedButton_ = nullptr;
    QPushButton* remitAllButton_ = nullptr;
    QPushButton* clearDatesButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* outputButton_ = nullptr;
    ui::DataGrid* grid_ = nullptr;

    std::unique_ptr<remittance::RemittanceDesk> desk_;
};

} // namespace app
