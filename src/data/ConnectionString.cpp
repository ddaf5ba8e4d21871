#include "ConnectionString.h"

#include "SuiteError.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {
// The text as it may be shown: never with its password.
QString withoutPassword(QString text) {
    static const QRegularExpression password(QStringLiteral("(://[^/@]*?:)[^/]*@"));
    return text.replace(password, QStringLiteral("\\1***@"));
}

[[noreturn]] void invalid(const QString& text, const QString& why) {
    throw SuiteError(SuiteError::kConnectionFailed, QStringLiteral("Connection"),
                     QStringLiteral("Stringa di connessione non valida (%1): %2")
                         .arg(withoutPassword(why), withoutPassword(text)));
}
}  // namespace

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString cs;
    const QString t = text.trimmed();
    const QString scheme = t.left(t.indexOf(QLatin1Char(':')));
    const std::optional<SqlDialect::Engine> engine = SqlDialect::engineOfScheme(scheme);
    if (!engine || t.indexOf(QLatin1Char(':')) < 0)
        invalid(text, QStringLiteral("usare sqlite:, postgresql:// oppure odbc:"));
    cs.engine = *engine;
    if (t.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive)) {
        cs.databaseName = t.mid(7);
        // The signed-in user, whose rights the connection applies: "?user=CODE" at the end.
        const qsizetype mark = cs.databaseName.lastIndexOf(QStringLiteral("?user="));
        if (mark >= 0) {
            cs.user = QUrl::fromPercentEncoding(cs.databaseName.mid(mark + 6).toUtf8());
            cs.databaseName.truncate(mark);
            if (cs.user.isEmpty()) invalid(text, QStringLiteral("manca il codice dell'utente"));
        }
        if (cs.databaseName.isEmpty()) invalid(text, QStringLiteral("manca il percorso del file"));
        return cs;
    }
    if (t.startsWith(QStringLiteral("odbc:"), Qt::CaseInsensitive)) {
        cs.databaseName = t.mid(5);
        if (cs.databaseName.isEmpty()) invalid(text, QStringLiteral("manca la stringa ODBC"));
        return cs;
    }
    if (t.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
        t.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive)) {
        const QUrl url(t, QUrl::StrictMode);
        if (!url.isValid()) invalid(text, url.errorString());
        cs.databaseName = url.path().mid(1);
        if (cs.databaseName.isEmpty()) invalid(text, QStringLiteral("manca il nome del database"));
        cs.host = url.host();
        cs.port = url.port(-1);
        cs.user = url.userName();
        cs.password = url.password();
        const QUrlQuery query(url);
        if (query.hasQueryItem(QStringLiteral("host")))
            cs.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
        cs.schema = query.queryItemValue(QStringLiteral("schema"), QUrl::FullyDecoded);
        return cs;
    }
    invalid(text, QStringLiteral("usare sqlite:, postgresql:// oppure odbc:"));
}

bool ConnectionString::signsInAsRole() const {
    return SqlDialect::create(engine)->hasRoles();
}

QString ConnectionString::asUser(const QString& text, const QString& user, const QString& password) {
    const ConnectionString cs = parse(text);
    if (cs.signsInAsRole()) {
        QUrl url(text.trimmed(), QUrl::StrictMode);
        // Percent-encoded by us: QUrl refuses some characters a role or password may hold.
        url.setUserName(QString::fromLatin1(QUrl::toPercentEncoding(user)), QUrl::TolerantMode);
        url.setPassword(QString::fromLatin1(QUrl::toPercentEncoding(password)), QUrl::TolerantMode);
        return url.toString(QUrl::FullyEncoded);
    }
    if (!text.trimmed().startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive))
        invalid(text, QStringLiteral("l'accesso con utente e password vale per sqlite: e postgresql://"));
    return QStringLiteral("sqlite:") + cs.databaseName + QStringLiteral("?user=") +
           QString::fromUtf8(QUrl::toPercentEncoding(user));
}
