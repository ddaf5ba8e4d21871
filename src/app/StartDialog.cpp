#include "StartDialog.h"

#include "Connection.h"
#include "SignInAttempts.h"
#include "StartUp.h"
#include "SuiteError.h"
#include "Value.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

StartDialog::StartDialog(QString connectionString, qint32 company, QWidget* parent)
    : QDialog(parent), connectionString_(std::move(connectionString)), givenCompany_(company) {
    setWindowTitle(QStringLiteral("Dettaglio effetti - accesso"));
    user_ = new QLineEdit(this);
    user_->setMaxLength(63);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    company_ = new QComboBox(this);
    company_->setEnabled(false);
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #a00000"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Utente"), user_);
    form->addRow(QStringLiteral("&Password"), password_);
    form->addRow(QStringLiteral("&Ditta"), company_);
    form->addRow(message_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    enter_ = buttons->button(QDialogButtonBox::Ok);
    enter_->setText(QStringLiteral("Entra"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Esci"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { attempt(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(380);
}

void StartDialog::fillCompanies() {
    const std::shared_ptr<Connection> connection = session_->open();
    const std::vector<ResultSet> result = connection->Query(
        QStringLiteral("SELECT CG18_DITTA, CG18_RAGSOC FROM CG18_DITTE ORDER BY CG18_DITTA"));
    for (const QVector<QVariant>& row : result.front().rows)
        company_->addItem(
            QStringLiteral("%1 - %2").arg(Value::toText(row[0]), Value::toText(row[1]).trimmed()),
            Value::toInt(row[0]));
    const int given = company_->findData(givenCompany_);
    if (given >= 0) company_->setCurrentIndex(given);
}

bool StartDialog::attempt() {
    if (session_) {  // signed in already: the company was being chosen
        accept();
        return true;
    }
    try {
        session_ = StartUp::signIn().signIn(connectionString_, user_->text(), password_->text());
        fillCompanies();
    } catch (const SuiteError& e) {
        session_.reset();
        if (e.number() == SignIn::kFirstPassword && chooseFirstPassword(e.description())) return attempt();
        message_->setText(e.description());
        password_->clear();
        password_->setFocus();
        // The button rests as long as the next attempt would be refused anyway.
        const int wait = SignInAttempts::waitSeconds(++failures_);
        if (wait > 0) {
            enter_->setEnabled(false);
            QTimer::singleShot(wait * 1000, enter_, [button = enter_] { button->setEnabled(true); });
        }
        return false;
    }
    // One company, or the one named on the command line: no need to ask.
    if (company_->count() == 1 || company_->findData(givenCompany_) >= 0) {
        accept();
        return true;
    }
    user_->setEnabled(false);
    password_->setEnabled(false);
    company_->setEnabled(true);
    company_->setFocus();
    message_->setText(QStringLiteral("Scegliere la ditta e premere Entra."));
    return false;
}

bool StartDialog::chooseFirstPassword(const QString& why) {
    bool ok = false;
    const QString first =
        QInputDialog::getText(this, windowTitle(), why, QLineEdit::Password, QString(), &ok);
    if (!ok) return false;
    const QString again = QInputDialog::getText(this, windowTitle(), QStringLiteral("Ripetere la password:"),
                                                QLineEdit::Password, QString(), &ok);
    if (!ok) return false;
    try {
        if (first != again)
            throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Accesso"),
                             QStringLiteral("Le due password non coincidono."));
        auto connection = std::make_shared<Connection>();
        connection->Open(connectionString_);
        Accounts(*connection).setFirstPassword(user_->text().trimmed(), first);
    } catch (const SuiteError& e) {
        message_->setText(e.description());
        return false;
    }
    password_->setText(first);
    return true;
}

qint32 StartDialog::company() const {
    return company_->currentData().toInt();
}
