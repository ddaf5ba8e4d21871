#pragma once

#include <QDialog>
#include <QVariant>

struct LookupRequest;
class QTableWidget;

// The search list of an archive: the rows of the lookup query, one to choose with a double click
// or Enter.
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    // Runs the query; throws SuiteError when it cannot.
    LookupDialog(const LookupRequest& request, const QString& keyColumn, QWidget* parent = nullptr);

    // The key column's value of the chosen row (Null when none was chosen).
    QVariant chosen() const;
    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_;
    QList<QVariantList> rows_;
    int keyIndex_ = 0;
};
