#pragma once

#include "ChildQueries.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

struct TableDef;

// The statements the bill form's save and deletion run, built from the Bill's key and values;
// every text value goes in through SqlText::quote.
namespace BillStatements {

using Key = ChildQueries::Key;

// The Bill's row of EF01_SCADENZE.
QString billCondition(const Key& key);

// The document register row of a new Bill, written only when the register lacks it, and the
// read of the operation type it then has.
struct Registration {
    qint32 company = 0;
    QString numReg;
    QDate created;
    QString userGroup;
    QString userCode;
};
QString registerDocument(const Registration& r);
QString registeredOperationType(qint32 company, const QString& numReg);

// Takes the Bill's row for the save's transaction: it touches the row (holding it against any
// other writer until the commit) and affects no row when another user has deleted the Bill.
QString claimBill(const Key& key);
QString storedBill(const Key& key);
// No row, every column of the Bills' table: the shape of a copy of a Bill's row.
QString billShape();

// The next history progressive of the Bill: the highest one plus one, 1 for the first.
QString nextHistoryProgressive(const Key& key);

// An amount as SQL takes it: decimal point, no grouping; what is not a number is 0.
QString decimalDB(const QVariant& value);

// The Bill's manual variations and due-date splits (movement types 0 and 12); the bill form's
// grid reads without locks, the history movement form without the hint.
QString countManualMovements(const Key& key, bool noLock);

// The movement being undone, a column of its row by name.
using MovementValue = std::function<QVariant(const QString& column)>;
// Writes the snapshot of the movement being undone back into its Bill: empty values as NULL,
// amounts through decimalDB; a due-date split (type 12) gives back the original amounts too; the
// Bill's changed mark goes when the movement is its only manual or split one.
QString restoreFromHistory(qint32 company, const MovementValue& movement, bool onlyManualMovement);
// The movement's snapshot columns, among those the undo puts back, that are empty where the
// Bill's table requires a value: such a movement cannot be undone.
QStringList missingForRestore(const MovementValue& movement, const TableDef& bills);

// Every row of the Bill, child tables first, as one batch.
QString deleteBill(const Key& key);

}  // namespace BillStatements
