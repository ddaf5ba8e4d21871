#include "AgeingView.h"

#include "Ageing.h"
#include "AgeingTable.h"
#include "BackgroundRead.h"
#include "ColumnSizer.h"
#include "ItalianFormat.h"
#include "SuiteError.h"
#include "XlsxWorkbook.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

AgeingView::AgeingView(std::shared_ptr<Connection> connection, QWidget* parent)
    : QWidget(parent), connection_(std::move(connection)) {
    model_ = new AgeingTable(this);
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
        model_->setRows(result);
        columns_->fit();
        finished(QStringLiteral("%1 controparti con effetti aperti").arg(model_->counterparts()));
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
            const QModelIndex index = model_->index(r, c);
            const QVariant amount = index.data(Qt::UserRole);
            if (amount.isValid())
                book.setAmount(sheet, r + 1, c, amount.value<Decimal>());
            else if (!index.data().toString().isEmpty())
                book.setText(sheet, r + 1, c, index.data().toString(), totals);
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

void AgeingView::setSelection(const QString& select, int tipoArchivio, qint32 company, qint32 ledgerGroup,
                              const QDate& today) {
    read_->cancel();
    model_->clear();
    today_ = today;
    pending_ = Ageing::query(select, tipoArchivio, company, ledgerGroup, today);
    finished(QString());
}

void AgeingView::read() {
    if (pending_.isEmpty()) return;
    status_->setText(QStringLiteral("Calcolo dell'anzianità al %1...").arg(ItalianFormat::date(today_)));
    reading_ = true;
    progress_->show();
    cancel_->show();
    read_->start(connection_, pending_);
    pending_.clear();
}

void AgeingView::finished(const QString& text) {
    reading_ = false;
    progress_->hide();
    cancel_->hide();
    status_->setText(text);
}
