#pragma once

#include <QString>
#include <memory>

class Connection;

// The connection the coded boxes read their descriptions and ids through: one for each database
// in the process, open while a box holds it, shared by every box. A box used to open one for
// each decode, which cost more than the read (a PostgreSQL session is a process of the server)
// and came each time a clerk moved to another Bill.
class DecodeConnection {
public:
    // Opens it when no box holds one to that database; throws SuiteError when it cannot.
    static std::shared_ptr<Connection> to(const QString& connectionString);
};
