#pragma once
// Building controls under their component names: every widget's objectName is the name the
// window, the tests and anything else that drives the window find it by.
#include <QComboBox>
#include <QPushButton>
#include <QString>

namespace ui {

template <class W>
W* named(W* widget, const char* objectName)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

inline QPushButton* button(const QString& caption, const char* objectName, QWidget* parent)
{
    return named(new QPushButton(caption, parent), objectName);
}

// An editable combo box that starts with no selection and empty text, as the window fills it.
// What the clerk types is a condition, never a new entry: the lists do not change while the
// program runs.
inline QComboBox* editableCombo(const char* objectName, QWidget* parent, int minimumContentsLength)
{
    auto* combo = named(new QComboBox(parent), objectName);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    combo->setMinimumContentsLength(minimumContentsLength);
    return combo;
}

} // namespace ui
