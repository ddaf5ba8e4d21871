// Builds a large company database for the benchmarks: the demo company with as many Bills as
// asked, on SQLite or PostgreSQL, and reports how long it took and how much space it takes.
//
//   kv_make_large --db sqlite:/tmp/large.sqlite --bills 1000000
//   kv_make_large --db "postgresql:///kvbench?host=/var/run/postgresql&schema=large" --bills 1000000
//   kv_make_large --db sqlite:/tmp/customers.sqlite --bills 1500 --customers 100000

#include "Connection.h"
#include "ConnectionString.h"
#include "DemoGenerator.h"
#include "SchemaInstaller.h"
#include "SuiteError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTextStream>
#include <cstdio>

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

qint64 sqliteBytes(const QString& path) {
    qint64 total = 0;
    for (const QString& suffix : {QString(), QStringLiteral("-wal")})
        total += QFileInfo(path + suffix).size();
    return total;
}

// Tables and their indexes in the connection's schema, and the whole database.
std::pair<qint64, qint64> postgresBytes(Connection& c) {
    QSqlQuery q(c.database());
    if (!q.exec(QStringLiteral(
            "SELECT COALESCE(SUM(pg_total_relation_size(c.oid)), 0), pg_database_size(current_database())"
            " FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace"
            " WHERE n.nspname = current_schema() AND c.relkind = 'r'")) ||
        !q.next())
        c.raise(q, q.lastQuery());
    return {q.value(0).toLongLong(), q.value(1).toLongLong()};
}

QString megabytes(qint64 bytes) {
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString db;
    int bills = 1000000;
    int customers = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--db") && i + 1 < args.size())
            db = args[++i];
        else if (args[i] == QStringLiteral("--bills") && i + 1 < args.size())
            bills = args[++i].toInt();
        else if (args[i] == QStringLiteral("--customers") && i + 1 < args.size())
            customers = args[++i].toInt();
    }
    if (db.isEmpty() || bills <= 0) {
        std::fprintf(stderr, "uso: kv_make_large --db STRINGA-DI-CONNESSIONE --bills N [--customers N]\n");
        return 2;
    }
    try {
        auto connection = std::make_shared<Connection>();
        connection->Open(db);
        connection->setCatalogue(SchemaInstaller::catalogue());
        QElapsedTimer timer;
        timer.start();
        SchemaInstaller(connection).install();
        DemoGenerator::Options options;
        options.bills = bills;
        options.billsPerTransaction = 50000;
        options.customers = customers;
        options.progress = [&](long long written) {
            if (written % 100000 < 10000)
                out() << written << " effetti, " << timer.elapsed() / 1000 << " s" << Qt::endl;
        };
        const DemoGenerator::Counts counts = DemoGenerator(connection, options).run();
        const qint64 ms = timer.elapsed();
        out() << "effetti " << counts.bills << ", documenti " << counts.documents << ", storico "
              << counts.history << ", solleciti " << counts.reminders << ", cambiali "
              << counts.billsOfExchange << ", note " << counts.notes << Qt::endl;
        out() << "tempo " << QString::number(ms / 1000.0, 'f', 1) << " s" << Qt::endl;
        const ConnectionString cs = ConnectionString::parse(db);
        if (cs.engine == SqlDialect::Engine::Sqlite) {
            connection->Close();
            out() << "file " << megabytes(sqliteBytes(cs.databaseName)) << Qt::endl;
        } else {
            const auto [tables, database] = postgresBytes(*connection);
            out() << "tabelle e indici " << megabytes(tables) << ", database " << megabytes(database)
                  << Qt::endl;
        }
    } catch (const SuiteError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
