#pragma once

#include <QList>
#include <QString>

// The columns of the bill form's history and reminder grids: field, caption, kind (1 text,
// 4 date, 12 numeric), width in twips and display format.
namespace BillGridLayouts {

struct Column {
    const char* field;
    const char* caption;
    int kind;
    int width;
    const char* format;
};

const QList<Column>& storico();
const QList<Column>& solleciti();

}  // namespace BillGridLayouts
