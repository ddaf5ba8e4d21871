#pragma once

#include "SignIn.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Signs the user in: user and password (on PostgreSQL the database role and its password; left
// empty, ~/.pgpass or the operating-system user), then the company. A wrong password is told
// and the button waits longer after each one in a row.
class StartDialog : public QDialog {
    Q_OBJECT
public:
    // `company`: the company given on the command line; 0 asks for it.
    StartDialog(QString connectionString, qint32 company, QWidget* parent = nullptr);

    const std::optional<SignIn::Session>& session() const { return session_; }
    qint32 company() const;

    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    QPushButton* enterButton() const { return enter_; }
    QLabel* message() const { return message_; }
    // Signs in with what is typed (the button's work); true once the dialog is accepted.
    bool attempt();

private:
    void fillCompanies();
    // A privileged user without a password chooses it; false when they gave up or it was refused.
    bool chooseFirstPassword(const QString& why);

    QString connectionString_;
    qint32 givenCompany_;
    QLineEdit* user_;
    QLineEdit* password_;
    QComboBox* company_;
    QLabel* message_;
    QPushButton* enter_;
    std::optional<SignIn::Session> session_;
    int failures_ = 0;
};
