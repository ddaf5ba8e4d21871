#pragma once

#include <QDate>
#include <QWidget>
#include <memory>

class BackgroundRead;
class ColumnSizer;
class Connection;
class CounterpartNames;
class QLabel;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;
struct ResultSet;

// Beside the list: the open amounts of the selection by counterpart, in the buckets not yet
// due, 1-30, 31-60, 61-90 and over 90 days overdue, with a totals row. Summed by the database in
// the background; the clerk can give a slow read up.
class AgeingView : public QWidget {
    Q_OBJECT
public:
    explicit AgeingView(std::shared_ptr<Connection> connection, QWidget* parent = nullptr);
    ~AgeingView() override;

    // Sums the selection's open Bills as of `today`; the names come from `names`.
    void refresh(const QString& select, int tipoArchivio, const QDate& today,
                 std::shared_ptr<CounterpartNames> names);
    bool done() const;
    // Writes the ageing shown to an .xlsx file: codes and names as text, amounts as numbers with
    // two decimals, the headings and the totals caption in bold. Throws SuiteError with a message for the
    // clerk when the file cannot be written; nothing is lost and the export can be tried again.
    void exportTo(const QString& path) const;
    QPushButton* exportButton() const { return export_; }
    QTableView* table() const { return table_; }
    QLabel* statusLabel() const { return status_; }
    QPushButton* cancelButton() const { return cancel_; }
    // The columns keep the widths shown (the clerk's saved ones) instead of fitting the rows.
    void keepColumnWidths();

signals:
    // A counterpart's row was chosen (a double click, Enter): its code.
    void counterpartChosen(const QString& code);

private:
    void finished(const QString& text);
    // The answer of the background read: a row per counterpart and the totals' row.
    void showRows(const ResultSet& result);
    // "Esporta in Excel...": the file the clerk names, and the outcome in the status line.
    void exportAsked();

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<CounterpartNames> names_;
    BackgroundRead* read_;
    QTableView* table_;
    ColumnSizer* columns_;
    QStandardItemModel* model_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* export_;
    bool reading_ = false;
};
