#pragma once

#include "CurrencyTable.h"
#include "Decimal.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>

// The current company and the parameters the forms read from it.
struct CompanyParameters {
    qint32 ledgerGroup = 0;         // ledger group of the customer and supplier control accounts
    QString customerAccount;        // customer control account
    QString supplierAccount;        // supplier control account
    bool sectionsInUse = false;     // document sections in use
    QDate sectionsStart;            // from this date on
    bool referenceDateSet = false;  // the company works on a reference date of its own
    QDate referenceDate;
    CurrencyTable currencies;  // the currency service: fixed rates and digits of CG08_TABVALUTE
};

struct CompanyContext {
    qint32 company = 0;
    CompanyParameters parameters;

    std::optional<Decimal> fixedRate(const QString& currency) const {
        return parameters.currencies.fixedRate(currency);
    }
};

// The logged-in user.
struct LoggedUser {
    QString code;
    QString group;
    bool privileged = false;  // lifts the restrictions on bills and movements of other procedures
};
