#pragma once
// A tab page of the main window: builds its own controls (objectName = component name) and
// handlers; the window composes the three pages.
#include <QWidget>

class QComboBox;

namespace app {

class Page : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Called by the window after every work-table drop and after handlers ran, so the grid
    // shows its record set as it now is.
    virtual void refreshGrid() = 0;
};

} // namespace app
