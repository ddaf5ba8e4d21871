#include "FixedRecord.h"

#include "BankText.h"

FixedRecord& FixedRecord::text(int position, int length, const QString& value) {
    const QByteArray ascii = BankText::ascii(value).left(length).toLatin1();
    bytes_.replace(position - 1, int(ascii.size()), ascii);
    return *this;
}

bool FixedRecord::fits(int length, qint64 value) const {
    return value >= 0 && QByteArray::number(value).size() <= length;
}

FixedRecord& FixedRecord::number(int position, int length, qint64 value) {
    if (!fits(length, value)) return *this;
    const QByteArray digits = QByteArray::number(value).rightJustified(length, '0');
    bytes_.replace(position - 1, length, digits);
    return *this;
}
