#include "StartDialog.h"

#include "Connection.h"
#include "Recordset.h"
#include "Value.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

StartDialog::StartDialog(const std::shared_ptr<Connection>& connection, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Dettaglio effetti - accesso"));
    company_ = new QComboBox(this);
    user_ = new QComboBox(this);
    Recordset companies;
    companies.Open(QStringLiteral("SELECT CG18_DITTA, CG18_RAGSOC FROM CG18_DITTE ORDER BY CG18_DITTA"),
                   connection);
    for (; !companies.AtEOF(); companies.MoveNext())
        company_->addItem(QStringLiteral("%1 - %2").arg(Value::toText(companies.Fields(0).Value()),
                                                        Value::toText(companies.Fields(1).Value()).trimmed()),
                          Value::toInt(companies.Fields(0).Value()));
    Recordset users;
    users.Open(QStringLiteral("SELECT KV02_UTENTE, KV02_NOME FROM KV02_UTENTI ORDER BY KV02_UTENTE"),
               connection);
    for (; !users.AtEOF(); users.MoveNext())
        user_->addItem(QStringLiteral("%1 - %2").arg(Value::toText(users.Fields(0).Value()).trimmed(),
                                                     Value::toText(users.Fields(1).Value()).trimmed()),
                       Value::toText(users.Fields(0).Value()).trimmed());
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Ditta"), company_);
    form->addRow(QStringLiteral("&Utente"), user_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Entra"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Esci"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

qint32 StartDialog::company() const {
    return company_->currentData().toInt();
}
QString StartDialog::user() const {
    return user_->currentData().toString();
}
