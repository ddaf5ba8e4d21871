#include "DecodeConnection.h"

#include "Connection.h"

#include <QHash>

std::shared_ptr<Connection> DecodeConnection::to(const QString& connectionString) {
    // Per thread: a connection belongs to the thread that opened it. Weak: the boxes own them.
    thread_local QHash<QString, std::weak_ptr<Connection>> open;
    if (std::shared_ptr<Connection> held = open.value(connectionString).lock()) return held;
    auto connection = std::make_shared<Connection>();
    connection->Open(connectionString);
    open.insert(connectionString, connection);
    return connection;
}
