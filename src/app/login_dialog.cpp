#include "app/login_dialog.h"

#include "ui/qt_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {
namespace {

struct RoleChoice {
    const char* caption;
    const char* name;
};

const RoleChoice kRoles[] = {
    {"出納 (DESK_CLERK)", "DESK_CLERK"},
    {"主管 (DESK_SUPERVISOR)", "DESK_SUPERVISOR"},
    {"稽核 (DESK_AUDITOR)", "DESK_AUDITOR"},
    {"無 (依資料庫權限)", ""},
};

} // namespace

LoginDialog::LoginDialog(const std::string& user, const std::string& role, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("登入"));

    userEdit_ = new QLineEdit(QString::fromUtf8(user.c_str()), this);
    userEdit_->setObjectName(QStringLiteral("loginUser"));
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setObjectName(QStringLiteral("loginPassword"));
    passwordEdit_->setEchoMode(QLineEdit::Password);
    roleCombo_ = new QComboBox(this);
    roleCombo_->setObjectName(QStringLiteral("loginRole"));
    for (const RoleChoice& choice : kRoles)
        roleCombo_->addItem(QString::fromUtf8(choice.caption), QString::fromUtf8(choice.name));
    const int defined = roleCombo_->findData(QString::fromUtf8(role.c_str()).toUpper());
    roleCombo_->setCurrentIndex(defined >= 0 ? defined : 0);

    failure_ = new QLabel(this);
    failure_->setObjectName(QStringLiteral("loginFailure"));
    failure_->setStyleSheet(QStringLiteral("color: #b00000"));
    failure_->setWordWrap(true);
    failure_->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("使用者(&U)"), userEdit_);
    form->addRow(QStringLiteral("密碼(&P)"), passwordEdit_);
    form->addRow(QStringLiteral("角色(&R)"), roleCombo_);

    auto* buttons = new QDialogButtonBox(this);
    loginButton_ = buttons->addButton(QStringLiteral("登入(&L)"), QDialogButtonBox::AcceptRole);
    loginButton_->setObjectName(QStringLiteral("loginButton"));
    loginButton_->setDefault(true);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("loginCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(failure_);
    layout->addWidget(buttons);

    if (user.empty())
        userEdit_->setFocus();
    else
        passwordEdit_->setFocus();
}

std::string LoginDialog::user() const
{
    return ui::trimmedBlanks(userEdit_->text()).toUpper().toStdString();
}

std::string LoginDialog::password() const
{
    return passwordEdit_->text().toStdString();
}

std::string LoginDialog::role() const
{
    return roleCombo_->currentData().toString().toStdString();
}

void LoginDialog::showFailure(const QString& reason)
{
    failure_->setText(reason);
    failure_->show();
    passwordEdit_->clear();
    passwordEdit_->setFocus();
}

} // namespace app
