#pragma once

#include <QString>
#include <memory>

class Connection;

// Connections kept open for short reads outside any transaction, one for each database in the
// process, shared by whoever asks while a holder keeps it: the coded boxes' decodes read
// through the host's connection. A box used to open one for each decode, which cost more than
// the read (a PostgreSQL session is a process of the server) and came with every move to
// another Bill.
class SharedConnection {
public:
    // The one held for that database, else a new one; throws SuiteError when it cannot open.
    static std::shared_ptr<Connection> to(const QString& connectionString);
    // Makes `connection` the one answered for its database while someone holds it.
    static void offer(const std::shared_ptr<Connection>& connection);
};
