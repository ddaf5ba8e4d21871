#pragma once

#include "Decimal.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// What the clerk picks in the calling program, turned into the selection and order texts the
// module receives. Values typed by the clerk are validated (codes) or quoted (accounts): none
// reaches the SQL as code.
struct BillFilter {
    // The list's orders. Each is completed by the key, so that a page starts where the last one
    // ended; every column used is one a Bill always has.
    enum class Sort { Due, Overdue, Amount, BillType, State };

    int tipoArchivio = 0;  // 0 customers, 1 suppliers, 2 and 3 ledger accounts
    QString counterpart;   // customer or supplier code (0, 1); ledger account (2, 3); empty: all
    // The counterparts whose name holds what the clerk typed, found before the search; with
    // `byName` set, only their Bills (none when the list is empty).
    bool byName = false;
    QStringList named;
    QDate dueFrom;  // invalid: open
    QDate dueTo;
    int state = -1;    // -1 any, 0 open, 1 closed
    int billType = 0;  // EF01_TIPOEFF; 0 any
    int bank = 0;      // presentation bank, EF01_BANCAPRE_SCG12; 0 any
    // The amount in euro, exact (from = to) or a range with either end open.
    std::optional<Decimal> amountFrom;
    std::optional<Decimal> amountTo;
    std::optional<qint64> document;    // EF01_NUMDOC
    std::optional<qint64> billNumber;  // EF01_NUMEFF
    Sort sort = Sort::Due;
    bool descending = false;

    // Throws SuiteError with a message for the clerk when a code is not a number or the dates
    // or the amounts are the wrong way round. Numbers enter the text as this program writes
    // them (a Decimal, a whole number), never as the clerk typed them.
    QString selectionText() const;
    QString orderText() const;
};
