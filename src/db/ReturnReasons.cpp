#include "ReturnReasons.h"

#include "Connection.h"
#include "SqlText.h"

#include <QSet>

const QList<ReturnReasons::Reason>& ReturnReasons::all() {
    static const QList<Reason> reasons = {
        {"AC01", "Coordinate bancarie (IBAN) del debitore errate"},
        {"AC04", "Conto del debitore estinto"},
        {"AC06", "Conto del debitore bloccato"},
        {"AC13", "Tipo di conto del debitore non valido"},
        {"AG01", "Operazione non consentita sul conto del debitore"},
        {"AG02", "Codice operazione o formato non valido"},
        {"AM04", "Fondi insufficienti"},
        {"AM05", "Addebito duplicato"},
        {"BE01", "Il debitore non corrisponde al titolare del conto"},
        {"BE05", "Creditore non riconosciuto"},
        {"CNOR", "Banca del creditore non raggiungibile"},
        {"CUST", "Rifiutato dal debitore"},
        {"DNOR", "Banca del debitore non raggiungibile"},
        {"ED05", "Regolamento non riuscito"},
        {"FF01", "Formato del file non valido"},
        {"FF05", "Tipo di addebito diretto non valido"},
        {"MD01", "Mandato assente o revocato"},
        {"MD02", "Dati del mandato mancanti o errati"},
        {"MD06", "Rimborso richiesto dal debitore"},
        {"MD07", "Debitore deceduto"},
        {"MS02", "Rifiutato dal debitore"},
        {"MS03", "Motivo non specificato dalla banca"},
        {"RC01", "Codice BIC errato"},
        {"RR01", "Dati del conto del debitore mancanti (motivi regolamentari)"},
        {"RR02", "Nome o indirizzo del debitore mancanti"},
        {"RR03", "Nome o indirizzo del creditore mancanti"},
        {"RR04", "Motivi regolamentari"},
        {"SL01", "Servizio specifico della banca del debitore"},
        {"TM01", "Ricevuto oltre l'orario limite"},
    };
    return reasons;
}

void ReturnReasons::install(Connection& connection) {
    QSet<QString> present;
    const auto found = connection.Query(QStringLiteral("SELECT KV23_CODICE FROM KV23_CAUSALIESITO"));
    if (!found.empty())
        for (const auto& row : found.front().rows) present.insert(row.value(0).toString().trimmed());
    for (const Reason& r : all())
        if (!present.contains(QString::fromLatin1(r.code)))
            connection.Execute(
                QStringLiteral("INSERT INTO KV23_CAUSALIESITO (KV23_CODICE, KV23_DESCR) VALUES (%1, %2)")
                    .arg(SqlText::quote(QString::fromLatin1(r.code)),
                         SqlText::quote(QString::fromUtf8(r.description))));
}
