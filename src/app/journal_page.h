#pragma once
// The journal tab "付款紀錄": the payment runs of a period, newest first, with each run's bills
// and files; a run's files made again from the journal; a bank folder checked against the
// journal before its files go to the bank; the journal's own seals checked; a remit run's
// list or a cheque run's issue list printed again, marked 補印. The work is the journal module's.
#include "app/app_context.h"
#include "app/page.h"
#include "db/record_set.h"
#include "remittance/listed_run.h"
#include "work/progress.h"

#include <QString>

#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace cheque {
struct ChequeDesk;
}

namespace ui {
class DataGrid;
class DateEdit;
} // namespace ui

namespace app {

class RemittancePage;

class JournalPage : public Page {
    Q_OBJECT
public:
    // `remittance`: the tab whose bank folder and bank group this tab follows.
    JournalPage(AppContext& context, const RemittancePage& remittance, QWidget* parent);
    ~JournalPage() override;

    void refreshGrid() override;

    // Asks the clerk for a folder (title, starting folder); an empty answer cancels. The
    // default is the system's folder dialog.
    using FolderChooser = std::function<QString(const QString& title, const QString& start)>;
    void setFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

    // The presses, as the buttons call them.
    void onListRuns();
    void onMakeFilesAgain();
    void onVerifyFolder();
    void onVerifyJournal();
    void onReprintRun();

private:
    QWidget* buildConditions();
    void showRunDetail(int row);
    long long chosenRunId() const;
    // The bank folder the remittance tab names, as the file system names it.
    std::string bankFolder() const;
    const RemittancePage& remittance_;

    db::RecordSet runs_, bills_, files_, folderCheck_;

    ui::DateEdit* runsFromEdit_ = nullptr;
    ui::DateEdit* runsToEdit_ = nullptr;
    QComboBox* kindCombo_ = nullptr;
    QComboBox* booksCombo_ = nullptr;
    QLineEdit* userEdit_ = nullptr;
    QPushButton* listRunsButton_ = nullptr;
    QPushButton* filesAgainButton_ = nullptr;
    QPushButton* verifyFolderButton_ = nullptr;
    QPushButton* verifyJournalButton_ = nullptr;
    QPushButton* reprintButton_ = nullptr;
    ui::DataGrid* runsGrid_ = nullptr;
    QTabWidget* detailTabs_ = nullptr;
    ui::DataGrid* billsGrid_ = nullptr;
    ui::DataGrid* filesGrid_ = nullptr;
    ui::DataGrid* folderCheckGrid_ = nullptr;
    FolderChooser chooseFolder_;
    // A cheque run printed again goes through the cheque print, with a list of its own.
    work::NullProgress reprintProgress_;
    db::RecordSet reprintedCheques_;
    std::unique_ptr<cheque::ChequeDesk> chequePrint_;
    db::RecordSet reprintedBills_;
    remittance::ListedRun reprintedRun_;
};

} // namespace app
