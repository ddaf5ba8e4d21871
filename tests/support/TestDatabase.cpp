#include "TestDatabase.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUuid>

std::string engineName(TestEngine engine) {
    return engine == TestEngine::Sqlite ? "SQLite" : "PostgreSQL";
}

bool TestDatabase::available(TestEngine engine, QString* reason) {
    if (engine == TestEngine::Sqlite) return true;
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

std::shared_ptr<Connection> TestDatabase::connect(std::shared_ptr<const SchemaCatalogue> catalogue) const {
    auto c = std::make_shared<Connection>();
    c->Open(connectionString_);
    c->setCatalogue(std::move(catalogue));
    return c;
}
