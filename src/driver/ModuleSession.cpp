#include "ModuleSession.h"

#include "AttachmentDesk.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "DriverNavigator.h"
#include "PluginRegistry.h"
#include "ScriptedLogService.h"
#include "StartUp.h"
#include "SuiteError.h"

ModuleSession::ModuleSession(const Options& options) : log_(std::make_shared<ScriptedLogService>()) {
    std::optional<DemoGenerator::Options> demo;
    if (options.demo) demo = DemoGenerator::Options{};
    StartUp::prepare(options.connectionString, demo);
    const SignIn signIn = StartUp::signIn();
    const SignIn::Session signedIn =
        options.trusted ? signIn.trusted(options.connectionString, options.user)
                        : signIn.signIn(options.connectionString, options.user, options.password);
    rights_ = signedIn.rights();
    StartUp::Desk desk = StartUp::open(signedIn, options.company);
    connection_ = std::move(desk.connection);
    host_ = std::move(desk.host);
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
    registry_ = std::make_shared<PluginRegistry>(registryDir_.filePath(QStringLiteral("moduli.json")));
    registry_->Register(QString::fromLatin1(kProgId), options.pluginLibrary);
    StartUp::givePrograms(host_, registry_, rights_);
    module_ = registry_->CreateObject(QString::fromLatin1(kProgId));
    // What the host application hands every module it opens.
    StartUp::handOver(*module_, host_, navigator_.get(), rights_);
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
