#pragma once

#include "CodeTable.h"

#include <QList>
#include <QString>

// The code tables of reminders: the block combo of the reminder form and the texts the bill
// form's reminders grid shows for its coded columns.
namespace ReminderCodeTables {

using Row = CodeTable::Row;

QList<Row> blocco();  // EF05_INDBLOC

// The grid's cell text: the seven flags and the block kind described, anything else unchanged.
QString cellText(const QString& field, const QString& text);

}  // namespace ReminderCodeTables
