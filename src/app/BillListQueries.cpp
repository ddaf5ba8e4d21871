#include "BillListQueries.h"

#include "SqlText.h"

#include <QStringList>

namespace BillListQueries {

QString names(qint32 company, int tipoArchivio, qint32 ledgerGroup, const QStringList& codes) {
    QStringList list;
    if (tipoArchivio <= 1) {
        // Codes come from the database as numbers; anything else is left out, not quoted.
        for (const QString& c : codes) {
            bool ok = false;
            const qint64 n = c.toLongLong(&ok);
            if (ok) list << QString::number(n);
        }
        if (list.isEmpty()) list << QStringLiteral("NULL");
        return QStringLiteral(
                   "SELECT CG44_CLIFOR, CG16_RAGSOANAG FROM CG44_CLIFOR WITH (NOLOCK)"
                   " INNER JOIN CG16_ANAGGEN WITH (NOLOCK) ON CG16_CODICE = CG44_ANAGEN_CG16"
                   " WHERE CG44_DITTA_CG18 = %1 AND CG44_TIPOCF = %2 AND CG44_CLIFOR IN (%3)")
            .arg(company)
            .arg(tipoArchivio)
            .arg(list.join(QStringLiteral(", ")));
    }
    for (const QString& c : codes) list << SqlText::quote(c);
    if (list.isEmpty()) list << QStringLiteral("NULL");
    return QStringLiteral(
               "SELECT CG24_CONTO, CG24_DESCR FROM CG24_TABPDC WITH (NOLOCK)"
               " WHERE CG24_GRUPPO_CG10 = %1 AND CG24_INDTIPOCONTO = %2 AND CG24_CONTO IN (%3)")
        .arg(ledgerGroup)
        .arg(tipoArchivio == 2 ? 0 : 1)
        .arg(list.join(QStringLiteral(", ")));
}

QString codesByName(qint32 company, int tipoArchivio, qint32 ledgerGroup, const QString& text) {
    QString pattern = text.trimmed().toUpper();
    pattern.replace(QLatin1Char('!'), QStringLiteral("!!"))
        .replace(QLatin1Char('%'), QStringLiteral("!%"))
        .replace(QLatin1Char('_'), QStringLiteral("!_"));
    const QString like =
        SqlText::quote(QLatin1Char('%') + pattern + QLatin1Char('%')) + QStringLiteral(" ESCAPE '!'");
    if (tipoArchivio <= 1)
        return QStringLiteral(
                   "SELECT CG44_CLIFOR FROM CG44_CLIFOR WITH (NOLOCK)"
                   " INNER JOIN CG16_ANAGGEN WITH (NOLOCK) ON CG16_CODICE = CG44_ANAGEN_CG16"
                   " WHERE CG44_DITTA_CG18 = %1 AND CG44_TIPOCF = %2 AND UPPER(CG16_RAGSOANAG) LIKE %3"
                   " ORDER BY CG44_CLIFOR")
            .arg(company)
            .arg(tipoArchivio)
            .arg(like);
    return QStringLiteral(
               "SELECT CG24_CONTO FROM CG24_TABPDC WITH (NOLOCK)"
               " WHERE CG24_GRUPPO_CG10 = %1 AND CG24_INDTIPOCONTO = %2 AND UPPER(CG24_DESCR) LIKE %3"
               " ORDER BY CG24_CONTO")
        .arg(ledgerGroup)
        .arg(tipoArchivio == 2 ? 0 : 1)
        .arg(like);
}

QString banks() {
    return QStringLiteral("SELECT CG12_BANCA, CG12_DESCR FROM CG12_BANCHE WITH (NOLOCK) ORDER BY CG12_DESCR");
}

}  // namespace BillListQueries
