#pragma once

#include "ProgramLauncher.h"

#include <QList>
#include <memory>

// Several launchers as one: a program runs through the first that knows it.
class ProgramLaunchers : public ProgramLauncher {
public:
    void add(std::shared_ptr<ProgramLauncher> launcher) { launchers_.append(std::move(launcher)); }

    bool knows(const QString& progId) const override { return find(progId) != nullptr; }
    bool run(const QString& progId, const QVariantList& parameters, HostGlobal& host,
             QVariant* handedBack) override {
        ProgramLauncher* launcher = find(progId);
        return launcher && launcher->run(progId, parameters, host, handedBack);
    }

private:
    ProgramLauncher* find(const QString& progId) const {
        for (const auto& l : launchers_)
            if (l->knows(progId)) return l.get();
        return nullptr;
    }
    QList<std::shared_ptr<ProgramLauncher>> launchers_;
};
