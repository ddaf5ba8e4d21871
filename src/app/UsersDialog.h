#pragma once

#include <QDialog>
#include <memory>

class Connection;
class QTableWidget;

// The users and their groups, managed by a privileged user: add, disable or enable, give a new
// password, move to another group. Every change is written with its audit row.
class UsersDialog : public QDialog {
    Q_OBJECT
public:
    UsersDialog(std::shared_ptr<Connection> connection, QString author, QWidget* parent = nullptr);

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

    std::shared_ptr<Connection> connection_;
    QString author_;
    QTableWidget* table_;
};
