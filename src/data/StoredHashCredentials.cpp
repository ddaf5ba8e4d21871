#include "StoredHashCredentials.h"

#include "Connection.h"
#include "ConnectionString.h"
#include "PasswordHash.h"
#include "SqlText.h"
#include "Value.h"

namespace {

QString byUser(const SignInTable& table, const QString& code) {
    return QStringLiteral(" WHERE ") + table.userColumn + QStringLiteral(" = ") +
           SqlText::quote(code.trimmed().toUpper());
}

}  // namespace

QString StoredHashCredentials::ruledUser(const ConnectionString& cs) const {
    return cs.user;
}

QString StoredHashCredentials::userOf(const ConnectionString& cs, Connection& /*connection*/) const {
    return cs.user;
}

QString StoredHashCredentials::lostConnectionCauses() const {
    return QStringLiteral("la connessione si è chiusa");
}

std::unique_ptr<Connection> StoredHashCredentials::checkingConnection(std::unique_ptr<Connection> counting,
                                                                      const QString& /*text*/,
                                                                      const QString& /*login*/,
                                                                      const QString& /*password*/) const {
    // The file's own connection, opened as nobody in particular, reads the hash.
    return counting;
}

QString StoredHashCredentials::accountOf(const QString& name, const QString& codeColumn,
                                         const QString& /*roleColumn*/) const {
    return codeColumn + QStringLiteral(" = ") + SqlText::quote(name.trimmed().toUpper());
}

QString StoredHashCredentials::unknownUser(const QString& /*name*/, const QString& password,
                                           const QString& wrongPassword) const {
    // An unknown user takes as long and reads the same as a wrong password.
    PasswordHash::matches(PasswordHash::make(QStringLiteral("-")), password);
    return wrongPassword;
}

Credentials::Password StoredHashCredentials::checkPassword(const QString& storedHash,
                                                           const QString& password) const {
    if (storedHash.isEmpty()) return Password::NotSet;
    return PasswordHash::matches(storedHash, password) ? Password::Right : Password::Wrong;
}

QString StoredHashCredentials::sessionConnection(const QString& text, const QString& login,
                                                 const QString& /*password*/) const {
    return ConnectionString::asUser(text, login);
}

QString StoredHashCredentials::trustedConnection(const QString& text, const QString& code) const {
    // The session's connections still apply the user's rights.
    return ConnectionString::asUser(text, code);
}

std::optional<Credentials::Attempts> StoredHashCredentials::attempts(Connection& connection,
                                                                     const SignInTable& table,
                                                                     const QString& login) const {
    const auto rows = connection
                          .Query(QStringLiteral("SELECT COALESCE(%1, 0), %2 FROM %3")
                                     .arg(table.countColumn, table.timeColumn, table.table) +
                                 byUser(table, login))
                          .front()
                          .rows;
    if (rows.empty()) return std::nullopt;
    return Attempts{Value::toInt(rows.front()[0]), Value::toDateTime(rows.front()[1]),
                    QDateTime::currentDateTime()};
}

bool StoredHashCredentials::countAttempt(Connection& connection, const SignInTable& table,
                                         const QString& login, int seen) const {
    return connection.Execute(
               QStringLiteral("UPDATE %1 SET %2 = %3, %4 = %5")
                   .arg(table.table, table.countColumn)
                   .arg(seen + 1)
                   .arg(table.timeColumn,
                        connection.dialect().literal(QDateTime::currentDateTime(), DataType::DateTime)) +
               byUser(table, login) +
               QStringLiteral(" AND COALESCE(%1, 0) = %2").arg(table.countColumn).arg(seen)) == 1;
}

void StoredHashCredentials::signedIn(Connection& connection, const SignInTable& table,
                                     const QString& login) const {
    connection.Execute(QStringLiteral("UPDATE %1 SET %2 = 0").arg(table.table, table.countColumn) +
                       byUser(table, login) + QStringLiteral(" AND %1 <> 0").arg(table.countColumn));
}

QString StoredHashCredentials::storedHash(const QString& password) const {
    return PasswordHash::make(password);
}
