#include "SlipDialog.h"

#include "FailureText.h"
#include "ItalianFormat.h"
#include "SlipCandidates.h"
#include "SlipCommand.h"
#include "SlipKinds.h"
#include "SlipTexts.h"
#include "SlipWriter.h"
#include "SuiteError.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum Column { Number, Customer, Due, Amount, Document, ColumnCount };

// What the clerk is told: our own refusals as they are, anything else in our words.
QString failure(const SuiteError& e) {
    if (e.source() == SlipTexts::kTitle)
        return SlipTexts::kNothingWritten + QStringLiteral("\n") + e.description();
    return FailureText::of(e, SlipTexts::kNothingWritten);
}

}  // namespace

SlipDialog::SlipDialog(std::shared_ptr<Connection> connection, qint32 company, QString source,
                       const QDate& today, SlipCheck check, QWidget* parent)
    : QDialog(parent),
      connection_(std::move(connection)),
      company_(company),
      check_(std::move(check)),
      source_(std::move(source)),
      today_(today) {
    setWindowTitle(SlipTexts::kTitle);
    type_ = new QComboBox(this);
    type_->addItem(QStringLiteral("Ricevuta bancaria (Ri.Ba.)"), SlipKinds::billTypeOf(SlipKinds::kRiba));
    type_->addItem(QStringLiteral("RID (addebito diretto SEPA)"), SlipKinds::billTypeOf(SlipKinds::kSdd));
    // Next month's Bills: what a clerk presents at the end of this one.
    const QDate next = QDate(today.year(), today.month(), 1).addMonths(1);
    dueFrom_ = new QLineEdit(ItalianFormat::date(next), this);
    dueTo_ = new QLineEdit(ItalianFormat::date(next.addMonths(1).addDays(-1)), this);
    for (QLineEdit* e : {dueFrom_, dueTo_}) {
        e->setMaxLength(10);
        e->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    }
    search_ = new QPushButton(QStringLiteral("&Cerca"), this);
    auto* dates = new QHBoxLayout;
    dates->addWidget(dueFrom_);
    dates->addWidget(new QLabel(QStringLiteral("al"), this));
    dates->addWidget(dueTo_);
    dates->addWidget(search_);
    dates->addStretch();
    bank_ = new QComboBox(this);
    bankDecoded_ = new QLabel(this);
    bankDecoded_->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Tipo effetto"), type_);
    auto* dueLabel = new QLabel(QStringLiteral("&Scadenza dal"), this);
    dueLabel->setBuddy(dueFrom_);
    form->addRow(dueLabel, dates);
    form->addRow(QStringLiteral("&Banca della ditta"), bank_);
    form->addRow(QString(), bankDecoded_);

    model_ = new QStandardItemModel(0, ColumnCount, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("N. effetto"), QStringLiteral("Cliente"),
                                       QStringLiteral("Scadenza"), QStringLiteral("Importo"),
                                       QStringLiteral("Documento")});
    list_ = new QTableView(this);
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setSectionResizeMode(Customer, QHeaderView::Stretch);
    total_ = new QLabel(this);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00020;"));
    outcome_ = new QLabel(this);
    outcome_->setWordWrap(true);
    present_ = new QPushButton(QStringLiteral("&Presenta"), this);
    cancel_ = new QPushButton(QStringLiteral("&Annulla"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(total_, 1);
    buttons->addWidget(present_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(list_, 1);
    layout->addWidget(problem_);
    layout->addWidget(outcome_);
    layout->addLayout(buttons);
    resize(900, 560);

    fillBanks();
    connect(bank_, &QComboBox::currentIndexChanged, this, &SlipDialog::showBank);
    connect(search_, &QPushButton::clicked, this, &SlipDialog::search);
    connect(present_, &QPushButton::clicked, this, &SlipDialog::present);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(model_, &QStandardItemModel::itemChanged, this, &SlipDialog::showTotal);
    search();
}

void SlipDialog::fillBanks() {
    bank_->addItem(QString(), 0);
    try {
        banks_ = CompanyBank::of(connection_, company_);
    } catch (const SuiteError& e) {
        showProblem(FailureText::of(e, QStringLiteral("Le banche della ditta non sono state lette.")));
    }
    for (const CompanyBank& b : banks_) bank_->addItem(b.shown(), b.progressive);
    showBank();
}

void SlipDialog::showBank() {
    const int i = bank_->currentIndex() - 1;
    if (i < 0 || i >= banks_.size()) {
        bankDecoded_->setText(QStringLiteral("Nessuna banca scelta."));
        return;
    }
    const CompanyBank& b = banks_.at(i);
    bankDecoded_->setText(QStringLiteral("Banca di presentazione: %1 %2 - Agenzia di presentazione: %3 %4")
                              .arg(b.abi, 5, 10, QLatin1Char('0'))
                              .arg(b.bankName)
                              .arg(b.cab, 5, 10, QLatin1Char('0'))
                              .arg(b.agencyName));
}

std::optional<SlipFilter> SlipDialog::typedFilter() {
    SlipFilter f;
    f.billType = type_->currentData().toInt();
    if (const QString problem = f.setDueDates(dueFrom_->text(), dueTo_->text()); !problem.isEmpty()) {
        showProblem(problem);
        return std::nullopt;
    }
    return f;
}

bool SlipDialog::search() {
    const std::optional<SlipFilter> f = typedFilter();
    if (!f) return false;
    try {
        bills_ = SlipCandidates(connection_, company_).read(source_, *f);
    } catch (const SuiteError& e) {
        showProblem(FailureText::of(e, QStringLiteral("Gli effetti non sono stati letti.")));
        return false;
    }
    listed_ = *f;
    // Ticked before they join the model: no change of a tick is told while the list fills.
    model_->removeRows(0, model_->rowCount());
    for (const SlipBill& b : bills_) {
        auto* number = new QStandardItem(QString::number(b.number));
        number->setCheckable(true);
        number->setCheckState(Qt::Checked);
        auto* amount = new QStandardItem(ItalianFormat::amount(b.amount));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        model_->appendRow({number, new QStandardItem(b.customer),
                           new QStandardItem(ItalianFormat::date(b.due)), amount,
                           new QStandardItem(b.document)});
    }
    list_->resizeColumnsToContents();
    list_->scrollToTop();
    showProblem(bills_.isEmpty()
                    ? QStringLiteral("Nessun effetto aperto e non presentato con questi criteri.")
                    : QString());
    showTotal();
    return true;
}

QList<SlipBill> SlipDialog::ticked() const {
    QList<SlipBill> chosen;
    for (int r = 0; r < model_->rowCount() && r < bills_.size(); ++r)
        if (model_->item(r, Number)->checkState() == Qt::Checked) chosen.append(bills_.at(r));
    return chosen;
}

void SlipDialog::showTotal() {
    const QList<SlipBill> chosen = ticked();
    Decimal sum = Decimal::fromMantissa(0, 2);
    for (const SlipBill& b : chosen) sum = sum + b.amount;
    total_->setText(QStringLiteral("Effetti da presentare: %1 di %2 - totale %3 euro")
                        .arg(chosen.size())
                        .arg(bills_.size())
                        .arg(ItalianFormat::amount(sum)));
}

bool SlipDialog::present() {
    if (written_) return false;
    const std::optional<SlipFilter> f = typedFilter();
    if (!f) return false;
    // Choices changed since the list was read: the clerk sees the new list before presenting it.
    if (f->billType != listed_.billType || f->dueFrom != listed_.dueFrom || f->dueTo != listed_.dueTo) {
        if (search())
            showProblem(
                QStringLiteral("L'elenco è stato riletto con le nuove scelte: controllarlo e premere di "
                               "nuovo Presenta."));
        return false;
    }
    SlipOrder order;
    order.company = company_;
    order.kind = *SlipKinds::forBillType(listed_.billType);
    order.date = today_;
    order.check = check_;
    const int i = bank_->currentIndex() - 1;
    if (i >= 0 && i < banks_.size()) order.bank = banks_.at(i);
    order.bills = ticked();
    try {
        written_ = SlipWriter(connection_).write(order);
    } catch (const SuiteError& e) {
        showProblem(failure(e));
        return false;
    }
    showProblem(QString());
    outcome_->setText(SlipCommand::told({*written_, int(order.bills.size()), order.total()}, order.date));
    for (QWidget* w :
         std::initializer_list<QWidget*>{type_, dueFrom_, dueTo_, bank_, search_, present_, list_})
        w->setEnabled(false);
    cancel_->setText(QStringLiteral("&Chiudi"));
    return true;
}

void SlipDialog::showProblem(const QString& text) {
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}
