#include "ReminderStatements.h"

#include "SqlText.h"

namespace ReminderStatements {

QString letterDescription(qint32 company, const QString& code) {
    return QStringLiteral(" SELECT") + QStringLiteral("   MG0B_DESCR") + QStringLiteral(" FROM") +
           QStringLiteral("   MG0B_TESTI WITH (NOLOCK)") + QStringLiteral(" WHERE") +
           QStringLiteral("   (MG0B_DITTA_CG18 = ") + QString::number(company) + QStringLiteral(")") +
           QStringLiteral("   AND") + QStringLiteral("       (") +
           QStringLiteral("           (MG0B_INDTIPO = 5)") +
           QStringLiteral("           OR (MG0B_INDTIPO = 6)") + QStringLiteral("       )") +
           QStringLiteral("   AND") + QStringLiteral("   (MG0B_CODTESTO = ") + SqlText::quote(code) +
           QStringLiteral(")") + QStringLiteral(" ORDER BY") + QStringLiteral("   MG0B_INDTIPO");
}

QString letterLookup(qint32 company) {
    return QStringLiteral(" SELECT") + QStringLiteral("   MG0B_CODTESTO") +
           QStringLiteral("   , MG0B_DESCR") + QStringLiteral(" FROM") + QStringLiteral("   MG0B_TESTI") +
           QStringLiteral(" WHERE") + QStringLiteral("   (MG0B_DITTA_CG18 = ") + QString::number(company) +
           QStringLiteral(")") + QStringLiteral("   AND") + QStringLiteral("       (") +
           QStringLiteral("           (MG0B_INDTIPO = 5)") + QStringLiteral("           OR") +
           QStringLiteral("           (MG0B_INDTIPO = 6)") + QStringLiteral("       )");
}

QString blockDescription(qint32 company, const QString& code) {
    return QStringLiteral("SELECT MG25_DESCR FROM MG25_BLOCCHI WITH (NOLOCK) WHERE MG25_DITTA_CG18 = ") +
           QString::number(company) + QStringLiteral(" AND MG25_CODICE = ") + SqlText::quote(code);
}

QString blockLookup(qint32 company) {
    return QStringLiteral("SELECT MG25_CODICE, MG25_DESCR FROM MG25_BLOCCHI WHERE MG25_DITTA_CG18 = ") +
           QString::number(company);
}

}  // namespace ReminderStatements
