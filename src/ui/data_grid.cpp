#include "ui/data_grid.h"

#include "ui/grid_excel_action.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace ui {

DataGrid::DataGrid(db::RecordSet& records, work::GridColumns columns, QWidget* parent)
    : QTableView(parent), model_(new RecordSetModel(records, std::move(columns), this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // A single click on the check column ticks or clears the row.
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (model_->isCheckColumn(index.column()))
            model_->toggle(index.row());
    });
    addExcelExport(*this);
}

void DataGrid::setCheckField(const std::string& name)
{
    model_->setCheckField(name);
    reload();
}

void DataGrid::reload()
{
    model_->reload();
    sizeColumns();
}

void DataGrid::sizeColumns()
{
    // The declared display widths, counted in characters, widened where a title or the rows
    // in view need more, so nothing the clerk must read is cut.
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int v = 0; v < model_->columnCount(); ++v) {
        const int declared = std::max(3, model_->displayWidth(v)) * charWidth + 8;
        const bool check = model_->isCheckColumn(v);
        const int content = check ? 0 : std::max(sizeHintForColumn(v), horizontalHeader()->sectionSizeHint(v));
        setColumnWidth(v, std::max(declared, content));
    }
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    // Space ticks or unticks the current row, as a click on its check box does.
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && current.isValid()) {
        bool hasCheckColumn = false;
        for (int v = 0; v < model_->columnCount(); ++v)
            hasCheckColumn = hasCheckColumn || model_->isCheckColumn(v);
        if (hasCheckColumn) {
            model_->toggle(current.row());
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

} // namespace ui
