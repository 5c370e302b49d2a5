#pragma once
// The one main window (objectName "FormTolvane"). A thin composition root: it builds the collaborators,
// creates the three pages, and runs the show and close steps and the window-wide keys.
#include "app/app_context.h"
#include "db/connection.h"
#include "report/bridge.h"
#include "ui/message_boxes.h"
#include "work/work_tables.h"

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTabWidget;

namespace app {

class Page;
class RemittancePage;

class Page;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // exeFolder with its trailing separator: Bill.ini and the report hand-over live there.
    MainWindow(db::Connection& database, std::string exeFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return *context_; }
    ui::MessageBoxes& messages() { return messages_; }
    work::WorkTables& workTables() { return workTables_; }
    QTabWidget* pages() const { return tabs_; }
    bool accCheck() const { return accCheck_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPages();
    void fitToScreen();
    void connectWindowControls();
    // At first show: Bill.ini's settings, the account and store lists, the journal readied.
    void prepareDesk();
    // At close: Bill.ini written, the work tables dropped; false (window stays) on an error.
    bool closeDesk();
    void toggleHiddenButtons();
    const QWidget* firstKeyReceiver() const;
    std::string billIniPath() const;
    std::optional<std::string> storableBankPath(const QString& typed);

    ui::MessageBoxes messages_;
    work::WorkTables workTables_;
    report::Bridge reports_;
    std::unique_ptr<AppContext> context_;
    QTabWidget* tabs_ = nullptr;
    RemittancePage* remittancePage_ = nullptr;
    std::vector<Page*> listPages_; // the remittance, cheque and inquiry tabs
    bool shown_ = false;
    bool accCheck_ = true;
};

} // namespace app
