#include "Iban.h"

namespace {

// The remainder modulo 97 of the number a text stands for, letters counting 10 to 35.
int mod97(const QString& text) {
    int rest = 0;
    for (QChar ch : text) {
        const int v = ch.isDigit() ? ch.digitValue() : ch.toUpper().unicode() - 'A' + 10;
        rest = v >= 10 ? (rest * 100 + v) % 97 : (rest * 10 + v) % 97;
    }
    return rest;
}

// The Italian CIN: odd and even positions of ABI+CAB+account weighed by two fixed tables.
QChar cin(const QString& rest) {
    static const int odd[] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                              20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    int sum = 0;
    for (int i = 0; i < rest.size(); ++i) {
        const QChar ch = rest[i];
        const int v = ch.isDigit() ? ch.digitValue() : ch.toUpper().unicode() - 'A';
        sum += (i % 2 == 0) ? odd[v] : v;
    }
    return QChar('A' + sum % 26);
}

}  // namespace

QString Iban::make(const QString& country, const QString& bban) {
    const int check = 98 - mod97(bban + country + QStringLiteral("00"));
    return country + QStringLiteral("%1").arg(check, 2, 10, QLatin1Char('0')) + bban;
}

bool Iban::valid(const QString& iban) {
    if (iban.size() < 5) return false;
    return mod97(iban.mid(4) + iban.left(4)) == 1;
}

QString Iban::italianBban(int abi, int cab, const QString& account) {
    const QString rest = QStringLiteral("%1%2%3")
                             .arg(abi, 5, 10, QLatin1Char('0'))
                             .arg(cab, 5, 10, QLatin1Char('0'))
                             .arg(account.rightJustified(12, QLatin1Char('0')));
    return cin(rest) + rest;
}
