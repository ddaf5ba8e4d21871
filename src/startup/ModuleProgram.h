#pragma once

#include "ProgramLauncher.h"
#include "ProgramRights.h"

#include <memory>

class HostGlobal;
class PluginRegistry;

// A module of the suite run as a sibling program (another bill form on the Bill of a history
// movement's charges): created through the plugin registry as the host creates it at start-up,
// handed the signed-in user's rights, shown modally on the rows the caller selects (the first
// parameter, the selection; the second, when given, the archive type) and released when the
// clerk closes it, back in the form that opened it. It works on a host of its own (SiblingHost):
// the opener's active module, layout and script stay the opener's.
class ModuleProgram : public ProgramLauncher {
public:
    ModuleProgram(QString progId, std::shared_ptr<PluginRegistry> modules, ProgramRights rights,
                  std::weak_ptr<HostGlobal> host);

    bool knows(const QString& progId) const override;
    bool run(const QString& progId, const QVariantList& parameters, HostGlobal& host,
             QVariant* handedBack) override;

private:
    QString progId_;
    std::shared_ptr<PluginRegistry> modules_;
    ProgramRights rights_;
    std::weak_ptr<HostGlobal> host_;
};
