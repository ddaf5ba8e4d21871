#include "SharedConnection.h"

#include "Connection.h"
#include "SuiteError.h"

#include <QHash>

namespace {
struct Offered {
    std::weak_ptr<Connection> connection;  // weak: the holders own it
    ConnectionFactory factory;             // what a new one opens from
};
// Per thread: a connection belongs to the thread that opened it.
QHash<QString, Offered>& offered() {
    thread_local QHash<QString, Offered> connections;
    return connections;
}
}  // namespace

std::shared_ptr<Connection> SharedConnection::to(const QString& connectionString) {
    const auto found = offered().constFind(connectionString);
    if (found == offered().constEnd())
        throw SuiteError(
            SuiteError::kConnectionFailed, QStringLiteral("SharedConnection"),
            QStringLiteral("Il database %1 non è quello della sessione aperta: la lettura non si fa.")
                .arg(ConnectionString::shown(connectionString)));
    if (std::shared_ptr<Connection> connection = found->connection.lock()) return connection;
    std::shared_ptr<Connection> connection = found->factory.open();
    offer(connection);
    return connection;
}

void SharedConnection::offer(const std::shared_ptr<Connection>& connection) {
    offered().insert(connection->ConnectionString(), {connection, connection->factory()});
}
