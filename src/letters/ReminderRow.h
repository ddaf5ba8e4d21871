#pragma once

#include "Decimal.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

class Connection;
struct BillKey;

// A reminder added to a Bill (a row of EF05_SCADSOLLEC after its last one): the letter it sends,
// its date, the interest it charges and the charges put on the customer. Written inside the
// caller's transaction, the Bill already held by the caller.
struct ReminderRow {
    QString letterCode;
    QDate date;
    std::optional<Decimal> rate;  // interest charged at this rate over the period below
    QDate interestFrom;
    QDate interestTo;
    Decimal interest = Decimal::fromMantissa(0, 2);
    Decimal returnCharges = Decimal::fromMantissa(0, 2);  // the bank's charges on an unpaid Bill
    Decimal postage = Decimal::fromMantissa(0, 2);        // the letter's own cost
    // The history movement the reminder follows (EF05_PROGSTO); the reminder's own progressive
    // when it follows none.
    std::optional<int> movement;

    // Adds the row to the Bill `key`; answers its progressive.
    int add(const std::shared_ptr<Connection>& connection, const BillKey& key) const;
};
