#pragma once

#include "ProgramRights.h"
#include "ScenarioRunner.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class Cinterface;
class DriverNavigator;
class ScriptedAttachmentDesk;
class Connection;
class DatabaseHost;
class PluginRegistry;
class ScriptedLogService;

// The module as the driver runs it: the company database (the schema installed when it is
// empty, and the demo company with it on request), the user signed in as the application signs
// them in, the host's global object whose forms all
// share one scripted message service, and the module created by its program id through a plugin
// registry of its own (through which the host also opens another bill form as a sibling).
class ModuleSession {
public:
    struct Options {
        QString connectionString;
        bool demo = false;
        qint32 company = 0;
        // On SQLite the suite user; on PostgreSQL the database role, unless `trusted`.
        QString user;
        QString password;
        // Test switch: the connection string's own access is trusted and `user` is the suite
        // user, with no password asked. The application has no such switch.
        bool trusted = false;
        bool privileged = false;
        QString pluginLibrary;
    };

    static constexpr const char* kProgId = KVUO_TARSELLO_PROGID;

    // Throws SuiteError with the reason when the database, the company, the user or the module
    // cannot be had.
    explicit ModuleSession(const Options& options);
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    ScenarioRunner::Session session() const;
    // The rights the signed-in user's group has in the module, as handed to it.
    const ProgramRights& rights() const { return rights_; }

private:
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<ScriptedLogService> log_;
    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<ScriptedAttachmentDesk> desk_;
    std::unique_ptr<DriverNavigator> navigator_;
    QTemporaryDir registryDir_;
    std::shared_ptr<PluginRegistry> registry_;
    std::unique_ptr<Cinterface> module_;
    ProgramRights rights_;
};
