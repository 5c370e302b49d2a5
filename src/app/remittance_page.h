#pragma once
// The remittance tab "批次匯款作業": conditions, the remittance grid with its tick column, the
// remit buttons, the transfer-file settings and the progress display. The work itself is the
// remittance module's; this page reads the controls into its conditions and shows results.
#include "app/app_context.h"
#include "app/page.h"
#include "db/record_set.h"
#include "remittance/listed_run.h"
#include "ui/progress_panel.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
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
    db::RecordSet& gridRecords() { return ClientDataSet11; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildConditions();
    QWidget* buildTransferSettings();
    QWidget* buildButtons();
    void connectHandlers();
    // Runs a handler body the way every handler of the tab runs: errors shown, grid reloaded.
    void handle(const std::function<void()>& body);

    remittance::ConfirmConditions confirmConditions() const;
    remittance::Books books() const;
    remittance::OutputControls outputControls() const;

    void bsSkinButton6Click();
    void bsSkinButton8Click();
    void bsSkinButton9Click();
    void bsSkinButton17Click();
    void BitBtn1Click();
    void SpeedButton1Click();
    // The remit buttons' common body: the remittance module's press, then its messages.
    void remit(remittance::RemitScope scope);
    void showMessages(const std::vector<std::string>& messages);
    void bsSkinDateEdit11Exit();
    void bsSkinStdLabel3Click();

    AppContext& context_;
    db::RecordSet ClientDataSet11;
    remittance::ListedRun run_;

    ui::RadioGroup* bsSkinRadioGroup12 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup11 = nullptr;
    QLabel* bsSkinStdLabel3 = nullptr;
    ui::DateEdit* bsSkinDateEdit11 = nullptr;
    ui::DateEdit* bsSkinDateEdit12 = nullptr;
    QComboBox* bsSkinComboBox11 = nullptr;
    QComboBox* bsSkinComboBox12 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup13 = nullptr;
    QLineEdit* bsSkinEdit_FILE = nullptr;
    QLineEdit* bsSkinEdit_FILEa = nullptr;
    QLineEdit* bsSkinEdit_FILEb = nullptr;
    ui::DateEdit* bsSkinDateEdit13 = nullptr;
    QCheckBox* bsSkinCheckRadioBox11 = nullptr;
    QLineEdit* bsSkinEdit15 = nullptr;
    ui::RadioGroup* bsSkinRadioGroup16 = nullptr;
    QPushButton* bsSkinButton6 = nullptr;
    QPushButton* bsSkinButton17 = nullptr;
    QPushButton* bsSkinButton9 = nullptr;
    QPushButton* bsSkinButton8 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* bsSkinButton7 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    ui::DataGrid* wwDBGrid1 = nullptr;
    QProgressBar* bsSkinGauge11 = nullptr;
    QPlainTextEdit* bsSkinMemo11 = nullptr;
    QPushButton* cancelRunButton_ = nullptr; // stops a condition confirm (also Esc)

    std::unique_ptr<ui::ProgressPanel> progress_;
    std::unique_ptr<remittance::RemittanceDesk> desk_;
};

} // namespace app
