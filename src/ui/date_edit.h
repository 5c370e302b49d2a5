#pragma once
// A date edit: "yyyy/mm/dd" text typed into a fixed pattern (digits only, the slashes in
// place, a blank where no digit is) with a drop-down calendar, starting on today's date. Its
// text is what the clerk sees, blanks included; it may be blank or invalid, and the pages
// parse it (text::dateStringFromEdit) when they need it.
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
