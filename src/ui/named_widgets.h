#pragma once
// Controls under their component names: every widget's objectName is the name the window, the
// tests, automation and the old documents find it by. A page sets all of its names in one
// table (setComponentNames), so the names the clerk's world knows are found in one place.
#include <QComboBox>
#include <QPushButton>
#include <QString>

#include <initializer_list>

namespace ui {

struct ComponentName {
    QObject* object;
    const char* name;
};

inline void setComponentNames(std::initializer_list<ComponentName> names)
{
    for (const ComponentName& n : names)
        n.object->setObjectName(QString::fromLatin1(n.name));
}

inline QPushButton* button(const QString& caption, QWidget* parent)
{
    return new QPushButton(caption, parent);
}

// An editable combo box that starts with no selection and empty text, as the window fills it.
// What the clerk types is a condition, never a new entry: the lists do not change while the
// program runs.
inline QComboBox* editableCombo(QWidget* parent, int minimumContentsLength)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    combo->setMinimumContentsLength(minimumContentsLength);
    return combo;
}

} // namespace ui
