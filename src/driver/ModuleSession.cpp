#include "ModuleSession.h"

#include "AccessRules.h"
#include "AttachmentDesk.h"
#include "Cinterface.h"
#include "Connection.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "DriverNavigator.h"
#include "PluginRegistry.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "SignIn.h"
#include "SuiteError.h"

ModuleSession::ModuleSession(const Options& options)
    : connection_(std::make_shared<Connection>()), log_(std::make_shared<ScriptedLogService>()) {
    AccessRules::install(Schema::accessClass, Schema::billProgram());
    // The database is prepared as the connection string itself connects (the test's own role, the
    // administrator); on a server a clerk's role may not, and signs in to a prepared one.
    try {
        auto setup = std::make_shared<Connection>();
        setup->Open(options.connectionString);
        setup->setCatalogue(SchemaInstaller::catalogue());
        SchemaInstaller installer(setup);
        if (installer.state() == SchemaInstaller::State::Empty) {
            installer.install();
            if (options.demo) DemoGenerator(setup, DemoGenerator::Options{}).run();
        }
        if (installer.state() == SchemaInstaller::State::Older) installer.upgrade();
        installer.verify();
        installer.addMissingIndexes();
    } catch (const SuiteError&) {
        if (!ConnectionString::parse(options.connectionString).signsInAsRole()) throw;
    }
    const SignIn signIn(Schema::billProgram());
    const SignIn::Session signedIn =
        options.trusted ? signIn.trusted(options.connectionString, options.user)
                        : signIn.signIn(options.connectionString, options.user, options.password);
    rights_ = signedIn.rights;
    connection_->Open(signedIn.connectionString);
    connection_->setCatalogue(SchemaInstaller::catalogue());
    SchemaInstaller(connection_).verify();

    host_ = std::make_shared<DatabaseHost>(signedIn.connectionString, options.company, signedIn.account.code);
    // One service for every form, so that queued answers reach whichever form asks next.
    host_->setLogServiceFactory([log = log_] { return log; });
    if (options.privileged) host_->setPrivileged(true);
    desk_ = std::make_shared<ScriptedAttachmentDesk>();
    host_->setAttachmentDesk(desk_);
    navigator_ = std::make_unique<DriverNavigator>();

    if (!registryDir_.isValid())
        throw SuiteError(
            SuiteError::kOperationNotAllowed, QStringLiteral("ModuleSession"),
            QStringLiteral("Cannot create the module registry: %1").arg(registryDir_.errorString()));
    PluginRegistry registry(registryDir_.filePath(QStringLiteral("moduli.json")));
    registry.Register(QString::fromLatin1(kProgId), options.pluginLibrary);
    module_ = registry.CreateObject(QString::fromLatin1(kProgId));
    // What the host application hands every module it opens.
    module_->setClsGlobal(host_);
    module_->setActiveNavigator(navigator_.get());
    module_->setIsActive(true);
    module_->setCanInsert(rights_.insert);
    module_->setCanUpdate(rights_.update);
    module_->setCanDelete(rights_.remove);
    module_->setCanQbe(rights_.query);
    host_->SetActiveModule(module_.get());
}

ModuleSession::~ModuleSession() {
    // The module's form holds the host's objects: it goes first.
    if (host_) host_->SetActiveModule(nullptr);
    module_.reset();
}

ScenarioRunner::Session ModuleSession::session() const {
    ScenarioRunner::Session s;
    s.module = module_.get();
    s.host = host_;
    s.connection = connection_;
    s.log = log_;
    s.navigator = navigator_.get();
    s.desk = desk_;
    return s;
}
