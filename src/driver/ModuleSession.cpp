#include "ModuleSession.h"

#include "AttachmentDesk.h"
#include "Cinterface.h"
#include "Connection.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "DriverNavigator.h"
#include "PluginRegistry.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "SuiteError.h"

ModuleSession::ModuleSession(const Options& options)
    : connection_(std::make_shared<Connection>()), log_(std::make_shared<ScriptedLogService>()) {
    connection_->Open(options.connectionString);
    connection_->setCatalogue(SchemaInstaller::catalogue());
    SchemaInstaller installer(connection_);
    if (installer.state() == SchemaInstaller::State::Empty) {
        installer.install();
        if (options.demo) DemoGenerator(connection_, DemoGenerator::Options{}).run();
    }
    if (installer.state() == SchemaInstaller::State::Older) installer.upgrade();
    installer.verify();
    installer.addMissingIndexes();

    host_ = std::make_shared<DatabaseHost>(options.connectionString, options.company, options.user);
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
    module_->setCanInsert(true);
    module_->setCanUpdate(true);
    module_->setCanDelete(true);
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
