#include "ConnectionString.h"

#include "SuiteError.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>

QString ConnectionString::shown(QString text) {
    static const QRegularExpression password(QStringLiteral("(://[^/@]*?:)[^/]*@"));
    static const QRegularExpression odbcPassword(
        QStringLiteral("(\\bPWD\\s*=)(\\{(?:[^}]|\\}\\})*\\}|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    return text.replace(password, QStringLiteral("\\1***@")).replace(odbcPassword, QStringLiteral("\\1***"));
}

namespace {
[[noreturn]] void invalid(const QString& text, const QString& why) {
    throw SuiteError(SuiteError::kConnectionFailed, QStringLiteral("Connection"),
                     QStringLiteral("Stringa di connessione non valida (%1): %2")
                         .arg(ConnectionString::shown(why), ConnectionString::shown(text)));
}
// A libpq value goes into the options unquoted: nothing that would end or split it.
QString optionValue(const QString& text, const QString& value) {
    static const QRegularExpression plain(QStringLiteral("^[^\\s;'\\\\=]+$"));
    if (!plain.match(value).hasMatch()) invalid(text, QStringLiteral("valore non ammesso: %1").arg(value));
    return value;
}

// The hosts and ports of a multi-host authority ("h1:p1,h2:p2"), the first standing for all
// in the URL that QUrl reads.
void splitHosts(const QString& text, const QString& authority, QStringList& hosts, QStringList& ports) {
    for (const QString& part : authority.split(u',')) {
        const qsizetype colon = part.lastIndexOf(u':');
        hosts << (colon < 0 ? part : part.left(colon));
        ports << (colon < 0 ? QString() : part.mid(colon + 1));
        if (hosts.last().isEmpty()) invalid(text, QStringLiteral("un host dell'elenco è vuoto"));
    }
    if (std::all_of(ports.begin(), ports.end(), [](const QString& p) { return p.isEmpty(); })) ports.clear();
}

// The "host=" and "port=" options of several servers.
QStringList serverList(const QString& text, QStringList hosts, const QStringList& ports) {
    // One socket folder or host for several servers: libpq wants it once for each port.
    if (hosts.size() == 1)
        while (hosts.size() < ports.size()) hosts << hosts.first();
    if (ports.size() > 1 && ports.size() != hosts.size())
        invalid(text, QStringLiteral("gli host e le porte non sono in pari numero"));
    for (const QString& p : ports) {
        bool ok = false;
        if (p.toInt(&ok) <= 0 || !ok) invalid(text, QStringLiteral("porta non valida: %1").arg(p));
    }
    QStringList checked;
    for (const QString& h : hosts) checked << optionValue(text, h);
    QStringList options{QStringLiteral("host=") + checked.join(u',')};
    if (!ports.isEmpty()) options << QStringLiteral("port=") + ports.join(u',');
    return options;
}

// The parts after the scheme, by engine: `t` is the trimmed text, `text` as given (for messages).
void parseSqlite(const QString& text, const QString& t, ConnectionString& cs) {
    cs.databaseName = t.mid(7);
    // The signed-in user, whose rights the connection applies: "?user=CODE" at the end.
    const qsizetype mark = cs.databaseName.lastIndexOf(QStringLiteral("?user="));
    if (mark >= 0) {
        cs.user = QUrl::fromPercentEncoding(cs.databaseName.mid(mark + 6).toUtf8());
        cs.databaseName.truncate(mark);
        if (cs.user.isEmpty()) invalid(text, QStringLiteral("manca il codice dell'utente"));
    }
    if (cs.databaseName.isEmpty()) invalid(text, QStringLiteral("manca il percorso del file"));
}

void parseOdbc(const QString& text, const QString& t, ConnectionString& cs) {
    cs.databaseName = t.mid(5);
    // Our own options after the ODBC text: "?schema=NAME&user=CODE", either or both.
    static const QRegularExpression ours(
        QStringLiteral("\\?((?:schema|user)=[^;{}?&=]*)(?:&((?:schema|user)=[^;{}?&=]*))?$"));
    const QRegularExpressionMatch m = ours.match(cs.databaseName);
    if (m.hasMatch()) {
        for (int i = 1; i <= 2; ++i) {
            const QString option = m.captured(i);
            const QString value = QUrl::fromPercentEncoding(option.section(u'=', 1).toUtf8());
            if (value.isEmpty() && !option.isEmpty())
                invalid(text, QStringLiteral("manca il valore di %1").arg(option));
            (option.startsWith(QLatin1String("schema")) ? cs.schema : cs.user) = value;
        }
        cs.databaseName.truncate(m.capturedStart());
    }
    if (cs.databaseName.isEmpty()) invalid(text, QStringLiteral("manca la stringa ODBC"));
}

void parsePostgres(const QString& text, const QString& t, ConnectionString& cs) {
    QString single = t;
    QStringList hosts, ports;
    const qsizetype start = t.indexOf(QStringLiteral("//")) + 2;
    const qsizetype end = t.indexOf(u'/', start);
    const qsizetype at = t.lastIndexOf(u'@', end);
    const qsizetype hostStart = at >= start ? at + 1 : start;
    if (end > hostStart && t.mid(hostStart, end - hostStart).contains(u',')) {
        splitHosts(text, t.mid(hostStart, end - hostStart), hosts, ports);
        single = t.left(hostStart) + QStringLiteral("localhost") + t.mid(end);
    }
    const QUrl url(single, QUrl::StrictMode);
    if (!url.isValid()) invalid(text, url.errorString());
    cs.databaseName = url.path().mid(1);
    if (cs.databaseName.isEmpty()) invalid(text, QStringLiteral("manca il nome del database"));
    cs.host = url.host();
    cs.port = url.port(-1);
    cs.user = url.userName();
    cs.password = url.password();
    const QUrlQuery query(url);
    auto item = [&](const char* name) {
        return query.queryItemValue(QLatin1String(name), QUrl::FullyDecoded);
    };
    if (query.hasQueryItem(QStringLiteral("host"))) {
        cs.host = item("host");
        if (cs.host.contains(u',')) splitHosts(text, cs.host, hosts, ports);
    }
    if (item("port").contains(u',')) ports = item("port").split(u',');
    cs.schema = item("schema");

    QStringList options;
    if (!hosts.isEmpty() || !ports.isEmpty()) {
        options = serverList(text, hosts.isEmpty() ? QStringList{cs.host} : hosts,
                             ports.isEmpty() && cs.port > 0 ? QStringList{QString::number(cs.port)} : ports);
        cs.host.clear();
        cs.port = -1;
    }
    for (const char* name : {"target_session_attrs", "connect_timeout"})
        if (query.hasQueryItem(QLatin1String(name)))
            options << QLatin1String(name) + QStringLiteral("=") + optionValue(text, item(name));
    cs.connectOptions = options.join(u' ');
}

}  // namespace

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString cs;
    const QString t = text.trimmed();
    const QString scheme = t.left(t.indexOf(QLatin1Char(':')));
    const bool odbc = scheme.compare(QLatin1String("odbc"), Qt::CaseInsensitive) == 0;
    const std::optional<SqlDialect::Engine> engine = SqlDialect::engineOfScheme(scheme);
    if ((!engine && !odbc) || t.indexOf(QLatin1Char(':')) < 0)
        invalid(text, QStringLiteral("usare sqlite:, postgresql:// oppure odbc:"));
    cs.engine = engine;
    cs.odbc = odbc;
    if (t.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive)) {
        parseSqlite(text, t, cs);
    } else if (odbc) {
        parseOdbc(text, t, cs);
    } else if (t.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
               t.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive)) {
        parsePostgres(text, t, cs);
    } else {
        invalid(text, QStringLiteral("usare sqlite:, postgresql:// oppure odbc:"));
    }
    return cs;
}

const Credentials* ConnectionString::credentials() const {
    // The strategies live as long as the program: the dialect that gave one may go.
    if (!engine) return nullptr;
    return &SqlDialect::create(*engine)->credentials();
}

namespace {
// An ODBC attribute's value, in braces where it holds what would end or split it.
QString odbcValue(const QString& value) {
    static const QRegularExpression plain(QStringLiteral("^[^;{}=\\s]*$"));
    if (plain.match(value).hasMatch()) return value;
    return u'{' + QString(value).replace(u'}', QStringLiteral("}}")) + u'}';
}
}  // namespace

QString ConnectionString::asRole(const QString& text, const QString& role, const QString& password) {
    const ConnectionString cs = parse(text);
    if (cs.odbc) {
        // The ODBC text's own user and password give way to the role's; our options stay last.
        const QString t = text.trimmed();
        const QString suffix = t.mid(5 + cs.databaseName.size());
        static const QRegularExpression credentials(
            QStringLiteral(
                "(?<=^|;)\\s*(UID|PWD|Username|Password)\\s*=\\s*(\\{(?:[^}]|\\}\\})*\\}|[^;]*);?"),
            QRegularExpression::CaseInsensitiveOption);
        QString odbc = cs.databaseName;
        odbc.remove(credentials);
        if (!odbc.endsWith(u';')) odbc += u';';
        odbc += QStringLiteral("UID=") + odbcValue(role) + u';';
        if (!password.isEmpty()) odbc += QStringLiteral("PWD=") + odbcValue(password) + u';';
        return QStringLiteral("odbc:") + odbc + suffix;
    }
    const QString t = text.trimmed();
    const qsizetype start = t.indexOf(QStringLiteral("://")) + 3;
    if (start < 3) invalid(text, QStringLiteral("il database non ha ruoli di accesso propri"));
    // The user part written in place (a list of servers is no URL QUrl can rebuild), each
    // character a role or password may hold percent-encoded.
    const qsizetype end = t.indexOf(u'/', start);
    const qsizetype at = t.lastIndexOf(u'@', end);
    QString userInfo = QString::fromLatin1(QUrl::toPercentEncoding(role));
    if (!password.isEmpty()) userInfo += u':' + QString::fromLatin1(QUrl::toPercentEncoding(password));
    return t.left(start) + userInfo + u'@' + t.mid(at >= start ? at + 1 : start);
}

QString ConnectionString::asUser(const QString& text, const QString& user) {
    const ConnectionString cs = parse(text);
    if (!cs.odbc && !text.trimmed().startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive))
        invalid(text, QStringLiteral("sul database si entra con un ruolo di accesso, non con un utente"));
    const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(user));
    if (cs.odbc)
        return QStringLiteral("odbc:") + cs.databaseName +
               (cs.schema.isEmpty() ? QStringLiteral("?") : QStringLiteral("?schema=%1&").arg(cs.schema)) +
               QStringLiteral("user=") + encoded;
    return QStringLiteral("sqlite:") + cs.databaseName + QStringLiteral("?user=") + encoded;
}
