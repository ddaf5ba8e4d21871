#include "Accounts.h"

#include "Connection.h"
#include "Credentials.h"
#include "LoginRoleCredentials.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QRegularExpression>

namespace {

const QString kAccountsSource = QStringLiteral("Utenti");

[[noreturn]] void refuseAccountChange(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, kAccountsSource, why);
}

QString q(const QString& text) {
    return SqlText::quote(text);
}

QString orNull(const QString& text) {
    return text.isEmpty() ? QStringLiteral("NULL") : q(text);
}

const QString kSelect = QStringLiteral(
    "SELECT KV02_UTENTE, KV02_NOME, KV02_GRUPPO_KV03, KV02_FLGPRIVIL, KV10_FLGDISAB, KV10_HASH, "
    "KV10_RUOLODB, "
    "KV10_TENTATIVI, KV10_DATATENT FROM KV02_UTENTI LEFT JOIN KV10_ACCESSI ON KV10_UTENTE_KV02 = "
    "KV02_UTENTE");

}  // namespace

Accounts::Accounts(Connection& connection, QString author)
    : connection_(connection), author_(std::move(author)) {}

QString Accounts::groupRole(const QString& group) {
    return LoginRoleCredentials::roleName(QStringLiteral("kv_gruppo_"), group);
}

QString Accounts::loginRole(const QString& code) {
    return LoginRoleCredentials::roleName(QString(), code);
}

QString Accounts::counterRole() {
    return QStringLiteral("kv_accesso");
}

SignInTable Accounts::signInTable() {
    return {QStringLiteral("KV10_ACCESSI"),   QStringLiteral("KV10_UTENTE_KV02"),
            QStringLiteral("KV10_RUOLODB"),   QStringLiteral("KV10_HASH"),
            QStringLiteral("KV10_TENTATIVI"), QStringLiteral("KV10_DATATENT")};
}

QString Accounts::privilegedRole() {
    return QStringLiteral("kv_privilegiati");
}

QList<Account> Accounts::read(const QString& where) const {
    QList<Account> accounts;
    const std::vector<ResultSet> result =
        connection_.Query(kSelect + where + QStringLiteral(" ORDER BY KV02_UTENTE"));
    for (const QVector<QVariant>& row : result.front().rows) {
        Account a;
        a.code = Value::toText(row[0]).trimmed();
        a.name = Value::toText(row[1]).trimmed();
        a.group = Value::toText(row[2]).trimmed();
        a.privileged = Value::toInt(row[3]) != 0;
        a.disabled = Value::toInt(row[4]) != 0;
        a.passwordHash = Value::toText(row[5]).trimmed();
        a.role = Value::toText(row[6]).trimmed();
        a.failures = Value::toInt(row[7]);
        a.lastFailure = Value::toDateTime(row[8]);
        accounts.append(a);
    }
    return accounts;
}

std::optional<Account> Accounts::find(const QString& code) const {
    const QList<Account> found = read(QStringLiteral(" WHERE KV02_UTENTE = ") + q(code.trimmed().toUpper()));
    return found.isEmpty() ? std::nullopt : std::optional<Account>(found.front());
}

std::optional<Account> Accounts::findSignedIn(const QString& name) const {
    const QList<Account> found = read(
        QStringLiteral(" WHERE ") + connection_.dialect().credentials().accountOf(
                                        name, QStringLiteral("KV02_UTENTE"), QStringLiteral("KV10_RUOLODB")));
    return found.size() == 1 ? std::optional<Account>(found.front()) : std::nullopt;
}

QList<Account> Accounts::all() const {
    return read(QString());
}

QStringList Accounts::groups() const {
    QStringList names;
    const std::vector<ResultSet> result =
        connection_.Query(QStringLiteral("SELECT KV03_GRUPPO FROM KV03_GRUPPI ORDER BY KV03_GRUPPO"));
    for (const QVector<QVariant>& row : result.front().rows) names.append(Value::toText(row[0]).trimmed());
    return names;
}

ProgramRights Accounts::rightsOf(const QString& group, const QString& program) const {
    const auto rows =
        connection_
            .Query(QStringLiteral("SELECT KV11_FLGINS, KV11_FLGMOD, KV11_FLGCANC, KV11_FLGCONS FROM "
                                  "KV11_DIRITTI WHERE KV11_GRUPPO_KV03 = %1 AND KV11_PROGRAMMA = %2")
                       .arg(q(group), q(program)))
            .front()
            .rows;
    // A group the program was not given to may do nothing in it.
    if (rows.empty()) return {};
    const QVector<QVariant>& r = rows.front();
    return {Value::toInt(r[0]) != 0, Value::toInt(r[1]) != 0, Value::toInt(r[2]) != 0,
            Value::toInt(r[3]) != 0};
}

Account Accounts::existing(const QString& code) const {
    const std::optional<Account> account = find(code);
    if (!account) refuseAccountChange(QStringLiteral("L'utente %1 non esiste.").arg(code));
    return *account;
}

void Accounts::requireAuthor() const {
    const std::optional<Account> author = find(author_);
    if (!author || !author->privileged || author->disabled)
        refuseAccountChange(QStringLiteral("Solo un utente privilegiato può gestire gli utenti."));
}

void Accounts::requireGroup(const QString& group) const {
    if (!groups().contains(group))
        refuseAccountChange(QStringLiteral("Il gruppo \"%1\" non esiste.").arg(group));
}

void Accounts::requirePassword(const QString& password) {
    if (password.size() < kMinimumPassword)
        refuseAccountChange(
            QStringLiteral("La password deve avere almeno %1 caratteri.").arg(kMinimumPassword));
}

void Accounts::audit(const QString& user, const QString& action, const QString& detail) {
    const SqlDialect& d = connection_.dialect();
    connection_.Execute(
        QStringLiteral(
            "INSERT INTO KV12_REGUTENTI (KV12_PROGR, KV12_DATAORA, KV12_AUTORE, KV12_UTENTE, KV12_AZIONE, "
            "KV12_DETTAGLIO) SELECT COALESCE(MAX(KV12_PROGR), 0) + 1, %1, %2, %3, %4, %5 FROM KV12_REGUTENTI")
            .arg(d.literal(QDateTime::currentDateTime(), DataType::DateTime), q(author_), q(user), q(action),
                 q(detail.left(255))));
}

OwnedRows Accounts::ownedRows(const QString& table, const QString& ownerColumn, const QString& action) {
    return {
        table, ownerColumn,
        QStringLiteral("SELECT KV10_UTENTE_KV02 FROM KV10_ACCESSI WHERE KV10_RUOLODB = {role}"),
        privilegedRole(),
        QStringLiteral(
            "INSERT INTO KV12_REGUTENTI (KV12_PROGR, KV12_DATAORA, KV12_AUTORE, KV12_UTENTE, KV12_AZIONE, "
            "KV12_DETTAGLIO) SELECT COALESCE(MAX(KV12_PROGR), 0) + 1, {now}, {author}, {owner}, %1, "
            "{operation} FROM KV12_REGUTENTI")
            .arg(q(action))};
}

void Accounts::add(const Account& account, const QString& password) {
    requireAuthor();
    const QString code = account.code.trimmed().toUpper();
    static const QRegularExpression valid(QStringLiteral("^[A-Z0-9_.]{1,20}$"));
    if (!valid.match(code).hasMatch())
        refuseAccountChange(QStringLiteral(
            "Il codice utente deve avere da 1 a 20 lettere senza accenti, cifre, punti o trattini bassi."));
    if (find(code)) refuseAccountChange(QStringLiteral("L'utente %1 esiste già.").arg(code));
    requireGroup(account.group);
    requirePassword(password);
    const Credentials& credentials = connection_.dialect().credentials();
    const QString role = credentials.loginRoleOf(code);
    const QString hash = credentials.storedHash(password);
    TransactionScope transaction(connection_);
    connection_.Execute(QStringLiteral("INSERT INTO KV02_UTENTI (KV02_UTENTE, KV02_NOME, KV02_GRUPPO_KV03, "
                                       "KV02_FLGPRIVIL) VALUES (%1, %2, %3, %4)")
                            .arg(q(code), q(account.name.left(60)), q(account.group))
                            .arg(account.privileged ? 1 : 0));
    connection_.Execute(QStringLiteral("INSERT INTO KV10_ACCESSI (KV10_UTENTE_KV02, KV10_HASH, KV10_RUOLODB, "
                                       "KV10_FLGDISAB, KV10_TENTATIVI) VALUES (%1, %2, %3, 0, 0)")
                            .arg(q(code), orNull(hash), orNull(role)));
    credentials.createLogin(connection_, role, password, groupRole(account.group),
                            account.privileged ? privilegedRole() : QString());
    audit(code, QStringLiteral("AGGIUNTO"),
          QStringLiteral("gruppo %1%2")
              .arg(account.group, account.privileged ? QStringLiteral(", privilegiato") : QString()));
    transaction.commit();
}

void Accounts::storeHash(const QString& code, const QString& hash) {
    connection_.Execute(
        QStringLiteral(
            "UPDATE KV10_ACCESSI SET KV10_HASH = %1, KV10_TENTATIVI = 0 WHERE KV10_UTENTE_KV02 = %2")
            .arg(orNull(hash), q(code)));
}

void Accounts::setDisabled(const QString& code, bool disabled) {
    requireAuthor();
    const Account account = existing(code);
    if (disabled && account.code == author_.trimmed().toUpper())
        refuseAccountChange(QStringLiteral("Non si può disattivare l'utente con cui si è entrati."));
    const Credentials& credentials = connection_.dialect().credentials();
    TransactionScope transaction(connection_);
    connection_.Execute(QStringLiteral("UPDATE KV10_ACCESSI SET KV10_FLGDISAB = %1, KV10_TENTATIVI = 0 WHERE "
                                       "KV10_UTENTE_KV02 = %2")
                            .arg(disabled ? 1 : 0)
                            .arg(q(account.code)));
    QStringList memberOf{groupRole(account.group)};
    if (account.privileged) memberOf.append(privilegedRole());
    credentials.setLoginEnabled(connection_, account.role, !disabled, memberOf);
    audit(account.code, disabled ? QStringLiteral("DISATTIVATO") : QStringLiteral("RIATTIVATO"), QString());
    transaction.commit();
    if (!disabled) return;
    // The sessions still open end now: the clerk is told at the next save, the edits pending.
    try {
        credentials.endSessions(connection_, account.role);
    } catch (const SuiteError& e) {
        refuseAccountChange(
            QStringLiteral("L'utente %1 è disattivato e non ha più diritti, ma le sue sessioni aperte non "
                           "si sono potute chiudere:\n%2")
                .arg(account.code, e.description()));
    }
}

void Accounts::resetPassword(const QString& code, const QString& password) {
    requireAuthor();
    const Account account = existing(code);
    requirePassword(password);
    const Credentials& credentials = connection_.dialect().credentials();
    const QString hash = credentials.storedHash(password);
    TransactionScope transaction(connection_);
    credentials.setLoginPassword(connection_, account.code, account.role, password);
    storeHash(account.code, hash);
    // The audit row says a password was set, never which.
    audit(account.code, QStringLiteral("PASSWORD"), QString());
    transaction.commit();
}

void Accounts::setFirstPassword(const QString& code, const QString& password) {
    const Account account = existing(code);
    const QString setByAdministrator =
        QStringLiteral("La password dell'utente %1 la imposta l'amministratore.").arg(account.code);
    if (!account.privileged || !account.passwordHash.isEmpty()) refuseAccountChange(setByAdministrator);
    requirePassword(password);
    // Where the server keeps the passwords the administrator gives each role its own.
    const QString hash = connection_.dialect().credentials().storedHash(password);
    if (hash.isEmpty()) refuseAccountChange(setByAdministrator);
    author_ = account.code;
    TransactionScope transaction(connection_);
    storeHash(account.code, hash);
    audit(account.code, QStringLiteral("PASSWORD"), QStringLiteral("primo accesso"));
    transaction.commit();
}

void Accounts::changeGroup(const QString& code, const QString& group) {
    requireAuthor();
    const Account account = existing(code);
    requireGroup(group);
    TransactionScope transaction(connection_);
    connection_.Execute(QStringLiteral("UPDATE KV02_UTENTI SET KV02_GRUPPO_KV03 = %1 WHERE KV02_UTENTE = %2")
                            .arg(q(group), q(account.code)));
    // A disabled user gets the new group's rights when enabled again.
    connection_.dialect().credentials().moveLogin(
        connection_, account.role, account.group.isEmpty() ? QString() : groupRole(account.group),
        account.disabled ? QString() : groupRole(group));
    audit(account.code, QStringLiteral("GRUPPO"), QStringLiteral("da %1 a %2").arg(account.group, group));
    transaction.commit();
}
