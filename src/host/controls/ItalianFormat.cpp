#include "ItalianFormat.h"

namespace ItalianFormat {

QString amount(const Decimal& value, int scale) {
    QString digits = value.rounded(scale).toString();
    QString sign;
    if (digits.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        digits.remove(0, 1);
    }
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? digits : digits.left(point);
    QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    fraction = fraction.leftJustified(scale, QLatin1Char('0'));
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, QLatin1Char('.'));
    return sign + whole + (scale > 0 ? QStringLiteral(",") + fraction : QString());
}

QString date(const QDate& value) {
    return value.isValid() ? value.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

}  // namespace ItalianFormat
