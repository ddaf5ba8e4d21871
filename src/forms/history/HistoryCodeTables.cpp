#include "HistoryCodeTables.h"

namespace HistoryCodeTables {

QList<Row> tipoOperazione() {
    return {{0, QStringLiteral(" Variazione manuale")},
            {1, QStringLiteral(" Pagamento/Riscossione")},
            {2, QStringLiteral(" Chiusura effetti")},
            {3, QStringLiteral(" Presentazione effetti")},
            {4, QStringLiteral(" Insoluto")},
            {5, QStringLiteral(" Raggruppamento")},
            {6, QStringLiteral(" Riemissione")},
            {7, QStringLiteral(" Girata")},
            {8, QStringLiteral(" Storno chiusura eff.")},
            {9, QStringLiteral(" Adeguamento valutario")},
            {10, QStringLiteral(" Richiamato")},
            {11, QStringLiteral(" Incasso buon fine")},
            {12, QStringLiteral(" Frazionamento scadenza")},
            {13, QStringLiteral(" Rilevazione assegno")},
            {14, QStringLiteral(" Perdite su crediti")},
            {15, QStringLiteral(" Spese esiti")},
            {16, QStringLiteral(" Pag./Risc. split payment")}};
}

QList<Row> generazioneStato() {
    return {{0, QStringLiteral(" Creazione iniziale")}, {1, QStringLiteral(" Pagamento/Riscossione")},
            {2, QStringLiteral(" Chiusura effetti")},   {3, QStringLiteral(" Insoluto")},
            {4, QStringLiteral(" Raggruppato")},        {5, QStringLiteral(" Riemissione")},
            {6, QStringLiteral(" Richiamato")}};
}

QList<Row> statoEffetto() {
    return {{0, QStringLiteral(" Aperto")}, {1, QStringLiteral(" Chiuso")}};
}

QList<Row> presentazione() {
    return {{0, QStringLiteral(" Non soggetto")},   {1, QStringLiteral(" In portafoglio")},
            {2, QStringLiteral(" Sbf ordinario")},  {3, QStringLiteral(" Sbf a maturazione valuta")},
            {4, QStringLiteral(" Sbf anticipato")}, {5, QStringLiteral(" Dopo incasso")},
            {6, QStringLiteral(" Allo sconto")},    {7, QStringLiteral(" Altre presentazioni")},
            {8, QStringLiteral(" Sconto fatture")}, {9, QStringLiteral(" Cessione a factoring")}};
}

QList<Row> speseRitorno() {
    return {{0, QStringLiteral(" Nessun addebito")},
            {1, QStringLiteral(" Solo annotate sull'effetto")},
            {2, QStringLiteral(" Sommate all'importo dell'effetto")},
            {3, QStringLiteral(" Creazione di un nuovo effetto")}};
}

QList<Row> tipoDistinta(bool withBlank) {
    QList<Row> rows;
    if (withBlank) rows.append({-1, QStringLiteral(" ")});
    rows += {{0, QStringLiteral(" Riba")},
             {1, QStringLiteral(" Rid")},
             {2, QStringLiteral(" Mav")},
             {3, QStringLiteral(" Sconto fatture")},
             {4, QStringLiteral(" Cessione a factoring")},
             {5, QStringLiteral(" Distinta multipla")},
             {6, QStringLiteral(" LCR (Generico)")},
             {7, QStringLiteral(" IEF (Generico)")},
             {8, QStringLiteral(" Lastschrift (Generico)")},
             {9, QStringLiteral(" Unicredit (Export Manager)")},
             {21, QStringLiteral("Distinta francese LCR-BOR")}};
    return rows;
}

QList<Row> ordineBonifico(bool withBlank) {
    QList<Row> rows;
    if (withBlank) rows.append({-1, QStringLiteral(" ")});
    rows += {{0, QStringLiteral(" Ordine di pagamento")}, {1, QStringLiteral(" Bonifico bancario")}};
    return rows;
}

QString cellText(const QString& field, const QString& text) {
    static const struct {
        const char* field;
        QList<Row> rows;
    } columns[] = {
        {"EF06_INDTIPOPER", tipoOperazione()},
        {"EF06_INDGENSTATO_S", generazioneStato()},
        {"EF06_INDSPERIT_S", speseRitorno()},
        {"EF06_INDSTATO_S", statoEffetto()},
        {"EF06_INDPRES_S", presentazione()},
        {"EF06_INDTIPODIST_EF09", tipoDistinta(false)},
        {"EF06_INDORDPBONIF_EF10", ordineBonifico(false)},
        {"EF06_FLGSTEFF_S", CodeTable::flags()},
        {"EF06_FLGGIRATO_S", CodeTable::flags()},
        {"EF06_FLGRICEVUTO_S", CodeTable::flags()},
        {"EF06_FLGINCASSOBF_S", CodeTable::flags()},
        {"EF06_BONFLGCONF", CodeTable::flags()},
    };
    for (const auto& c : columns)
        if (field.compare(QLatin1String(c.field), Qt::CaseInsensitive) == 0)
            return CodeTable::describe(c.rows, text);
    return text;
}

}  // namespace HistoryCodeTables
