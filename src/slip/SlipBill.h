#pragma once

#include "BillKey.h"
#include "Decimal.h"

#include <QDate>
#include <QString>

// A Bill as the slip's clerk was shown it: what names it, and the values its presentation
// checks again when it writes (a colleague's change since then refuses the slip).
struct SlipBill {
    BillKey key;
    int number = 0;  // EF01_NUMEFF
    QString customer;
    QDate due;
    Decimal amount;
    int presentation = 0;  // EF01_INDPRES_S as read
    int lastMovement = 0;  // the highest EF06_PROGSTO of its history as read (0: none)
    QString document;      // number and date of the document, as shown

    // "L'effetto n. 12 (registrazione 2026/000123)": how a message names it.
    QString named() const;
};
