#pragma once
// The page grid over a record set; a single click on the check column toggles it.
#include "ui/record_set_model.h"

#include <QTableView>

namespace ui {

class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(db::RecordSet& records, QWidget* parent = nullptr);
    RecordSetModel& recordModel() { return *model_; }
    void setCheckField(const std::string& name);
    void reload(); // after the record set changed

private:
    RecordSetModel* model_;
};

} // namespace ui
