#pragma once
// The page grid over a record set; a single click on the check column, or Space on a row,
// ticks or unticks the row.
#include "ui/record_set_model.h"

#include <QTableView>

namespace ui {

class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(db::RecordSet& records, work::GridColumns columns, QWidget* parent = nullptr);
    RecordSetModel& recordModel() { return *model_; }
    void setCheckField(const std::string& name);
    void reload(); // after the record set changed

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void sizeColumns();

    RecordSetModel* model_;
};

} // namespace ui
