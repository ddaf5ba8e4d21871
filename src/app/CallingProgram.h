#pragma once

#include "BillFilter.h"

#include <QWidget>
#include <memory>

class Connection;
class Recordset;
class HostGlobal;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class SelectionCount;
class QStandardItemModel;
class QTableView;

// The program from which a clerk reaches the bill detail: filters (archive, counterpart,
// due dates, state), the list of the Bills they select, and the module opened on the chosen
// Bill or on a new one with the same selection.
class CallingProgram : public QWidget {
    Q_OBJECT
public:
    CallingProgram(std::shared_ptr<HostGlobal> host, std::shared_ptr<Connection> connection,
                   QWidget* parent = nullptr);

    // Reads the filters; false, with the reason shown under them, when one is not valid.
    bool readFilter(BillFilter& filter);
    // Runs the search: the list shows the first page of the selection and reads on as the clerk
    // scrolls; answers the Bills listed, -1 when the filters or the selection were refused. The
    // number of Bills selected (a COUNT of the selection) follows in the status line, counted
    // in the background; `countDone` tells when it is there.
    int search();
    bool countDone() const { return !counting_; }
    // The key of the selected Bill as "company,numreg,row,progec,progeff"; empty when none.
    QString selectedKey() const;
    const BillFilter& filter() const { return filter_; }

    QLineEdit* counterpartEdit() const { return counterpart_; }
    QLineEdit* dueFromEdit() const { return dueFrom_; }
    QLineEdit* dueToEdit() const { return dueTo_; }
    QComboBox* archiveCombo() const { return archive_; }
    QComboBox* stateCombo() const { return state_; }
    QTableView* list() const { return list_; }
    QLabel* statusLabel() const { return status_; }
    QPushButton* countCancelButton() const { return countCancel_; }

signals:
    void openBill(const BillFilter& filter, const QString& key);
    void newBill(const BillFilter& filter);

private:
    void showProblem(const QString& text);
    // The next Bills of the selection into the list; as the clerk scrolls down, more follow.
    void appendRows(int count);
    // The count's outcome in the status line, its progress put away.
    void countShown(const QString& text);

    std::shared_ptr<HostGlobal> host_;
    std::shared_ptr<Connection> connection_;
    BillFilter filter_;
    std::shared_ptr<Recordset> rows_;  // the selection, read page by page
    QComboBox* archive_;
    QLineEdit* counterpart_;
    QLineEdit* dueFrom_;
    QLineEdit* dueTo_;
    QComboBox* state_;
    QTableView* list_;
    QStandardItemModel* model_;
    QLabel* status_;
    QProgressBar* countProgress_;
    QPushButton* countCancel_;
    QTimer* countDelay_;  // a count that ends quickly shows no progress at all
    SelectionCount* count_;
    bool counting_ = false;
};
