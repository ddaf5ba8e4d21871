#pragma once

#include "Decimal.h"
#include "SlipKey.h"

#include <QDate>
#include <QString>
#include <vector>

// A slip as the banks' files tell it, read from the database by SlipReader: who collects, through
// which of the company's banks, and each Bill with its debtor.
struct SlipContent {
    // The company: the creditor.
    struct Creditor {
        QString name;
        QString shortName;
        QString address;
        QString postcode;
        QString town;
        QString province;
        QString taxCode;
        QString siaCode;
        QString cuc;
        QString creditorId;
    };
    // The company's bank the slip is presented to.
    struct Bank {
        int abi = 0;
        int cab = 0;
        QString account;  // the 12 characters of the Italian account number
        QString iban;
        QString bic;
        QString name;
    };
    struct Mandate {
        QString id;
        QDate signedOn;
        bool oneOff = false;
        bool firstDone = false;  // recorded, or an earlier slip already collected on it
    };
    struct Bill {
        // The Bill's key, "company,registration,row,statement,progressive".
        QString key;
        QString registration;
        int progressive = 0;
        QDate due;
        Decimal amount;
        int documentNumber = 0;
        QString documentSection;
        QDate documentDate;
        // The debtor: the Bill's customer.
        int customer = 0;
        QString debtorName;
        QString debtorAddress;
        QString debtorPostcode;
        QString debtorTown;
        QString debtorProvince;
        QString debtorCountry;
        QString debtorTaxCode;
        // The debtor's bank: ABI and CAB (the Bill's own, else the account's), its description,
        // the account's IBAN and the mandate on it.
        int debtorAbi = 0;
        int debtorCab = 0;
        QString debtorBankName;
        QString debtorIban;
        bool hasMandate = false;
        Mandate mandate;

        // "DOC. N. 123/A DEL 15/03/2026": the document the Bill collects, for the debtor.
        QString documentReference() const;
        // "n. reg. 2026000123 eff. 1 (cliente 1040, scadenza 31/05/2026)": the Bill for the clerk.
        QString shown() const;
    };

    SlipKey key;
    QDate created;
    Creditor creditor;
    Bank bank;
    std::vector<Bill> bills;
};
