#pragma once

#include "ScenarioRunner.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class Cinterface;
class DriverNavigator;
class ScriptedAttachmentDesk;
class Connection;
class DatabaseHost;
class ScriptedLogService;

// The module as the driver runs it: the company database (the schema installed when it is
// empty, and the demo company with it on request), the host's global object whose forms all
// share one scripted message service, and the module created by its program id through a plugin
// registry of its own.
class ModuleSession {
public:
    struct Options {
        QString connectionString;
        bool demo = false;
        qint32 company = 0;
        QString user;
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

private:
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<ScriptedLogService> log_;
    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<ScriptedAttachmentDesk> desk_;
    std::unique_ptr<DriverNavigator> navigator_;
    QTemporaryDir registryDir_;
    std::unique_ptr<Cinterface> module_;
};
