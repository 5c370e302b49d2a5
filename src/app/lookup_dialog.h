#pragma once
// The record lookup dialog: lists the caller's record set, searches the caller's
// table by one chosen column (exact, prefix, contains), moves through the rows and confirms
// one. The caller reads the chosen row's fields with currentText() after execute() returned
// true. A fresh dialog per use; nothing in it knows about providers.
#include "db/executor.h"
#include "db/record_set.h"
#include "lookup/lookup_session.h"

#include <QDialog>
#include <memory>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui {
class MessageBoxes;
class RadioGroup;
class RecordSetModel;
} // namespace ui

namespace app {

class LookupDialog : public QDialog {
    Q_OBJECT
public:
    LookupDialog(db::Executor& database, ui::MessageBoxes& messages, QWidget* parent = nullptr);
    ~LookupDialog() override;

    // OriginalData: what the grid shows at first and after a reset (the caller's record set),
    // listed with `columns` (every column, titled by name, when empty).
    void setOriginalData(db::RecordSet& records, work::GridColumns columns = {});
    // LookupTable: the table a search queries.
    void setLookupTable(std::string table) { table_ = std::move(table); }

    // Shows the dialog modally; returns Confirmed.
    bool execute();
    // True after "確定&Y" or Enter in the grid; false after any other way of closing.
    bool confirmed() const { return confirmed_; }

    // A field of the current row of what the grid shows (the caller's record set, or the
    // search result after a search); Big5, "" without a current row.
    std::string currentText(const std::string& field) const;
    const lookup::LookupSession* session() const { return session_.get(); }

    // The handlers, also reachable from the buttons and keys.
    void startSearch();   // "開始尋找"
    void resetSearch();   // "條件重設"
    void confirmChoice(); // "確定&Y", Enter in the grid
    void cancelChoice();  // "取消&C", Esc in the field list

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void activate();
    void showRecords();
    void showCurrentRow();
    void updateNavigation();
    void matchModeLeft();
    lookup::MatchMode matchMode() const;

    db::Executor& database_;
    ui::MessageBoxes& messages_;
    db::RecordSet* original_ = nullptr;
    work::GridColumns originalColumns_;
    std::string table_;
    std::unique_ptr<lookup::LookupSession> session_;
    bool confirmed_ = false;
    bool activated_ = false;
    bool showingRows_ = false; // keeps the view's current row and the session's in step

    QComboBox* fieldLabelCombo_ = nullptr; // the searchable fields, by label
    QComboBox* fieldNameCombo_ = nullptr;  // their column names, hidden, in the same order
    ui::RadioGroup* matchModeGroup_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QPushButton* firstButton_ = nullptr;
    QPushButton* priorButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* lastButton_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTableView* grid_ = nullptr;
    ui::RecordSetModel* originalModel_ = nullptr;
    ui::RecordSetModel* resultModel_ = nullptr;
    db::RecordSet empty_;
};

} // namespace app
