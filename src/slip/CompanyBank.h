#pragma once

#include <QList>
#include <QString>
#include <memory>

class Connection;

// A bank of the company (EF08_BANCHEAZ), with its ABI and CAB decoded from the banks and
// agencies archives: the bank a slip is presented to.
struct CompanyBank {
    int progressive = 0;  // EF08_PROGR
    QString description;
    int abi = 0;  // 0: the archive names none
    int cab = 0;
    QString bankName;    // CG12_DESCR
    QString agencyName;  // CG13_DESCR
    QString iban;

    // "Banca Alfa - ABI 03069 CAB 01600 (Intesa Sanpaolo, Milano centro)".
    QString shown() const;

    // The company's banks, by progressive.
    static QList<CompanyBank> of(const std::shared_ptr<Connection>& connection, qint32 company);
};
