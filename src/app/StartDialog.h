#pragma once

#include <QDialog>
#include <memory>

class Connection;
class QComboBox;

// Chooses the company and the user when the command line did not name them.
class StartDialog : public QDialog {
    Q_OBJECT
public:
    StartDialog(const std::shared_ptr<Connection>& connection, QWidget* parent = nullptr);

    qint32 company() const;
    QString user() const;

private:
    QComboBox* company_;
    QComboBox* user_;
};
