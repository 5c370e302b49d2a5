#include "ui/date_edit.h"

#include <QCalendarWidget>
#include <QDate>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QWidgetAction>

namespace ui {

DateEdit::DateEdit(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Four year digits wanted, month and day digits optional (a one-digit month or day is a
    // date too), blanks where no digit is: in Qt's mask letters a wanted digit is "9" and an
    // optional one "0". The clerk can still blank the date; the pages validate it.
    edit_->setInputMask(QStringLiteral("9999/00/00; "));
    edit_->setFixedWidth(edit_->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) + 16);
    button_->setText(QStringLiteral("▾"));
    button_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    // The calendar button stays against its edit however wide the column it stands in.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const QDate today = QDate::currentDate();
    setDate(today.year(), today.month(), today.day());
    connect(button_, &QToolButton::clicked, this, &DateEdit::showCalendar);
}

QString DateEdit::text() const
{
    // What the clerk sees, blanks included ("    /  /  " when empty), so that a message about
    // the date quotes it as it stands on screen.
    return edit_->displayText();
}

void DateEdit::setText(const QString& text)
{
    edit_->setText(text);
}

void DateEdit::setDate(int year, int month, int day)
{
    edit_->setText(QDate(year, month, day).toString(QStringLiteral("yyyy/MM/dd")));
}

void DateEdit::showCalendar()
{
    QMenu menu(this);
    auto* calendar = new QCalendarWidget(&menu);
    const QDate current = QDate::fromString(edit_->text(), QStringLiteral("yyyy/MM/dd"));
    if (current.isValid())
        calendar->setSelectedDate(current);
    auto* action = new QWidgetAction(&menu);
    action->setDefaultWidget(calendar);
    menu.addAction(action);
    connect(calendar, &QCalendarWidget::clicked, &menu, [this, &menu](const QDate& date) {
        setDate(date.year(), date.month(), date.day());
        menu.close();
    });
    menu.exec(mapToGlobal(QPoint(0, height())));
    edit_->setFocus();
}

} // namespace ui
