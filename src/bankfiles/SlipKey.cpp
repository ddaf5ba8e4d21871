#include "SlipKey.h"

#include "SuiteError.h"

#include <QStringList>

SlipKey SlipKey::parse(qint32 company, const QString& text) {
    const QStringList parts = text.trimmed().split(u'/');
    SlipKey key;
    key.company = company;
    bool ok = parts.size() == 3;
    for (int i = 0; ok && i < 3; ++i) {
        const int value = parts[i].trimmed().toInt(&ok);
        if (ok && value < 0) ok = false;
        (i == 0 ? key.kind : i == 1 ? key.year : key.number) = value;
    }
    if (!ok)
        throw SuiteError(
            SuiteError::kOperationNotAllowed, QStringLiteral("SlipKey"),
            QStringLiteral("La distinta \"%1\" non è indicata come TIPO/ANNO/NUMERO (per esempio "
                           "0/2026/4: tipo 0 Ri.Ba., 1 RID/SDD).")
                .arg(text));
    return key;
}

QString SlipKey::shown() const {
    const QString kindName = kind == kRiba          ? QStringLiteral("Ri.Ba.")
                             : kind == kDirectDebit ? QStringLiteral("RID/SDD")
                                                    : QStringLiteral("di tipo %1").arg(kind);
    return QStringLiteral("%1 n. %2/%3").arg(kindName).arg(number).arg(year);
}
