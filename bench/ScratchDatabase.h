#pragma once

#include "Connection.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <memory>

// A database of its own for one benchmark on one engine: an SQLite file in the temporary
// folder, or a schema in the PostgreSQL database KV_TEST_PG names. Removed at the end.
class ScratchDatabase {
public:
    explicit ScratchDatabase(const QString& engine) {
        const QString unique = QUuid::createUuid().toString(QUuid::Id128).left(10);
        if (engine == QStringLiteral("sqlite")) {
            file_ = QDir::temp().filePath(QStringLiteral("kvbench-%1.sqlite").arg(unique));
            connectionString_ = QStringLiteral("sqlite:") + file_;
        } else {
            schema_ = QStringLiteral("bench_") + unique;
            const QString base = qEnvironmentVariable("KV_TEST_PG");
            connectionString_ =
                base + (base.contains(QLatin1Char('?')) ? QStringLiteral("&") : QStringLiteral("?")) +
                QStringLiteral("schema=") + schema_;
        }
        connection_ = std::make_shared<Connection>();
        connection_->Open(connectionString_);
    }
    ~ScratchDatabase() {
        if (!schema_.isEmpty()) connection_->Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema_));
        connection_->Close();
        if (!file_.isEmpty())
            for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(file_ + suffix);
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const QString& connectionString() const { return connectionString_; }
    const std::shared_ptr<Connection>& connection() const { return connection_; }

private:
    QString connectionString_;
    QString file_;
    QString schema_;
    std::shared_ptr<Connection> connection_;
};
