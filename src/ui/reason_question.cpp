#include "ui/reason_question.h"

#include "ui/qt_text.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

std::optional<QString> askForReason(QWidget* parent, const QString& title, const QString& question)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(question, &dialog);
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addWidget(new QLabel(QStringLiteral("原因："), &dialog));
    auto* reason = new QLineEdit(&dialog);
    reason->setObjectName(QStringLiteral("reasonEdit"));
    layout->addWidget(reason);

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* yes = buttons->addButton(QStringLiteral("是"), QDialogButtonBox::YesRole);
    QPushButton* no = buttons->addButton(QStringLiteral("否"), QDialogButtonBox::NoRole);
    yes->setEnabled(false);
    yes->setAutoDefault(false);
    no->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(reason, &QLineEdit::textChanged, yes,
                     [yes](const QString& typed) { yes->setEnabled(!isBlank(typed)); });
    QObject::connect(yes, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(no, &QPushButton::clicked, &dialog, &QDialog::reject);
    reason->setFocus(); // Enter still answers the default "否"

    if (dialog.exec() != QDialog::Accepted || isBlank(reason->text()))
        return std::nullopt;
    return trimmedBlanks(reason->text());
}

} // namespace ui
