#pragma once
// A date edit: masked "yyyy/mm/dd" text (mask "!0000/99/99;1; ") with a drop-down calendar,
// starting on today's date. Its text is what the clerk sees, the mask's blanks included; it
// may be blank or invalid, and the pages parse it (text::dateStringFromEdit) when they need it.
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace ui {

class DateEdit : public QWidget {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);
    void setDate(int year, int month, int day);
    QLineEdit* lineEdit() const { return edit_; }

private:
    void showCalendar();
    QLineEdit* edit_;
    QToolButton* button_;
};

} // namespace ui
