#pragma once

#include "Decimal.h"
#include "SlipKey.h"

#include <QDate>
#include <optional>

// An unpaid Bill of a slip as the clerk (or the bank's status report) gives it.
struct UnpaidRequest {
    SlipKey slip;
    QString bill;  // the Bill's key text
    QDate date;    // when the bank gave it back
    Decimal bankCharges = Decimal::fromMantissa(0, 2);
    // How the return charges are handled (EF01_INDSPERIT_S): 0 " Nessun addebito", 1 " Solo annotate
    // sull'effetto", 2 " Sommate all'importo dell'effetto", 3 " Creazione di un nuovo effetto".
    int chargesMode = 0;
    std::optional<Decimal> customerCharges;  // put on the customer
    bool reminder = false;                   // a first-level reminder row for the letters
    QString reason;                          // the bank's reason code (KV23), when given
    QString reportId;                        // the status report that brought it
};
