#include "ModuleProgram.h"

#include "Cinterface.h"
#include "LogService.h"
#include "PluginRegistry.h"
#include "SiblingHost.h"
#include "StartUp.h"
#include "SuiteError.h"
#include "TechnicalLog.h"

ModuleProgram::ModuleProgram(QString progId, std::shared_ptr<PluginRegistry> modules, ProgramRights rights,
                             std::weak_ptr<HostGlobal> host)
    : progId_(std::move(progId)), modules_(std::move(modules)), rights_(rights), host_(std::move(host)) {}

bool ModuleProgram::knows(const QString& progId) const {
    return progId.compare(progId_, Qt::CaseInsensitive) == 0;
}

bool ModuleProgram::run(const QString& progId, const QVariantList& parameters, HostGlobal& /*host*/,
                        QVariant* handedBack) {
    if (handedBack) *handedBack = QVariant();
    const std::shared_ptr<HostGlobal> owner = host_.lock();
    if (!knows(progId) || !owner || !modules_) return false;
    if (!rights_.query) {
        owner->CreateLogService()->MsgBox(
            QStringLiteral("L'utente %1 non può consultare gli effetti.").arg(owner->User().code),
            LogService::kExclamation, QStringLiteral("Dettaglio effetti"));
        return true;
    }
    std::unique_ptr<Cinterface> module;
    try {
        module = modules_->CreateObject(progId_);
    } catch (const SuiteError& e) {
        TechnicalLog::write(e.source(), e.description());
        return false;
    }
    auto sibling = std::make_shared<SiblingHost>(owner);
    StartUp::handOver(*module, sibling, nullptr, rights_);
    module->setIsCalled(true);
    module->setWindowModal(true);
    // Only properties the module declares: any other would stay a stray dynamic property.
    const std::pair<const char*, QVariant> handed[] = {{"StringaDiSelezioneEffetti", parameters.value(0)},
                                                       {"TipoArchivio", parameters.value(1)}};
    for (const auto& [name, value] : handed)
        if (module->metaObject()->indexOfProperty(name) >= 0) module->setProperty(name, value);
    sibling->SetActiveModule(module.get());
    // Returns when the clerk has closed the form; CloseForm then finds nothing left to ask.
    module->ShowForm();
    module->CloseForm();
    return true;
}
