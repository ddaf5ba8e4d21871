#include "SharedConnection.h"

#include "Connection.h"

#include <QHash>

namespace {
// Per thread: a connection belongs to the thread that opened it. Weak: the holders own them.
QHash<QString, std::weak_ptr<Connection>>& held() {
    thread_local QHash<QString, std::weak_ptr<Connection>> connections;
    return connections;
}
}  // namespace

std::shared_ptr<Connection> SharedConnection::to(const QString& connectionString) {
    if (std::shared_ptr<Connection> connection = held().value(connectionString).lock()) return connection;
    auto connection = std::make_shared<Connection>();
    connection->Open(connectionString);
    offer(connection);
    return connection;
}

void SharedConnection::offer(const std::shared_ptr<Connection>& connection) {
    held().insert(connection->ConnectionString(), connection);
}
