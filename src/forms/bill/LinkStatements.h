#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

struct CompanyParameters;

// The texts behind a received or endorsed bill's link: the search of the linked Bill by its
// number, the search list of the counterpart's bills, and the decode of the counterpart's name.
// Every value goes in as a validated number or through SqlText::quote.
namespace LinkStatements {

// The Bill a number names, for a counterpart type (0 customer, 1 supplier) of the company: only a
// Bill of the company's own registry, kept on the type's control account.
struct Search {
    qint32 company = 0;
    int type = 0;
    qint32 ledgerGroup = 0;
    QString customerAccount;
    QString supplierAccount;
    qint64 number = 0;
};
QString findBill(const Search& search);

// The lines of the bill type's CASE in the search list: the short forms for the received bill,
// the catalogue's labels (`label` by bill type) for the endorsed one.
QStringList receivedTypeLines();
QStringList endorsedTypeLines(const std::function<QString(int billType)>& label);
// The bills of the counterpart type whose counterpart has a registry record valid at the bill's
// document date.
QString lookup(qint32 company, int type, const QStringList& typeLines);

// The counterpart's name as its registry read at `date`.
QString counterpartName(qint32 company, int type, qint64 code, const QDate& date);

// The counterpart type a linked Bill stands for, from its type and ledger account as read:
// 0 or 1 when the account is the company's control account of that type, otherwise -1.
int linkedType(const QString& type, const QString& ledgerGroup, const QString& account,
               const CompanyParameters& parameters);

// A number as typed into a number field: digits only, within the 32-bit columns that keep it.
bool isBillNumber(const QString& typed, qint64* number = nullptr);

}  // namespace LinkStatements
