#include "TestDatabase.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

std::string engineName(TestEngine engine) {
    switch (engine) {
        case TestEngine::Sqlite:
            return "SQLite";
        case TestEngine::PostgreSql:
            return "PostgreSQL";
        case TestEngine::Odbc:
            return "ODBC";
    }
    return {};
}

QString odbcTestString(bool overTcp) {
    QString odbc = qEnvironmentVariable("KV_TEST_ODBC");
    if (odbc.isEmpty()) {
        const ConnectionString pg = ConnectionString::parse(qEnvironmentVariable("KV_TEST_PG"));
        const QString server = overTcp || pg.host.isEmpty() ? QStringLiteral("localhost") : pg.host;
        odbc = QStringLiteral("odbc:Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;")
                   .arg(server)
                   .arg(pg.port > 0 ? pg.port : 5432)
                   .arg(pg.databaseName);
    } else if (overTcp) {
        odbc.replace(QRegularExpression(QStringLiteral("(?<=Server=)/[^;]*"),
                                        QRegularExpression::CaseInsensitiveOption),
                     QStringLiteral("localhost"));
    }
    return odbc;
}

bool TestDatabase::available(TestEngine engine, QString* reason) {
    if (engine == TestEngine::Sqlite) return true;
    if (engine == TestEngine::Odbc && !qEnvironmentVariableIsEmpty("KV_TEST_ODBC")) return true;
    if (qEnvironmentVariableIsEmpty("KV_TEST_PG")) {
        if (reason) *reason = QStringLiteral("KV_TEST_PG is not set: no PostgreSQL server for this test");
        return false;
    }
    return true;
}

TestDatabase::TestDatabase(TestEngine engine) : engine_(engine) {
    const QString unique = QUuid::createUuid().toString(QUuid::Id128).left(12);
    if (engine == TestEngine::Sqlite) {
        path_ = QDir::temp().filePath(QStringLiteral("kvtest-%1.sqlite").arg(unique));
        connectionString_ = QStringLiteral("sqlite:") + path_;
    } else if (engine == TestEngine::Odbc) {
        schema_ = QStringLiteral("t_%1").arg(unique);
        connectionString_ = odbcTestString() + QStringLiteral("?schema=") + schema_;
    } else {
        schema_ = QStringLiteral("t_%1").arg(unique);
        const QString base = qEnvironmentVariable("KV_TEST_PG");
        connectionString_ = base +
                            (base.contains(QLatin1Char('?')) ? QStringLiteral("&") : QStringLiteral("?")) +
                            QStringLiteral("schema=") + schema_;
    }
}

TestDatabase::~TestDatabase() {
    if (!path_.isEmpty()) {
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(path_ + suffix);
    }
    if (!schema_.isEmpty()) {
        try {
            Connection admin;
            admin.Open(qEnvironmentVariable("KV_TEST_PG"));
            admin.Execute(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema_));
        } catch (...) {
            // A schema left behind costs nothing but space; never fail a test for it.
        }
    }
}

QString TestDatabase::signInString() const {
    if (engine_ == TestEngine::Sqlite) return connectionString_;
    if (engine_ == TestEngine::Odbc) return odbcTestString(true) + QStringLiteral("?schema=") + schema_;
    QUrl url(connectionString_);
    QUrlQuery query(url);
    query.removeQueryItem(QStringLiteral("host"));
    url.setQuery(query);
    url.setHost(QStringLiteral("localhost"));
    return url.toString();
}

std::shared_ptr<Connection> TestDatabase::connect(std::shared_ptr<const SchemaCatalogue> catalogue) const {
    auto c = std::make_shared<Connection>();
    c->Open(connectionString_);
    c->setCatalogue(std::move(catalogue));
    return c;
}
