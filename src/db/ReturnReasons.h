#pragma once

#include <QList>
#include <QString>

class Connection;

// The reasons a bank gives for a direct debit rejected or returned: the common codes of the ISO
// external status reason list, with the Italian description the clerk reads. The installer
// fills KV23_CAUSALIESITO with them; the status report names them.
namespace ReturnReasons {

struct Reason {
    const char* code;
    const char* description;
};

const QList<Reason>& all();

// Fills KV23_CAUSALIESITO with the codes it lacks (inside the caller's transaction).
void install(Connection& connection);

}  // namespace ReturnReasons
