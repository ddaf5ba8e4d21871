#include "BillCodeTables.h"

#include "BillTypes.h"

namespace BillCodeTables {

namespace {
QList<Row> rows(std::initializer_list<const char*> descriptions, int first = 0) {
    QList<Row> out;
    int code = first;
    for (const char* d : descriptions) out.append({code++, QString::fromUtf8(d)});
    return out;
}
}  // namespace

QList<Row> tipoEffetto() {
    QList<Row> out;
    for (const BillTypes::Type& t : BillTypes::all()) out.append({t.code, t.comboText});
    return out;
}

QList<Row> speseRitorno() {
    return rows({" Nessun addebito", " Solo annotate", " Sommate", " Nuovo effetto"});
}

QList<Row> statoEffetto() {
    return rows({" Aperto", " Chiuso"});
}

QList<Row> presentazione() {
    return rows({" Non soggetto", " In portafoglio", " S.b.f. ordinario", " S.b.f. a maturazione valuta",
                 " S.b.f. anticipato", " Dopo incasso", " Allo sconto", " Altre presentazioni",
                 " Sconto fatture", " Cessione a factoring"});
}

QList<Row> tipoMovimento() {
    return rows({" Consolidato", " Da consolidare", " Previsionale", " Previsionale per simulaz.",
                 " Previsionale per cash flow"});
}

QList<Row> accettazione() {
    return rows({"Non applicabile", "Accettato", "Non accettato"});
}

QList<Row> generazioneStato() {
    return rows(
        {" Creazione", " Pag./Risc.", " Chiusura", " Insoluto", " Raggrupp.", " Riemesso", " Richiamato"});
}

QList<Row> liquidazioneProvvigioni() {
    return rows({" Liquidabile", " Liquidabile se tot. incassato", " Sospesa"});
}

QList<Row> merceArt62() {
    return rows({" Non soggetta", " Deperibile", " Non deperibile"});
}

QList<Row> tipoCliFor(bool ticked) {
    if (ticked) return rows({" Cliente", " Fornitore"});
    return {{-1, QStringLiteral(" ")}};
}

QString abbreviazioneTipoEffetto(int code) {
    return BillTypes::abbreviation(code);
}

}  // namespace BillCodeTables
