#pragma once

#include "DemoGenerator.h"
#include "SignIn.h"

#include <QString>
#include <memory>
#include <optional>

class Cinterface;
class Connection;
class DatabaseHost;
class HostGlobal;
class HostNavigator;
class PluginRegistry;
class SuiteError;

// How the application and the driver start, written once: the company database prepared, the
// user signed in, the host of the company opened through the session, and what a module is
// handed as it opens.
namespace StartUp {

// The bill program's sign-in: its rights, the tables' access classes, the catalogue.
SignIn signIn();

// Opens the database as the connection string itself connects (the demo file, the
// administrator) and brings it to the program's schema: an empty one gets it, with the demo
// company when `demo` is given. On a server a clerk's own role may not, and signs in to a
// prepared one: there a failure is left to the sign-in. A database that opened but cannot be
// used is told in words the clerk can act on, the engine's in the technical log.
void prepare(const QString& connectionString, const std::optional<DemoGenerator::Options>& demo);

// The same words for a failure met after the database was prepared.
QString forTheClerk(const SuiteError& e, const QString& connectionString);

struct Desk {
    std::shared_ptr<Connection> connection;  // the host window's own
    std::shared_ptr<DatabaseHost> host;
};
// The session's host on `company`; throws SuiteError when the company or the schema is not there.
Desk open(const UserSession& session, qint32 company);

// The sibling programs `host` runs for its modules: the archive programs and another bill form
// (the bill module of `modules`, with the signed-in user's `rights`).
void givePrograms(const std::shared_ptr<DatabaseHost>& host, std::shared_ptr<PluginRegistry> modules,
                  const ProgramRights& rights);

// What the host hands every module it opens.
void handOver(Cinterface& module, const std::shared_ptr<HostGlobal>& host, HostNavigator* navigator,
              const ProgramRights& rights);

}  // namespace StartUp
