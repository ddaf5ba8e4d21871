#pragma once

#include "CodeTable.h"

#include <QList>
#include <QString>

// The code tables of history movements: the combos of the history movement form and the texts
// the bill form's history grid shows for the coded columns (descriptions exact, leading blank
// included).
namespace HistoryCodeTables {

using Row = CodeTable::Row;

QList<Row> tipoOperazione();    // EF06_INDTIPOPER
QList<Row> generazioneStato();  // EF06_INDGENSTATO_S
QList<Row> statoEffetto();      // EF06_INDSTATO_S
QList<Row> presentazione();     // EF06_INDPRES_S
QList<Row> speseRitorno();      // EF06_INDSPERIT_S
// EF06_INDTIPODIST_EF09 and EF06_INDORDPBONIF_EF10; the combos start with the blank entry
// (code -1, a single blank), the grid knows only the codes.
QList<Row> tipoDistinta(bool withBlank);
QList<Row> ordineBonifico(bool withBlank);

// The grid's cell text of a coded column or flag: the code's description when the text is one
// of the column's codes (an empty or non-numeric text counts as 0); any other text unchanged.
QString cellText(const QString& field, const QString& text);

}  // namespace HistoryCodeTables
