#pragma once
// A Qt model that reads a record set directly (no copy per cell): one column per visible grid
// column the page gives it, titles and widths from those, Big5 decoded on display, amounts as
// the reports print them. A check column shows a check box that stores "Y"/"N" in the record set.
#include "db/record_set.h"
#include "work/grid_columns.h"

#include <QAbstractTableModel>
#include <QString>
#include <map>
#include <string>

namespace ui {

class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RecordSetModel(db::RecordSet& records, work::GridColumns columns, QObject* parent = nullptr);

    // The columns to show from the next reload() on (a search result brings its own).
    void setColumns(work::GridColumns columns) { columns_ = std::move(columns); }
    const work::GridColumns& columns() const { return columns_; }

    // The field shown as a check box ("CHKED" on the pages that tick rows); empty for none.
    void setCheckField(std::string name) { checkField_ = std::move(name); }
    // Rows whose field `name` is not blank are drawn on a different background (the cheques
    // already issued); empty for none.
    void setRowMarkField(std::string name) { rowMarkField_ = std::move(name); }
    bool isRowMarked(int row) const;
    // Rows the clerk must attend to before going on (those a remit was refused for): each is
    // drawn whole in an alert colour, its reason the tooltip of every cell, until replaced or
    // cleared. Keyed by record-set row; dropped when a reload finds a different row count.
    void setRowAlerts(std::map<int, QString> alerts);
    void clearRowAlerts() { setRowAlerts({}); }
    QString rowAlert(int row) const;
    // Call after the record set was reopened, closed or changed outside the model.
    void reload();
    // Toggles the check field of a row ("Y" <-> "N").
    void toggle(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int recordColumn(int viewColumn) const;
    bool isCheckColumn(int viewColumn) const;
    int displayWidth(int viewColumn) const; // the grid column's width in characters
    const db::RecordSet& records() const { return records_; }

private:
    QVariant cellData(const QModelIndex& index, int role) const;
    QVariant amountData(std::size_t row, std::size_t col, int role) const;

    db::RecordSet& records_;
    work::GridColumns columns_;
    std::string checkField_;
    std::string rowMarkField_;
    std::vector<int> visibleColumns_; // record-set column per view column
    std::vector<int> declIndex_;      // grid column per view column
    std::map<int, QString> rowAlerts_;
    std::size_t alertedRowCount_ = 0; // the record set's row count when the alerts were set
};

} // namespace ui
