#pragma once
// A titled group of radio buttons with an item index, as the pages' option groups are used.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace ui {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // The items stand in `columns` columns, filled row by row.
    RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr, int columns = 1);
    int itemIndex() const;        // -1 when none is chosen
    void setItemIndex(int index); // out of range: none chosen
    int count() const;
    QString itemText(int index) const;
signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup* buttons_;
};

} // namespace ui
