#include "ui/grid_workbook.h"

#include "text/big5.h"
#include "ui/record_set_model.h"

#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>

#include <memory>

namespace ui {
namespace {

// How one column of the grid reads its cells: from the record set behind a RecordSetModel
// (numbers stay numbers), from any other model by its displayed text.
struct GridColumn {
    int viewColumn = 0;
    int recordColumn = -1;
    bool check = false;
    bool number = false;
};

} // namespace

sheet::Table gridTable(const QTableView& grid, const QString& title)
{
    sheet::Table table;
    table.name = title.toStdString();
    table.titleLines = {title.toStdString()};
    const QAbstractItemModel* model = grid.model();
    if (!model)
        return table;
    const auto* records = qobject_cast<const RecordSetModel*>(model);
    auto columns = std::make_shared<std::vector<GridColumn>>();
    const QHeaderView* header = grid.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || grid.isColumnHidden(logical))
            continue;
        GridColumn column{logical};
        if (records) {
            column.recordColumn = records->recordColumn(logical);
            column.check = records->isCheckColumn(logical);
            column.number =
                column.recordColumn >= 0 &&
                records->records().column(static_cast<std::size_t>(column.recordColumn)).type != db::FieldType::String;
        }
        columns->push_back(column);
        table.captions.push_back(model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
    }
    table.rowCount = static_cast<std::size_t>(model->rowCount());
    table.row = [model, records, columns](std::size_t row, std::vector<sheet::Cell>& cells) {
        for (std::size_t c = 0; c < columns->size(); ++c) {
            const GridColumn& column = (*columns)[c];
            if (column.check) {
                const QModelIndex index = model->index(static_cast<int>(row), column.viewColumn);
                if (model->data(index, Qt::CheckStateRole).toInt() == Qt::Checked)
                    cells[c] = sheet::Cell::ofText("✓");
            } else if (records && column.recordColumn >= 0) {
                const db::RecordSet& set = records->records();
                const auto col = static_cast<std::size_t>(column.recordColumn);
                if (set.isNull(row, col))
                    continue;
                if (column.number)
                    cells[c] = sheet::Cell::ofNumber(set.number(row, col), sheet::NumberFormat::Grouped);
                else if (const std::string_view bytes = set.stringView(row, col); !bytes.empty())
                    cells[c] = sheet::Cell::ofText(text::big5ToUtf8(bytes));
            } else {
                const QString shown = model->data(model->index(static_cast<int>(row), column.viewColumn)).toString();
                if (!shown.isEmpty())
                    cells[c] = sheet::Cell::ofText(shown.toStdString());
            }
        }
    };
    return table;
}

QString gridTitle(const QTableView& grid)
{
    for (const QWidget* w = &grid; w; w = w->parentWidget()) {
        const QWidget* page = w;
        const QWidget* stack = page->parentWidget();
        const auto* tabs = stack ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs && tabs->indexOf(const_cast<QWidget*>(page)) >= 0)
            return tabs->tabText(tabs->indexOf(const_cast<QWidget*>(page))).remove(QLatin1Char('&'));
    }
    const QString title = grid.window()->windowTitle();
    return title.isEmpty() ? QStringLiteral("資料") : title;
}

} // namespace ui
