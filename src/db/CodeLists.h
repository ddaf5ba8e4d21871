#pragma once

#include <QList>
#include <QString>

// The codes each coded column of the bills may hold (the forms show them through their code
// tables). The demo generator draws from these lists and the consistency checks test them.
namespace CodeLists {

struct CodedColumn {
    QString table;
    QString column;
    QList<int> codes;
};

// Bill types: 1 to 16, then 99 ("Solo descrittivo"); 17 to 98 do not exist.
QList<int> tipoEffetto();
// History movement types 0 to 16; 0 is the manual variation.
QList<int> tipoOperazione();
// Kinds of presentation distinta: 0 to 9 and 21.
QList<int> tipoDistinta();

// Every coded column of the database with its codes, flags (0, 1) included.
const QList<CodedColumn>& all();
// The codes of one column (case-insensitive); empty when the column is not coded.
QList<int> codesOf(const QString& column);

}  // namespace CodeLists
