#pragma once

#include <QString>

// International bank account numbers with correct check digits (ISO 13616, modulo 97).
namespace Iban {

// The IBAN of country `country` (two letters) for the basic bank account number `bban`.
QString make(const QString& country, const QString& bban);
// True when the check digits of `iban` are right.
bool valid(const QString& iban);
// The Italian (and San Marino) BBAN: CIN letter, ABI, CAB and a 12-character account.
QString italianBban(int abi, int cab, const QString& account);

}  // namespace Iban
