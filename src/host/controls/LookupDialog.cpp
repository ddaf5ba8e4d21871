#include "LookupDialog.h"

#include "Connection.h"
#include "Decimal.h"
#include "ItalianFormat.h"
#include "SharedConnection.h"
#include "SqlText.h"
#include "Value.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// A cell as the clerk reads it: dates and amounts the Italian way, never as the database keeps
// them ("20240131", "1234.50"); codes and descriptions without the blanks some archives pad them
// with.
QString shown(const QVariant& value) {
    switch (value.metaType().id()) {
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            return ItalianFormat::date(Value::toDate(value));
        default:
            break;
    }
    if (value.metaType() == QMetaType::fromType<Decimal>()) {
        // An amount has its cents even when the engine kept it as a binary number.
        const Decimal d = value.value<Decimal>();
        return ItalianFormat::amount(d, std::max(d.scale(), 2));
    }
    return Value::toText(value).trimmed();
}

bool isNumber(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::Double:
            return true;
        default:
            return false;
    }
}

}  // namespace

QString LookupDialog::containsPattern(const QString& typed) {
    QString escaped;
    for (const QChar c : typed) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('!');
        escaped += c;
    }
    return SqlText::quote(QLatin1Char('%') + escaped + QLatin1Char('%'));
}

QString LookupDialog::pageQuery(const LookupRequest& request, const QString& typed, const QVariant& last,
                                const Connection& connection) {
    const QString column = QStringLiteral("LKP.") + request.orderColumn;
    QStringList conditions;
    if (!typed.trimmed().isEmpty()) {
        QStringList any;
        const QString pattern = containsPattern(typed.trimmed());
        for (const QString& c : request.searchColumns)
            any << QStringLiteral("UPPER(CAST(LKP.%1 AS VARCHAR(200))) LIKE UPPER(%2) ESCAPE '!'")
                       .arg(c, pattern);
        conditions << QLatin1Char('(') + any.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    if (!Value::isNull(last))
        conditions << column + QStringLiteral(" > ") +
                          (isNumber(last) ? Value::toText(last) : SqlText::quote(Value::toText(last)));
    QString sql = QStringLiteral("SELECT * FROM (") + request.query + QStringLiteral(") LKP");
    if (!conditions.isEmpty()) sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + column;
    return connection.dialect().limited(sql, kPageSize);
}

LookupDialog::LookupDialog(const LookupRequest& request, const QString& keyColumn, QWidget* parent)
    : QDialog(parent),
      request_(request),
      keyColumn_(keyColumn),
      // The database's shared connection, as the decodes read: the host's, with the catalogue
      // that types its dates and amounts, when the list is of the host's database.
      connection_(SharedConnection::to(request.connectionString)),
      filter_(new QLineEdit(this)),
      table_(new QTableWidget(this)) {
    setWindowTitle(request.title);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    const bool paged = !request.orderColumn.isEmpty();
    filter_->setVisible(paged);
    filter_->setPlaceholderText(QStringLiteral("Cerca per codice o descrizione"));
    if (paged) {
        refilter();
        connect(filter_, &QLineEdit::textEdited, this, [this] { refilter(); });
        filter_->installEventFilter(this);
        // The next page arrives as the user scrolls to the end of what has been read.
        connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
            if (value == table_->verticalScrollBar()->maximum()) fetchMore();
        });
        connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) {
            if (row == table_->rowCount() - 1) fetchMore();
        });
    } else {
        std::vector<ResultSet> results = connection_->Query(request.query);
        const ResultSet result = results.empty() ? ResultSet() : std::move(results.front());
        QStringList names;
        for (const ResultColumn& c : result.columns) names << c.name;
        setCaptions(names);
        std::vector<QVariantList> rows;
        for (const auto& r : result.rows) rows.emplace_back(r.begin(), r.end());
        append(rows);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(600, 400);
    if (paged) filter_->setFocus();
}

LookupDialog::~LookupDialog() = default;

void LookupDialog::setCaptions(const QStringList& names) {
    names_ = names;
    table_->setColumnCount(int(names.size()));
    QStringList captions;
    for (int c = 0; c < names.size(); ++c) {
        captions << (c < request_.columns.size() ? request_.columns[c] : names[c]);
        if (names[c].compare(keyColumn_, Qt::CaseInsensitive) == 0) keyIndex_ = c;
        if (names[c].compare(request_.orderColumn, Qt::CaseInsensitive) == 0) orderIndex_ = c;
    }
    table_->setHorizontalHeaderLabels(captions);
}

void LookupDialog::append(const std::vector<QVariantList>& rows) {
    const int first = table_->rowCount();
    table_->setRowCount(first + int(rows.size()));
    for (const QVariantList& r : rows) {
        const int at = int(rows_.size());
        rows_.append(r);
        for (int c = 0; c < table_->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(shown(r.value(c)));
            if (r.value(c).metaType() == QMetaType::fromType<Decimal>())
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(at, c, item);
        }
    }
    if (first == 0 && !rows_.isEmpty()) table_->setCurrentCell(0, 0);
}

void LookupDialog::refilter() {
    rows_.clear();
    table_->setRowCount(0);
    complete_ = false;
    fetchMore();
}

bool LookupDialog::fetchMore() {
    if (complete_) return false;
    const QVariant last = rows_.isEmpty() ? QVariant() : rows_.last().value(orderIndex_);
    std::vector<ResultSet> results =
        connection_->Query(pageQuery(request_, filter_->text(), last, *connection_));
    const ResultSet result = results.empty() ? ResultSet() : std::move(results.front());
    if (table_->columnCount() == 0) {
        QStringList names;
        for (const ResultColumn& c : result.columns) names << c.name;
        setCaptions(names);
    }
    std::vector<QVariantList> rows;
    for (const auto& r : result.rows) rows.emplace_back(r.begin(), r.end());
    complete_ = int(rows.size()) < kPageSize;
    append(rows);
    return !rows.empty();
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            // The filter keeps the typing; the list takes the moving.
            QApplication::sendEvent(table_, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QVariant LookupDialog::currentValue(const QString& column) const {
    const int row = table_->currentRow();
    const qsizetype index = names_.indexOf(column.toUpper());
    if (row < 0 || row >= rows_.size() || index < 0) return QVariant();
    return rows_[row].value(int(index));
}

QVariantList LookupDialog::chosenRow() const {
    const int row = table_->currentRow();
    return row < 0 || row >= rows_.size() ? QVariantList() : rows_[row];
}

QVariant LookupDialog::chosen() const {
    const int row = table_->currentRow();
    if (row < 0 || row >= rows_.size()) return QVariant();
    return rows_[row].value(keyIndex_);
}
