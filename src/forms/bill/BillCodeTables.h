#pragma once

#include <QList>
#include <QString>

// The code tables of the bill form's combos: codes with their descriptions as the clerk reads
// them (leading and trailing blanks are part of the descriptions).
namespace BillCodeTables {

struct Row {
    int code;
    QString description;
};

QList<Row> tipoEffetto();              // EF01_TIPOEFF
QList<Row> speseRitorno();             // EF01_INDSPERIT_S
QList<Row> statoEffetto();             // EF01_INDSTATO_S
QList<Row> presentazione();            // EF01_INDPRES_S
QList<Row> tipoMovimento();            // EF01_INDTIPOMOV
QList<Row> accettazione();             // EF01_ACCETTAZIONE
QList<Row> generazioneStato();         // EF01_INDGENSTATO_S
QList<Row> liquidazioneProvvigioni();  // EF01_INDLIQPROV
QList<Row> merceArt62();               // EF01_INDMERCEART62
// The counterpart type of a received or endorsed bill: customer and supplier when the side's
// check box is ticked, a single blank row (code -1) otherwise.
QList<Row> tipoCliFor(bool ticked);

// The short form of a bill type, as the bill lookups show it ("Rb", "Mav"...); empty if unknown.
QString abbreviazioneTipoEffetto(int code);

}  // namespace BillCodeTables
