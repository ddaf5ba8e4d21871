#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class HostGlobal;

// Runs the suite's sibling programs by their program id ("KVUO_PARAMBANCHE.CLSKV_PARAMBANCHE"):
// the host holds one and answers RunProgram through it. A program runs modally and may hand a
// value back (the code the user chose).
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    // Whether `progId` is one of the programs this launcher runs.
    virtual bool knows(const QString& progId) const = 0;
    // Runs `progId` for `host` with `parameters`; returns when the user closes it. `handedBack`
    // (when given) receives the value the program sent back, Null when none.
    virtual bool run(const QString& progId, const QVariantList& parameters, HostGlobal& host,
                     QVariant* handedBack) = 0;
};
