#include "SlipKey.h"

#include "SlipKinds.h"
#include "SuiteError.h"

#include <QRegularExpression>
#include <QStringList>

SlipKey SlipKey::parse(qint32 company, const QString& text, const QString& source) {
    // Written KIND/YEAR/NUMBER or KIND,YEAR,NUMBER: the clerk's slash, a script's comma.
    const QStringList parts = text.trimmed().split(QRegularExpression(QStringLiteral("[/,]")));
    SlipKey key;
    key.company = company;
    bool ok = parts.size() == 3;
    int* targets[] = {&key.kind, &key.year, &key.number};
    for (int i = 0; ok && i < 3; ++i) *targets[i] = parts.at(i).trimmed().toInt(&ok);
    if (!ok)
        throw SuiteError(SuiteError::kTypeMismatch, source,
                         QStringLiteral("La distinta \"%1\" non è valida: servono tipo, anno e numero "
                                        "(ad esempio 0/2026/3: tipo 0 Ri.Ba., 1 RID/SDD).")
                             .arg(text));
    return key;
}

QString SlipKey::shown() const {
    return QStringLiteral("%1 %2/%3").arg(SlipKinds::name(kind)).arg(year).arg(number);
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

QString SlipKey::link(const QString& alias) const {
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

QString SlipKey::movementLink() const {
    return QStringLiteral("EF06_INDTIPOPER = 3 AND ") + link();
}
