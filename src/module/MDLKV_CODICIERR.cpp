#include "MDLKV_CODICIERR.h"

#include <QHash>

namespace MDLKV_CODICIERR {

QString LoadResString(int n) {
    static const QHash<int, QString> table = {
        {512, QStringLiteral("Errore sollevato da oggetto COM")},
        {513, QStringLiteral("Connessione non impostata")},
        {514, QStringLiteral("Codice ditta non impostato")},
        {515, QStringLiteral("Tipo archivio Cli./Forn. non impostato")},
        {516, QStringLiteral("Codice Cliente / Fornitore non impostato")},
        {517, QStringLiteral("Codice conto contabile non impostato")},
        {518, QStringLiteral("Interfaccia attiva non impostata")},
        {519, QStringLiteral("Codice PDC non impostato")},
        {520, QStringLiteral("Chiave effetto: numero di registrazione contabile non impostato")},
        {521, QStringLiteral("Chiave effetto: progressivo effetto non impostato")},
        {522, QStringLiteral("Chiave effetto: progressivo estratto conto non impostato")},
        {523, QStringLiteral("Chiave effetto: numero di riga contabile non impostato")},
        {524, QStringLiteral("Server di log non impostato")},
        {525, QStringLiteral("Stringa di selezione o di ordinamento degli effetti non valida")},
        {526, QStringLiteral("Il movimento di storico dell'effetto non è stato registrato: il salvataggio è "
                             "annullato e le modifiche restano da salvare.")},
    };
    return table.value(n);
}

SuiteError moduleError(int n, const QString& source) {
    return SuiteError(errorNumber(n), source, LoadResString(n));
}

}  // namespace MDLKV_CODICIERR
