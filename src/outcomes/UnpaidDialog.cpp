#include "UnpaidDialog.h"

#include "ItalianFormat.h"
#include "OutcomeInput.h"
#include "OutcomeRegistrar.h"
#include "SuiteError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kDate = QStringLiteral("Data insoluto");
const QString kBankCharges = QStringLiteral("Spese addebitate dalla banca");
const QString kCustomerCharges = QStringLiteral("Spese a carico del cliente");

}  // namespace

UnpaidDialog::UnpaidDialog(const SlipKey& slip, const QString& bill, const QString& billText, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Insoluto - distinta %1").arg(slip.shown()));
    request_.slip = slip;
    request_.bill = bill;
    date_ = new QLineEdit(ItalianFormat::date(QDate::currentDate()), this);
    date_->setObjectName(QStringLiteral("TXT_DATAINSOLUTO"));
    bankCharges_ = new QLineEdit(QStringLiteral("0,00"), this);
    bankCharges_->setObjectName(QStringLiteral("TXT_SPESERITBAN"));
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("CBO_INDSPERIT"));
    // The codes and texts of the bill form's combo.
    mode_->addItem(QStringLiteral(" Nessun addebito"), 0);
    mode_->addItem(QStringLiteral(" Solo annotate"), 1);
    mode_->addItem(QStringLiteral(" Sommate"), 2);
    mode_->addItem(QStringLiteral(" Nuovo effetto"), 3);
    mode_->setCurrentIndex(1);
    customerCharges_ = new QLineEdit(QStringLiteral("0,00"), this);
    customerCharges_->setObjectName(QStringLiteral("TXT_SPESERIT"));
    reminder_ = new QCheckBox(
        QStringLiteral("&Registra il sollecito (primo livello) per la lettera al cliente"), this);
    reminder_->setObjectName(QStringLiteral("CHK_SOLLECITO"));
    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("LBL_ERRORE"));
    error_->setStyleSheet(QStringLiteral("color: #b00020"));
    error_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Effetto"), new QLabel(billText, this));
    form->addRow(QStringLiteral("&") + kDate, date_);
    form->addRow(QStringLiteral("Spese addebitate dalla &banca"), bankCharges_);
    form->addRow(QStringLiteral("&Modalità di gestione delle spese di ritorno"), mode_);
    form->addRow(QStringLiteral("Spese a carico del &cliente"), customerCharges_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Registra insoluto"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &UnpaidDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UnpaidDialog::reject);
    connect(mode_, &QComboBox::currentIndexChanged, this, &UnpaidDialog::modeChanged);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(reminder_);
    layout->addWidget(error_);
    layout->addWidget(buttons);
    date_->selectAll();
    date_->setFocus();
}

void UnpaidDialog::modeChanged() {
    // As in the bill form: with no charge there is nothing to put on the customer.
    const bool charged = mode_->currentData().toInt() != 0;
    customerCharges_->setEnabled(charged);
    if (!charged) customerCharges_->setText(QStringLiteral("0,00"));
}

QString UnpaidDialog::error() const {
    return error_->text();
}

void UnpaidDialog::accept() {
    try {
        UnpaidRequest r = request_;
        r.date = OutcomeInput::date(date_->text(), kDate);
        r.bankCharges = OutcomeInput::amount(bankCharges_->text(), kBankCharges);
        r.chargesMode = mode_->currentData().toInt();
        const Decimal customer = OutcomeInput::amount(customerCharges_->text(), kCustomerCharges);
        if (customer != Decimal::fromMantissa(0, 2)) r.customerCharges = customer;
        r.reminder = reminder_->isChecked();
        OutcomeRegistrar::validate(r);
        request_ = r;
    } catch (const SuiteError& e) {
        error_->setText(e.description());
        return;
    }
    error_->clear();
    QDialog::accept();
}
