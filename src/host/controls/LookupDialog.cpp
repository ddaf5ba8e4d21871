#include "LookupDialog.h"

#include "Connection.h"
#include "LookupRequest.h"
#include "Value.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

LookupDialog::LookupDialog(const LookupRequest& request, const QString& keyColumn, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this)) {
    setWindowTitle(request.title);
    auto connection = std::make_shared<Connection>();
    connection->Open(request.connectionString);
    std::vector<ResultSet> results = connection->Query(request.query);
    const ResultSet empty;
    const ResultSet& result = results.empty() ? empty : results.front();

    const int columns = int(result.columns.size());
    table_->setColumnCount(columns);
    QStringList captions;
    for (int c = 0; c < columns; ++c) {
        const QString name = result.columns[size_t(c)].name;
        captions << (c < request.columns.size() ? request.columns[c] : name);
        if (name.compare(keyColumn, Qt::CaseInsensitive) == 0) keyIndex_ = c;
    }
    table_->setHorizontalHeaderLabels(captions);
    table_->setRowCount(int(result.rows.size()));
    for (int r = 0; r < int(result.rows.size()); ++r) {
        rows_.append(QVariantList(result.rows[size_t(r)].begin(), result.rows[size_t(r)].end()));
        for (int c = 0; c < columns; ++c)
            table_->setItem(r, c, new QTableWidgetItem(Value::toText(rows_.last().value(c))));
    }
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setStretchLastSection(true);
    if (!rows_.isEmpty()) table_->setCurrentCell(0, 0);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(600, 400);
}

QVariant LookupDialog::chosen() const {
    const int row = table_->currentRow();
    if (row < 0 || row >= rows_.size()) return QVariant();
    return rows_[row].value(keyIndex_);
}
