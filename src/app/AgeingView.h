#pragma once

#include <QDate>
#include <QWidget>
#include <memory>

class AgeingTable;
class BackgroundRead;
class ColumnSizer;
class Connection;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
struct ResultSet;

// Beside the list: the open amounts of the selection by counterpart, in the buckets not yet
// due, 1-30, 31-60, 61-90 and over 90 days overdue, with a totals row. Summed and named by the
// database in the background, and only once the clerk asks to see it (a large selection costs
// a scan of its own); the clerk can give a slow read up.
class AgeingView : public QWidget {
    Q_OBJECT
public:
    explicit AgeingView(std::shared_ptr<Connection> connection, QWidget* parent = nullptr);
    ~AgeingView() override;

    // The selection whose open Bills are to be summed as of `today`: what was shown goes, and
    // the sums are read at the next read().
    void setSelection(const QString& select, int tipoArchivio, qint32 company, qint32 ledgerGroup,
                      const QDate& today);
    // Starts the read of the selection set, unless it was read or is being read.
    void read();
    // No read running.
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
    QString pending_;  // the query of the selection set, until its read starts
    QDate today_;
    BackgroundRead* read_;
    QTableView* table_;
    ColumnSizer* columns_;
    AgeingTable* model_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* export_;
    bool reading_ = false;
};
