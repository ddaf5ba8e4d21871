#pragma once

#include <QString>
#include <memory>

class Connection;

// Connections kept open for short reads outside any transaction, one for each database in the
// process, shared by whoever asks while a holder keeps it: the coded boxes' decodes and the
// search lists read through the host's connection. A box used to open one for each decode, which
// cost more than the read (a PostgreSQL session is a process of the server) and came with every
// move to another Bill. A connection opened anew comes from the factory of the one offered, so
// that it carries the session's catalogue and access rule: a database nobody offered is refused.
class SharedConnection {
public:
    // The one held for that database, else a new one from the factory of the last offered;
    // throws SuiteError when it cannot open or no session offered that database.
    static std::shared_ptr<Connection> to(const QString& connectionString);
    // Makes `connection` the one answered for its database while someone holds it.
    static void offer(const std::shared_ptr<Connection>& connection);
};
