#pragma once
// The login of a workstation whose connections.ini keeps no password: user, password and desk
// role, in Chinese. A wrong password or a role the user does not hold is said in the dialog,
// which stays open for another try.
#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    // `user` and `role` prefill the fields (the workstation's last user, the defined role).
    LoginDialog(const std::string& user, const std::string& role, QWidget* parent = nullptr);

    std::string user() const; // upper case, as the server stores user names
    std::string password() const;
    std::string role() const; // the role's database name, e.g. "DESK_CLERK"; empty for none

    // Shows why the last try failed and readies the dialog for the next.
    void showFailure(const QString& reason);

    QLineEdit* userEdit() const { return userEdit_; }
    QLineEdit* passwordEdit() const { return passwordEdit_; }
    QComboBox* roleCombo() const { return roleCombo_; }
    QPushButton* loginButton() const { return loginButton_; }
    QLabel* failureLabel() const { return failure_; }

private:
    QLineEdit* userEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QComboBox* roleCombo_ = nullptr;
    QPushButton* loginButton_ = nullptr;
    QLabel* failure_ = nullptr;
};

} // namespace app
