#include "AgeingView.h"

#include "Ageing.h"
#include "BackgroundRead.h"
#include "ColumnSizer.h"
#include "CounterpartNames.h"
#include "ItalianFormat.h"
#include "SuiteError.h"
#include "Value.h"
#include "XlsxWorkbook.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

namespace {

QStandardItem* cell(const QString& text, bool number) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

}  // namespace

AgeingView::AgeingView(std::shared_ptr<Connection> connection, QWidget* parent)
    : QWidget(parent), connection_(std::move(connection)) {
    model_ = new QStandardItemModel(0, 3 + Ageing::kBuckets, this);
    QStringList titles{QStringLiteral("Codice"), QStringLiteral("Ragione sociale")};
    titles << Ageing::bucketTitles() << QStringLiteral("Totale");
    model_->setHorizontalHeaderLabels(titles);
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setTabKeyNavigation(false);  // Tab goes on to the buttons; the arrows move in the table
    columns_ = new ColumnSizer(table_);
    status_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 0);
    progress_->setMaximumWidth(120);
    progress_->setTextVisible(false);
    progress_->hide();
    cancel_ = new QPushButton(QStringLiteral("Annulla"), this);
    cancel_->hide();
    export_ = new QPushButton(QStringLiteral("Esporta in E&xcel..."), this);
    read_ = new BackgroundRead(this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(progress_);
    bottom->addWidget(cancel_);
    bottom->addWidget(export_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);

    connect(cancel_, &QPushButton::clicked, this, [this] {
        read_->cancel();
        finished(QStringLiteral("Calcolo dell'anzianità annullato."));
    });
    connect(export_, &QPushButton::clicked, this, &AgeingView::exportAsked);
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& index) {
        const QString code = model_->index(index.row(), 0).data().toString();
        if (!code.isEmpty()) emit counterpartChosen(code);  // the totals' row has none
    });
    connect(read_, &BackgroundRead::failed, this, [this](const QString& reason) { finished(reason); });
    connect(read_, &BackgroundRead::answered, this, &AgeingView::showRows);
}

AgeingView::~AgeingView() = default;

void AgeingView::exportAsked() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Esporta l'anzianità"),
                                                      QStringLiteral("anzianita.xlsx"),
                                                      QStringLiteral("Cartella di Excel (*.xlsx)"));
    if (path.isEmpty()) return;
    try {
        exportTo(path);
        status_->setText(QStringLiteral("Anzianità esportata in %1").arg(path));
    } catch (const SuiteError& e) {
        status_->setText(e.description());
    }
}

void AgeingView::showRows(const ResultSet& result) {
    try {
        QStringList codes;
        for (const auto& row : result.rows) codes << Value::toText(Value::natural(row.value(0))).trimmed();
        if (names_) names_->load(codes);
        std::array<Decimal, Ageing::kBuckets + 1> totals{};
        for (const auto& row : result.rows) {
            const QString code = Value::toText(Value::natural(row.value(0))).trimmed();
            QList<QStandardItem*> items{cell(code, false),
                                        cell(names_ ? names_->nameOf(code) : QString(), false)};
            Decimal sum;
            for (int b = 0; b < Ageing::kBuckets; ++b) {
                const Decimal v = Value::isNull(row.value(b + 1))
                                      ? Decimal()
                                      : Value::toDecimal(Value::natural(row.value(b + 1))).rounded(2);
                items << cell(v.isZero() ? QString() : ItalianFormat::amount(v), true);
                items.last()->setData(QVariant::fromValue(v), Qt::UserRole);
                totals[b] = totals[b] + v;
                sum = sum + v;
            }
            totals[Ageing::kBuckets] = totals[Ageing::kBuckets] + sum;
            items << cell(ItalianFormat::amount(sum), true);
            items.last()->setData(QVariant::fromValue(sum), Qt::UserRole);
            model_->appendRow(items);
        }
        QList<QStandardItem*> last{cell(QString(), false), cell(QStringLiteral("Totale"), false)};
        for (const Decimal& t : totals) {
            last << cell(ItalianFormat::amount(t), true);
            last.last()->setData(QVariant::fromValue(t), Qt::UserRole);
        }
        QFont bold = table_->font();
        bold.setBold(true);
        for (QStandardItem* item : last) item->setFont(bold);
        model_->appendRow(last);
        columns_->fit();
        finished(QStringLiteral("%1 controparti con effetti aperti").arg(result.rows.size()));
    } catch (const SuiteError& e) {
        finished(e.description());
    }
}

void AgeingView::exportTo(const QString& path) const {
    XlsxWorkbook book;
    const int sheet = book.addSheet(QStringLiteral("Anzianità scaduto"));
    for (int c = 0; c < model_->columnCount(); ++c) {
        book.setText(sheet, 0, c, model_->headerData(c, Qt::Horizontal).toString(), true);
        book.setColumnWidth(sheet, c, c == 1 ? 40 : 14);
    }
    for (int r = 0; r < model_->rowCount(); ++r) {
        const bool totals = r == model_->rowCount() - 1;
        for (int c = 0; c < model_->columnCount(); ++c) {
            const QStandardItem* item = model_->item(r, c);
            if (!item) continue;
            const QVariant amount = item->data(Qt::UserRole);
            if (amount.isValid())
                book.setAmount(sheet, r + 1, c, amount.value<Decimal>());
            else if (!item->text().isEmpty())
                book.setText(sheet, r + 1, c, item->text(), totals);
        }
    }
    book.save(path);
}

void AgeingView::keepColumnWidths() {
    columns_->keep();
}

bool AgeingView::done() const {
    return !reading_;
}

void AgeingView::refresh(const QString& select, int tipoArchivio, const QDate& today,
                         std::shared_ptr<CounterpartNames> names) {
    names_ = std::move(names);
    model_->removeRows(0, model_->rowCount());
    status_->setText(QStringLiteral("Calcolo dell'anzianità al %1...").arg(ItalianFormat::date(today)));
    reading_ = true;
    progress_->show();
    cancel_->show();
    read_->start(connection_, Ageing::query(select, tipoArchivio, today));
}

void AgeingView::finished(const QString& text) {
    reading_ = false;
    progress_->hide();
    cancel_->hide();
    status_->setText(text);
}
