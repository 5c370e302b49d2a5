#pragma once
// The inquiry tab "帳款查詢作業": conditions, the inquiry grid, the progress display, the
// provider field with its lookup dialog, and the print button. The runs and reports are the
// inquiry module's; this page reads the controls and shows the results.
#include "app/page.h"
#include "db/record_set.h"
#include "inquiry/inquiry_reports.h"
#include "inquiry/inquiry_run.h"

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace ui {
class DataGrid;
class DateEdit;
class RadioGroup;
} // namespace ui

namespace app {

class InquiryPage : public Page {
    Q_OBJECT
public:
    InquiryPage(AppContext& context, QWidget* parent);
    ~InquiryPage() override;

    void refreshGrid() override;
    WindowControls windowControls() const override;
    db::RecordSet& gridRecords() { return inquiryRows_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildConditions();
    QWidget* buildButtons();
    void connectHandlers();
    inquiry::InquiryConditions conditions() const;

    void onConfirm();        // "條件確認": lists the bills of the conditions
    void onPrint();          // "資料印表": prints the report the options choose
    void onLookUpProvider(); // the provider lookup (the edit's button, F4, Alt+Down)
    void onProviderLeft();   // leaving the provider code shows the provider's name

    db::RecordSet inquiryRows_;
    db::RecordSet providers_; // what the provider lookup lists, read once per program run

    ui::RadioGroup* processingStateGroup_ = nullptr;
    ui::RadioGroup* paymentKindGroup_ = nullptr;
    ui::RadioGroup* conditionGroup_ = nullptr;
    ui::RadioGroup* reportFormatGroup_ = nullptr;
    ui::RadioGroup* dataSelectionGroup_ = nullptr;
    QLineEdit* billFromEdit_ = nullptr;
    QLineEdit* billToEdit_ = nullptr;
    ui::DateEdit* fromDateEdit_ = nullptr;
    ui::DateEdit* toDateEdit_ = nullptr;
    QComboBox* storeCombo_ = nullptr;
    QLineEdit* providerEdit_ = nullptr;
    QAction* providerLookupAction_ = nullptr;
    QLineEdit* providerNameEdit_ = nullptr;
    QPushButton* confirmButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* ownStoreRunButton_ = nullptr;
    QPushButton* allStoresRunButton_ = nullptr;
    QPushButton* byDateReportButton_ = nullptr;
    QPushButton* byBillRangeReportButton_ = nullptr;
    QPushButton* statisticsReportButton_ = nullptr;
    ui::DataGrid* grid_ = nullptr;

    std::unique_ptr<inquiry::InquiryDesk> desk_;
};

} // namespace app
