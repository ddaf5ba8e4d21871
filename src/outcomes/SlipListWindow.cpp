#include "SlipListWindow.h"
#include "SlipKinds.h"

#include "ItalianFormat.h"
#include "OutcomeInput.h"
#include "OutcomeRegistrar.h"
#include "StatusReportImport.h"
#include "SuiteError.h"
#include "UnpaidDialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QStringList kSlipColumns = {
    QStringLiteral("Tipo"),   QStringLiteral("Anno"),  QStringLiteral("Numero"),
    QStringLiteral("Banca"),  QStringLiteral("Data"),  QStringLiteral("Effetti"),
    QStringLiteral("Totale"), QStringLiteral("Stato"), QStringLiteral("Insoluti")};
const QStringList kBillColumns = {QStringLiteral("N. effetto"), QStringLiteral("Registrazione"),
                                  QStringLiteral("Cliente"),    QStringLiteral("Scadenza"),
                                  QStringLiteral("Importo"),    QStringLiteral("Esito")};

QTableWidget* table(const QStringList& columns, const QString& name, QWidget* parent) {
    auto* t = new QTableWidget(0, int(columns.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(columns);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void put(QTableWidget* t, int row, const QStringList& cells, const QList<int>& rightAligned) {
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells.at(c));
        if (rightAligned.contains(c)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(row, c, item);
    }
}

}  // namespace

SlipListWindow::SlipListWindow(std::shared_ptr<Connection> connection, qint32 company, Person person,
                               QWidget* parent)
    : QDialog(parent), connection_(std::move(connection)), company_(company), person_(std::move(person)) {
    setObjectName(QStringLiteral("FRM_DISTINTE"));
    setWindowTitle(QStringLiteral("Distinte presentate - esiti"));
    slips_ = table(kSlipColumns, QStringLiteral("GRD_DISTINTE"), this);
    slips_->setSelectionMode(QAbstractItemView::SingleSelection);
    bills_ = table(kBillColumns, QStringLiteral("GRD_EFFETTI"), this);
    bills_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    date_ = new QLineEdit(ItalianFormat::date(QDate::currentDate()), this);
    date_->setObjectName(QStringLiteral("TXT_DATA"));
    date_->setMaximumWidth(110);
    summary_ = new QLabel(this);

    auto* top = new QHBoxLayout;
    auto* dateLabel = new QLabel(QStringLiteral("&Data dell'operazione"), this);
    dateLabel->setBuddy(date_);
    top->addWidget(dateLabel);
    top->addWidget(date_);
    top->addStretch();
    top->addWidget(summary_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(action(QStringLiteral("F5 Accreditata"), Qt::Key_F5, &SlipListWindow::credit));
    buttons->addWidget(action(QStringLiteral("F6 Incassa scelti"), Qt::Key_F6, &SlipListWindow::payChosen));
    buttons->addWidget(action(QStringLiteral("F7 Incassa distinta"), Qt::Key_F7, &SlipListWindow::payAll));
    buttons->addWidget(action(QStringLiteral("F8 Insoluto..."), Qt::Key_F8, &SlipListWindow::unpaid));
    buttons->addWidget(action(QStringLiteral("F9 Esito SEPA..."), Qt::Key_F9, &SlipListWindow::importReport));
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("Chiudi"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(slips_);
    split->addWidget(bills_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    connect(slips_, &QTableWidget::currentCellChanged, this, [this] { showBills(); });
    resize(1200, 640);
    reload();
    slips_->setFocus();
}

QPushButton* SlipListWindow::action(const QString& text, const QKeySequence& key,
                                    void (SlipListWindow::*slot)()) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    auto* shortcut = new QShortcut(key, this);
    connect(shortcut, &QShortcut::activated, this, slot);
    return b;
}

void SlipListWindow::keyPressEvent(QKeyEvent* event) {
    // Enter on a slip goes to its Bills; elsewhere it does not close the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (slips_->hasFocus()) bills_->setFocus();
        if (bills_->rowCount() > 0 && bills_->currentRow() < 0) bills_->setCurrentCell(0, 0);
        return;
    }
    QDialog::keyPressEvent(event);
}

void SlipListWindow::reload() {
    const int row = std::max(0, slips_->currentRow());
    rows_ = SlipBook(connection_).slips(company_);
    slips_->setRowCount(int(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r) {
        const SlipRow& s = rows_.at(r);
        put(slips_, r,
            {SlipKinds::name(s.key.kind), QString::number(s.key.year), QString::number(s.key.number), s.bank,
             ItalianFormat::date(s.created), QString::number(s.count), ItalianFormat::amount(s.total),
             SlipBook::stateName(s.state) +
                 (s.credited.isValid() ? QStringLiteral(" il %1").arg(ItalianFormat::date(s.credited))
                                       : QString()),
             QString::number(s.unpaid)},
            {1, 2, 5, 6, 8});
    }
    slips_->resizeColumnsToContents();
    if (!rows_.isEmpty()) slips_->setCurrentCell(std::min(row, int(rows_.size()) - 1), 0);
    showBills();
}

const SlipRow* SlipListWindow::current() const {
    const int r = slips_->currentRow();
    return r >= 0 && r < rows_.size() ? &rows_.at(r) : nullptr;
}

void SlipListWindow::showBills() {
    const SlipRow* slip = current();
    slipBills_ = slip ? SlipBook(connection_).bills(slip->key) : QList<PresentedBill>{};
    bills_->setRowCount(int(slipBills_.size()));
    int presented = 0;
    for (int r = 0; r < slipBills_.size(); ++r) {
        const PresentedBill& b = slipBills_.at(r);
        presented += b.outcome == BillOutcome::Presented ? 1 : 0;
        put(bills_, r,
            {QString::number(b.number), b.key.section(QLatin1Char(','), 1, 1), b.customer,
             ItalianFormat::date(b.due), ItalianFormat::amount(b.amount), SlipBook::outcomeName(b.outcome)},
            {0, 4});
    }
    bills_->resizeColumnsToContents();
    summary_->setText(slip ? QStringLiteral("Distinta %1: %2 effetti in attesa di esito")
                                 .arg(slip->key.shown())
                                 .arg(presented)
                           : QString());
}

void SlipListWindow::run(const std::function<QString()>& outcome) {
    try {
        const QString done = outcome();
        if (!done.isEmpty()) person_.tell(done, false);
    } catch (const SuiteError& e) {
        person_.tell(e.description(), true);
    }
    reload();
}

void SlipListWindow::credit() {
    const SlipRow* slip = current();
    if (!slip) return;
    const SlipKey key = slip->key;
    run([&] {
        SlipBook(connection_)
            .credit(key, OutcomeInput::date(date_->text(), QStringLiteral("Data dell'operazione")));
        return QString();
    });
}

void SlipListWindow::payChosen() {
    const SlipRow* slip = current();
    if (!slip) return;
    QStringList chosen;
    for (const QModelIndex& index : bills_->selectionModel()->selectedRows())
        chosen << slipBills_.at(index.row()).key;
    if (chosen.isEmpty()) {
        person_.tell(QStringLiteral("Scegliere gli effetti da incassare (F7 incassa tutta la distinta)."),
                     true);
        return;
    }
    const SlipKey key = slip->key;
    const QHash<QString, int> seen = SlipBook::seen(slipBills_);
    run([&] {
        const int paid =
            OutcomeRegistrar(connection_, seen)
                .pay(key, chosen, OutcomeInput::date(date_->text(), QStringLiteral("Data dell'operazione")));
        return QStringLiteral("Effetti incassati: %1.").arg(paid);
    });
}

void SlipListWindow::payAll() {
    const SlipRow* slip = current();
    if (!slip) return;
    const SlipKey key = slip->key;
    const QHash<QString, int> seen = SlipBook::seen(slipBills_);
    run([&] {
        const int paid =
            OutcomeRegistrar(connection_, seen)
                .pay(key, {}, OutcomeInput::date(date_->text(), QStringLiteral("Data dell'operazione")));
        return QStringLiteral("Effetti incassati: %1.").arg(paid);
    });
}

void SlipListWindow::unpaid() {
    const SlipRow* slip = current();
    const int r = bills_->currentRow();
    if (!slip || r < 0 || r >= slipBills_.size()) {
        person_.tell(QStringLiteral("Scegliere l'effetto insoluto nella distinta."), true);
        return;
    }
    const PresentedBill bill = slipBills_.at(r);
    UnpaidDialog dialog(slip->key, bill.key,
                        QStringLiteral("n. %1 del %2, € %3")
                            .arg(bill.number)
                            .arg(ItalianFormat::date(bill.due), ItalianFormat::amount(bill.amount)),
                        this);
    dialog.dateField()->setText(date_->text());
    if (!person_.askUnpaid(dialog)) return;
    const QHash<QString, int> seen = SlipBook::seen(slipBills_);
    run([&] {
        OutcomeRegistrar(connection_, seen).unpaid({dialog.request()});
        return QString();
    });
}

void SlipListWindow::importReport() {
    const SlipRow* slip = current();
    if (!slip) return;
    const QString path = person_.pickFile();
    if (path.isEmpty()) return;
    const SlipKey key = slip->key;
    run([&] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw SuiteError(
                SuiteError::kItemNotFound, QStringLiteral("Esito SEPA"),
                QStringLiteral("Il file %1 non si può leggere: %2.").arg(path, file.errorString()));
        return StatusReportImport(connection_, key).apply(StatusReport::parse(file.readAll()), true).text();
    });
}
