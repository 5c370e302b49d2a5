#include "ui/record_set_model.h"

#include "text/blank.h"
#include "text/numbers.h"
#include "ui/qt_text.h"

#include <QColor>

namespace ui {

RecordSetModel::RecordSetModel(db::RecordSet& records, work::GridColumns columns, QObject* parent)
    : QAbstractTableModel(parent), records_(records), columns_(std::move(columns))
{
    reload();
}

void RecordSetModel::reload()
{
    beginResetModel();
    if (records_.rowCount() != alertedRowCount_)
        rowAlerts_.clear(); // another list: the alerts were about rows no longer there
    visibleColumns_.clear();
    declIndex_.clear();
    const auto& declared = columns_;
    for (std::size_t i = 0; i < declared.size(); ++i) {
        if (!declared[i].visible)
            continue;
        const int column = records_.columnIndex(declared[i].name);
        if (column < 0)
            continue;
        visibleColumns_.push_back(column);
        declIndex_.push_back(static_cast<int>(i));
    }
    endResetModel();
}

int RecordSetModel::recordColumn(int viewColumn) const
{
    return viewColumn >= 0 && viewColumn < static_cast<int>(visibleColumns_.size()) ? visibleColumns_[viewColumn] : -1;
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || visibleColumns_.empty() ? 0 : static_cast<int>(records_.rowCount());
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(visibleColumns_.size());
}

namespace {
bool isCheckFieldColumn(const db::RecordSet& records, const std::string& checkField, int column)
{
    return !checkField.empty() && column >= 0 && records.columnIndex(checkField) == column;
}
} // namespace

bool RecordSetModel::isRowMarked(int row) const
{
    if (rowMarkField_.empty() || row < 0 || row >= static_cast<int>(records_.rowCount()))
        return false;
    const int column = records_.columnIndex(rowMarkField_);
    if (column < 0)
        return false;
    return !text::isBlank(records_.text(static_cast<std::size_t>(row), static_cast<std::size_t>(column)));
}

void RecordSetModel::setRowAlerts(std::map<int, QString> alerts)
{
    rowAlerts_ = std::move(alerts);
    alertedRowCount_ = records_.rowCount();
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole, Qt::ToolTipRole});
}

QString RecordSetModel::rowAlert(int row) const
{
    const auto alert = rowAlerts_.find(row);
    return alert == rowAlerts_.end() ? QString() : alert->second;
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    // An alerted row shows its alert over everything else; a cell's own note follows the reason.
    if (index.isValid() && (role == Qt::BackgroundRole || role == Qt::ToolTipRole)) {
        if (const auto alert = rowAlerts_.find(index.row()); alert != rowAlerts_.end()) {
            if (role == Qt::BackgroundRole)
                return QColor(255, 183, 183); // light red: this row stopped the press
            const QString own = cellData(index, role).toString();
            return own.isEmpty() ? alert->second : alert->second + QLatin1Char('\n') + own;
        }
    }
    return cellData(index, role);
}

QVariant RecordSetModel::cellData(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(records_.rowCount()))
        return {};
    const int column = recordColumn(index.column());
    if (column < 0)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const auto col = static_cast<std::size_t>(column);
    // A marked row (e.g. a cheque already issued) is shaded whole, unless a cell has a mark of
    // its own (an amount with cents), which the clerk must see first.
    if (role == Qt::BackgroundRole && isRowMarked(index.row()) &&
        (records_.column(col).type == db::FieldType::String || isCheckFieldColumn(records_, checkField_, column) ||
         !amountData(row, col, role).isValid()))
        return QColor(255, 236, 179);
    if (isCheckFieldColumn(records_, checkField_, column)) {
        if (role == Qt::CheckStateRole)
            return records_.text(row, col) == "Y" ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (records_.column(col).type != db::FieldType::String)
        return amountData(row, col, role);
    switch (role) {
    case Qt::DisplayRole: return fromBig5(records_.text(row, col));
    case Qt::TextAlignmentRole: return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

// Amounts as the reports print them: whole, rounded half away from zero, with thousands
// separators, right-aligned. One with cents is marked, since the print shows it rounded.
QVariant RecordSetModel::amountData(std::size_t row, std::size_t col, int role) const
{
    if (records_.isNull(row, col))
        return role == Qt::TextAlignmentRole ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    const double amount = records_.number(row, col);
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(text::formatGrouped(amount));
    case Qt::TextAlignmentRole: return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        if (text::hasCents(amount))
            return QStringLiteral("金額含角分 %1,列印為 %2")
                .arg(QString::fromStdString(text::formatGroupedCents(amount)),
                     QString::fromStdString(text::formatGrouped(amount)));
        return {};
    case Qt::BackgroundRole:
        if (text::hasCents(amount))
            return QColor(255, 214, 153); // light orange: look before printing
        return {};
    default: return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= static_cast<int>(declIndex_.size()))
        return {};
    return QString::fromUtf8(columns_[static_cast<std::size_t>(declIndex_[section])].caption);
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const
{
    // The check column is toggled by the grid on a single click anywhere in the cell, not by
    // the delegate's indicator (which would toggle twice).
    return QAbstractTableModel::flags(index);
}

bool RecordSetModel::isCheckColumn(int viewColumn) const
{
    return ui::isCheckFieldColumn(records_, checkField_, recordColumn(viewColumn));
}

int RecordSetModel::displayWidth(int viewColumn) const
{
    if (viewColumn < 0 || viewColumn >= static_cast<int>(declIndex_.size()))
        return 0;
    return columns_[static_cast<std::size_t>(declIndex_[viewColumn])].width;
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int column = recordColumn(index.column());
    if (role != Qt::CheckStateRole || !isCheckFieldColumn(records_, checkField_, column))
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    records_.setText(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(column), checked ? "Y" : "N");
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

void RecordSetModel::toggle(int row)
{
    const int column = checkField_.empty() ? -1 : records_.columnIndex(checkField_);
    if (column < 0 || row < 0 || row >= static_cast<int>(records_.rowCount()))
        return;
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    records_.setText(r, c, records_.text(r, c) == "Y" ? "N" : "Y");
    for (int v = 0; v < static_cast<int>(visibleColumns_.size()); ++v) {
        if (visibleColumns_[v] == column) {
            const QModelIndex changed = this->index(row, v);
            emit dataChanged(changed, changed, {Qt::CheckStateRole});
        }
    }
}

} // namespace ui
