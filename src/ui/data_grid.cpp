#include "ui/data_grid.h"

#include "ui/grid_excel_action.h"

#include <QHeaderView>

#include <algorithm>

namespace ui {

DataGrid::DataGrid(db::RecordSet& records, QWidget* parent)
    : QTableView(parent), model_(new RecordSetModel(records, this))
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
    // Column widths follow the declared display widths, counted in characters.
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int v = 0; v < model_->columnCount(); ++v)
        setColumnWidth(v, std::max(3, model_->displayWidth(v)) * charWidth + 8);
}

} // namespace ui
