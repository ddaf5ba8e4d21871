#pragma once

#include <QList>
#include <QString>

// The bill types (EF01_TIPOEFF), named once for the database's checks, the bill form's combo,
// the bill lookups and the calling program's list.
namespace BillTypes {

struct Type {
    int code;
    QString comboText;     // as the bill form's combo lists it, leading and trailing blanks included
    QString abbreviation;  // as the bill lookups show it ("Rb", "Mav"...)
};

const QList<Type>& all();
// The name as a list shows it (no blanks); the code itself when it is not a type.
QString name(int code);
// Empty when the code is not a type.
QString abbreviation(int code);

}  // namespace BillTypes
