#include "StartUp.h"

#include "ArchivePrograms.h"
#include "Cinterface.h"
#include "Connection.h"
#include "Credentials.h"
#include "DatabaseHost.h"
#include "ModuleProgram.h"
#include "ProgramLaunchers.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "SuiteError.h"
#include "TechnicalLog.h"

namespace {

SuiteError unusable(const SuiteError& e, const QString& connectionString) {
    TechnicalLog::write(e.source(), e.description());
    return SuiteError(
        e.number(), e.source(),
        QStringLiteral("Il database %1 non si può usare: non è un database della contabilità, è "
                       "danneggiato o è di una versione che il programma non conosce. Il "
                       "dettaglio tecnico è nel registro %2.")
            .arg(ConnectionString::shown(connectionString), TechnicalLog::path()));
}

}  // namespace

SignIn StartUp::signIn() {
    return {Schema::billProgram(), Schema::accessClass, SchemaInstaller::catalogue()};
}

void StartUp::prepare(const QString& connectionString, const std::optional<DemoGenerator::Options>& demo) {
    try {
        const auto connection = ConnectionFactory(connectionString, SchemaInstaller::catalogue()).open();
        try {
            SchemaInstaller installer(connection);
            if (installer.state() == SchemaInstaller::State::Empty) {
                installer.install();
                if (demo) DemoGenerator(connection, *demo).run();
            }
            if (installer.state() == SchemaInstaller::State::Older) installer.upgrade();
            installer.verify();
            installer.addMissingIndexes();
        } catch (const SuiteError& e) {
            if (e.number() == SuiteError::kCommandFailed || e.number() == SuiteError::kConnectionFailed)
                throw unusable(e, connectionString);
            throw;
        }
    } catch (const SuiteError&) {
        // Where the clerk signs in as a role, the installer's access may not be had here.
        const Credentials* credentials = ConnectionString::parse(connectionString).credentials();
        if (credentials && credentials->opensAsInstaller()) throw;
    }
}

QString StartUp::forTheClerk(const SuiteError& e, const QString& connectionString) {
    return e.number() == SuiteError::kCommandFailed ? unusable(e, connectionString).description()
                                                    : e.description();
}

StartUp::Desk StartUp::open(const UserSession& session, qint32 company) {
    Desk desk;
    desk.connection = session.open();
    SchemaInstaller(desk.connection).verify();
    desk.host = std::make_shared<DatabaseHost>(session.connections(), company, session.account().code);
    desk.host->setProgramLauncher(std::make_shared<ArchivePrograms>());
    return desk;
}

void StartUp::givePrograms(const std::shared_ptr<DatabaseHost>& host, std::shared_ptr<PluginRegistry> modules,
                           const ProgramRights& rights) {
    auto programs = std::make_shared<ProgramLaunchers>();
    programs->add(std::make_shared<ArchivePrograms>());
    programs->add(std::make_shared<ModuleProgram>(QStringLiteral(KVUO_TARSELLO_PROGID), std::move(modules),
                                                  rights, std::weak_ptr<HostGlobal>(host)));
    host->setProgramLauncher(programs);
}

void StartUp::handOver(Cinterface& module, const std::shared_ptr<HostGlobal>& host, HostNavigator* navigator,
                       const ProgramRights& rights) {
    module.setClsGlobal(host);
    module.setActiveNavigator(navigator);
    module.setIsActive(true);
    module.setCanInsert(rights.insert);
    module.setCanUpdate(rights.update);
    module.setCanDelete(rights.remove);
    module.setCanQbe(rights.query);
}
