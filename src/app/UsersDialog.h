#pragma once

#include <QDialog>
#include <memory>

class Connection;
class QTableWidget;

// The users and their groups, managed by a privileged user: add, disable or enable, give a new
// password, move to another group, see or change a user's script of `program`. Every change is
// written with its audit row (a script's by the database itself).
class UsersDialog : public QDialog {
    Q_OBJECT
public:
    UsersDialog(std::shared_ptr<Connection> connection, QString author, QString program,
                QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    // The selected user's code; empty when none.
    QString selectedUser() const;

private:
    void reload();
    // Runs a change; a refusal is told and the list re-read either way.
    void change(const std::function<void()>& action);
    void addUser();
    void toggleDisabled();
    void resetPassword();
    void changeGroup();
    void editScript();

    std::shared_ptr<Connection> connection_;
    QString author_;
    QString program_;
    QTableWidget* table_;
};
