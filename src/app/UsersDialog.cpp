#include "UsersDialog.h"

#include "Accounts.h"
#include "ScriptEditor.h"
#include "SuiteError.h"
#include "UserLayoutHolder.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString kUsersDialogTitle = QStringLiteral("Utenti e gruppi");
}

UsersDialog::UsersDialog(std::shared_ptr<Connection> connection, QString author, QString program,
                         QWidget* parent)
    : QDialog(parent),
      connection_(std::move(connection)),
      author_(std::move(author)),
      program_(std::move(program)) {
    setWindowTitle(kUsersDialogTitle);
    table_ = new QTableWidget(this);
    table_->setColumnCount(5);
    table_->setHorizontalHeaderLabels({QStringLiteral("Utente"), QStringLiteral("Nome"),
                                       QStringLiteral("Gruppo"), QStringLiteral("Privilegiato"),
                                       QStringLiteral("Stato")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    const auto add = [&](const QString& text, void (UsersDialog::*slot)()) {
        connect(buttons->addButton(text, QDialogButtonBox::ActionRole), &QPushButton::clicked, this, slot);
    };
    add(QStringLiteral("&Nuovo utente..."), &UsersDialog::addUser);
    add(QStringLiteral("&Disattiva / riattiva"), &UsersDialog::toggleDisabled);
    add(QStringLiteral("&Password..."), &UsersDialog::resetPassword);
    add(QStringLiteral("&Gruppo..."), &UsersDialog::changeGroup);
    add(QStringLiteral("&Script..."), &UsersDialog::editScript);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(720, 360);
    reload();
}

void UsersDialog::reload() {
    const QList<Account> accounts = Accounts(*connection_).all();
    table_->setRowCount(static_cast<int>(accounts.size()));
    for (int row = 0; row < accounts.size(); ++row) {
        const Account& a = accounts[row];
        const QStringList cells{a.code, a.name, a.group,
                                a.privileged ? QStringLiteral("sì") : QStringLiteral("no"),
                                a.disabled ? QStringLiteral("disattivato") : QStringLiteral("attivo")};
        for (int column = 0; column < cells.size(); ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

QString UsersDialog::selectedUser() const {
    const int row = table_->currentRow();
    return row < 0 || !table_->item(row, 0) ? QString() : table_->item(row, 0)->text();
}

void UsersDialog::change(const std::function<void()>& action) {
    try {
        action();
    } catch (const SuiteError& e) {
        QMessageBox::warning(this, kUsersDialogTitle, e.description());
    }
    const QString keep = selectedUser();
    reload();
    const auto found = table_->findItems(keep, Qt::MatchExactly);
    if (!found.isEmpty()) table_->setCurrentCell(found.front()->row(), 0);
}

namespace {
// Asks a new password twice; empty when the user gave up or the two differ (told).
QString askPassword(QWidget* parent, const QString& user) {
    bool ok = false;
    QString first =
        QInputDialog::getText(parent, kUsersDialogTitle, QStringLiteral("Nuova password di %1:").arg(user),
                              QLineEdit::Password, QString(), &ok);
    if (!ok) return {};
    const QString second =
        QInputDialog::getText(parent, kUsersDialogTitle, QStringLiteral("Ripetere la password:"),
                              QLineEdit::Password, QString(), &ok);
    if (!ok) return {};
    if (first != second) {
        QMessageBox::warning(parent, kUsersDialogTitle, QStringLiteral("Le due password non coincidono."));
        return {};
    }
    return first;
}
}  // namespace

void UsersDialog::addUser() {
    bool ok = false;
    Account account;
    account.code = QInputDialog::getText(this, kUsersDialogTitle, QStringLiteral("Codice del nuovo utente:"),
                                         QLineEdit::Normal, QString(), &ok)
                       .trimmed()
                       .toUpper();
    if (!ok || account.code.isEmpty()) return;
    account.name = QInputDialog::getText(this, kUsersDialogTitle, QStringLiteral("Nome:"), QLineEdit::Normal,
                                         QString(), &ok);
    if (!ok) return;
    account.group = QInputDialog::getItem(this, kUsersDialogTitle, QStringLiteral("Gruppo:"),
                                          Accounts(*connection_).groups(), 0, false, &ok);
    if (!ok) return;
    const QString password = askPassword(this, account.code);
    if (password.isEmpty()) return;
    change([&] { Accounts(*connection_, author_).add(account, password); });
}

void UsersDialog::toggleDisabled() {
    const QString user = selectedUser();
    if (user.isEmpty()) return;
    const std::optional<Account> account = Accounts(*connection_).find(user);
    if (account) change([&] { Accounts(*connection_, author_).setDisabled(user, !account->disabled); });
}

void UsersDialog::resetPassword() {
    const QString user = selectedUser();
    if (user.isEmpty()) return;
    const QString password = askPassword(this, user);
    if (!password.isEmpty()) change([&] { Accounts(*connection_, author_).resetPassword(user, password); });
}

void UsersDialog::changeGroup() {
    const QString user = selectedUser();
    if (user.isEmpty()) return;
    bool ok = false;
    const QString group =
        QInputDialog::getItem(this, kUsersDialogTitle, QStringLiteral("Nuovo gruppo di %1:").arg(user),
                              Accounts(*connection_).groups(), 0, false, &ok);
    if (ok) change([&] { Accounts(*connection_, author_).changeGroup(user, group); });
}

void UsersDialog::editScript() {
    const QString user = selectedUser();
    if (user.isEmpty()) return;
    UserLayoutHolder holder(connection_, user, program_);
    ScriptEditor editor(holder, {}, this);
    editor.setWindowTitle(QStringLiteral("Script utente di %1").arg(user));
    editor.exec();
}
