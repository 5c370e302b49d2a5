#pragma once
// A tab page of the main window. Each page builds its own controls and names them in one
// table; what every page does alike lives here: a press runs through handle() (the one place
// that catches, so the clerk sees the error and the grid shows its record set as it now is),
// and the list pages share the progress display under their grid and the long runs the clerk
// may stop.
#include "app/app_context.h"
#include "ui/progress_panel.h"
#include "work/desk_role.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QBoxLayout;
class QComboBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace app {

// The controls of a page that the window works with, the same way on every page.
struct WindowControls {
    QPushButton* exitButton = nullptr;     // 離開: closes the window
    std::vector<QWidget*> navigatingEdits; // Enter moves on to the next control, Esc back
    QComboBox* accountCombo = nullptr;     // filled with the bank accounts when the desk opens
    QComboBox* storeCombo = nullptr;       // filled with the stores when the desk opens
    QWidget* hiddenClearButton = nullptr;  // 匯款日清空, shown and hidden again by F1
    // The presses that change the payment books, and what each needs of the desk role.
    std::vector<std::pair<QPushButton*, work::DeskAction>> gatedPresses;
};

class Page : public QWidget {
    Q_OBJECT
public:
    Page(AppContext& context, QWidget* parent);
    ~Page() override;

    // Called by the window after every work-table drop and after presses ran, so the grid
    // shows its record set as it now is.
    virtual void refreshGrid() = 0;
    virtual WindowControls windowControls() const { return {}; }

protected:
    // Runs a press the way every press of a tab runs: an error is shown under the
    // application's title, then the grid is reloaded.
    void handle(const std::function<void()>& press);

    // The gauge and the status memo, made where the page makes its first controls (so the
    // focus order stays the page's) and reporting through progress() from then on.
    void createProgressDisplay();
    // Puts the gauge, with the 取消 button beside it, and the memo at the foot of `layout`.
    void placeProgressDisplay(QBoxLayout& layout);
    work::ProgressDisplay& progress() { return *progress_; }

    // A run over many rows that the clerk may stop (取消 or Esc). A stopped run leaves no work
    // tables: `emptyGrid` empties what the grid shows, then every work table is dropped.
    void runCancellable(const std::function<void()>& run, const std::function<void()>& emptyGrid);

    AppContext& context_;
    QProgressBar* gauge_ = nullptr;
    QPlainTextEdit* statusMemo_ = nullptr;
    QPushButton* cancelRunButton_ = nullptr; // stops a long run (also Esc)

private:
    std::unique_ptr<ui::ProgressPanel> progress_;
};

} // namespace app
