#pragma once
// The inquiry tab "帳款查詢作業": conditions, the inquiry grid, the progress display, the
// provider field with its lookup dialog, and the print button. The runs and reports are the
// inquiry module's; this page reads the controls and shows the results.
#include "app/app_context.h"
#include "app/page.h"
#include "db/record_set.h"
#include "inquiry/inquiry_reports.h"
#include "inquiry/inquiry_run.h"
#include "ui/progress_panel.h"

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
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
    db::RecordSet& gridRecords() { return ClientDataSet31; }
    // The provider list the lookup dialog shows (CDS_FAC), read once per program run.
    const db::RecordSet& providerList() const { return CDS_FAC; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildConditions();
    QWidget* buildButtons();
    void connectHandlers();
    void handle(const std::function<void()>& body);
    void runCancellable(const std::function<void()>& run);
    inquiry::InquiryConditions conditions() const;

    void bsSkinButton14Click();
    void bsSkinButton16Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton10Click();
    void bsSkinEdit5ButtonClick();
    void bsSkinEdit5Exit();

    AppContext& context_;
    db::RecordSet ClientDataSet31;
    db::RecordSet CDS_FAC;

    ui::RadioGroup* bsSkinRadioGroup32 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup33 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup31 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup34 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup35 = nullptr;
    QLineEdit* bsSkinEdit1 = nullptr;
    QLineEdit* bsSkinEdit2 = nullptr;
    ui::DateEdit* bsSkinDateEdit31 = nullptr;
    ui::DateEdit* bsSkinDateEdit32 = nullptr;
    QComboBox* bsSkinComboBox32 = nullptr;
    QLineEdit* bsSkinEdit5 = nullptr;
    QAction* bsSkinEdit5Button = nullptr;
    QLineEdit* bsSkinEdit6 = nullptr;
    QPushButton* bsSkinButton14 = nullptr;
    QPushButton* bsSkinButton16 = nullptr;
    QPushButton* bsSkinButton15 = nullptr;
    QPushButton* SpeedButton8 = nullptr;
    QPushButton* SpeedButton9 = nullptr;
    QPushButton* SpeedButton6 = nullptr;
    QPushButton* SpeedButton7 = nullptr;
    QPushButton* SpeedButton10 = nullptr;
    ui::DataGrid* wwDBGrid3 = nullptr;
    QProgressBar* bsSkinGauge31 = nullptr;
    QPlainTextEdit* bsSkinMemo31 = nullptr;
    QPushButton* cancelRunButton_ = nullptr; // stops an inquiry run (also Esc)

    std::unique_ptr<ui::ProgressPanel> progress_;
    std::unique_ptr<inquiry::InquiryServices> services_;
};

} // namespace app
