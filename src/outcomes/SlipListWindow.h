#pragma once

#include "SlipBook.h"

#include <QDialog>
#include <functional>
#include <memory>

class Connection;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The presented slips of the company (kind, year, number, bank, date, count, total, state, unpaid)
// with the Bills of the chosen one beside them, and the bank's outcomes: credited, paid (the
// chosen Bills or the whole slip), unpaid, the SEPA status report. Keyboard first: Enter moves
// to the slip's Bills, the function keys run the actions, Esc closes.
class SlipListWindow : public QDialog {
    Q_OBJECT
public:
    // `tell` shows a message to the clerk; `pickFile` asks for the status report's file (empty:
    // none chosen); `askUnpaid` runs the unpaid dialog (false: cancelled).
    struct Person {
        std::function<void(const QString& text, bool refusal)> tell;
        std::function<QString()> pickFile;
        std::function<bool(class UnpaidDialog&)> askUnpaid;
    };
    SlipListWindow(std::shared_ptr<Connection> connection, qint32 company, Person person,
                   QWidget* parent = nullptr);

    QTableWidget* slipTable() const { return slips_; }
    QTableWidget* billTable() const { return bills_; }
    QLineEdit* dateField() const { return date_; }

    void credit();
    void payChosen();
    void payAll();
    void unpaid();
    void importReport();
    void reload();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* action(const QString& text, const QKeySequence& key, void (SlipListWindow::*slot)());
    void showBills();
    const SlipRow* current() const;
    // Runs an outcome; a refusal is told and the lists are read again.
    void run(const std::function<QString()>& outcome);

    std::shared_ptr<Connection> connection_;
    qint32 company_;
    Person person_;
    QList<SlipRow> rows_;
    QList<PresentedBill> slipBills_;
    QTableWidget* slips_;
    QTableWidget* bills_;
    QLineEdit* date_;
    QLabel* summary_;
    QList<QWidget*> actions_;
};
