#pragma once

#include "SuiteError.h"

#include <QString>

// The module's own errors: the automation error base plus n, described by text n of the
// module's string table.
namespace MDLKV_CODICIERR {

enum Code {
    ErroreOggettoCom = 512,
    ConnessioneNonImpostata = 513,
    DittaNonImpostata = 514,
    TipoArchivioNonImpostato = 515,
    CliForNonImpostato = 516,
    ContoNonImpostato = 517,
    InterfacciaNonImpostata = 518,
    PdcNonImpostato = 519,
    ChiaveNumRegNonImpostato = 520,
    ChiaveProgEffNonImpostato = 521,
    ChiaveProgEcNonImpostato = 522,
    ChiaveRigaContNonImpostata = 523,
    LogNonImpostato = 524,
    // Ours: a caller's selection or order text that cannot be one part of the header's read.
    SelezioneNonValida = 525,
    // Ours: the history movement of a save could not be written (in place of 512's words).
    StoricoNonScritto = 526,
};

// Text n of the string table; empty for a number outside it.
QString LoadResString(int n);
// Number of the error raised with code n: 0x80040000 + n.
constexpr qint32 errorNumber(int n) {
    return SuiteError::kAutomationBase + n;
}
// The error the module raises for code n, from `source`.
SuiteError moduleError(int n, const QString& source);

}  // namespace MDLKV_CODICIERR
