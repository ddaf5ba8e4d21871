#include "SlipKey.h"

#include "SuiteError.h"

#include <QStringList>

SlipKey SlipKey::parse(qint32 company, const QString& text, const QString& source) {
    const QStringList parts = text.split(QLatin1Char(','));
    SlipKey key;
    key.company = company;
    bool ok = parts.size() == 3;
    if (ok) key.kind = parts.at(0).trimmed().toInt(&ok);
    if (ok) key.year = parts.at(1).trimmed().toInt(&ok);
    if (ok) key.number = parts.at(2).trimmed().toInt(&ok);
    if (!ok)
        throw SuiteError(SuiteError::kTypeMismatch, source,
                         QStringLiteral("Distinta \"%1\" non valida: indicare tipo, anno e numero "
                                        "separati da virgole (es. 1,2026,7).")
                             .arg(text));
    return key;
}

QString SlipKey::kindName(int kind) {
    static const QStringList names = {QStringLiteral("Riba"),
                                      QStringLiteral("Rid"),
                                      QStringLiteral("Mav"),
                                      QStringLiteral("Sconto fatture"),
                                      QStringLiteral("Cessione a factoring"),
                                      QStringLiteral("Distinta multipla"),
                                      QStringLiteral("LCR (Generico)"),
                                      QStringLiteral("IEF (Generico)"),
                                      QStringLiteral("Lastschrift (Generico)"),
                                      QStringLiteral("Unicredit (Export Manager)")};
    if (kind >= 0 && kind < names.size()) return names.at(kind);
    if (kind == 21) return QStringLiteral("Distinta francese LCR-BOR");
    return QString::number(kind);
}

QString SlipKey::text() const {
    return QStringLiteral("%1 %2/%3").arg(kindName(kind)).arg(year).arg(number);
}

QString SlipKey::movementLink(const QString& alias) const {
    const QString a = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    return QStringLiteral(
               "%1EF06_DITTA_EF09 = %2 AND %1EF06_INDTIPODIST_EF09 = %3 AND %1EF06_ANNO_EF09 = %4 AND "
               "%1EF06_NUMDIST_EF09 = %5")
        .arg(a)
        .arg(company)
        .arg(kind)
        .arg(year)
        .arg(number);
}

QString SlipKey::where(const QString& prefix) const {
    return QStringLiteral(
               " WHERE %1DITTA_CG18 = %2 AND %1INDTIPODIST = %3 AND %1ANNO = %4 AND %1NUMDIST = %5")
        .arg(prefix)
        .arg(company)
        .arg(kind)
        .arg(year)
        .arg(number);
}
