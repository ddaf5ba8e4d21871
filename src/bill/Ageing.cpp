#include "Ageing.h"

namespace {

QString literal(const QDate& d) {
    return QStringLiteral("'") + d.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("'");
}

}  // namespace

namespace Ageing {

int daysOverdue(const QDate& due, const QDate& today, bool closed) {
    if (closed || !due.isValid() || !today.isValid()) return 0;
    return static_cast<int>(std::max<qint64>(0, due.daysTo(today)));
}

int bucketOf(int days) {
    if (days <= 0) return 0;
    if (days <= 30) return 1;
    if (days <= 60) return 2;
    if (days <= 90) return 3;
    return 4;
}

QStringList bucketTitles() {
    return {QStringLiteral("Non scaduto"), QStringLiteral("1-30 giorni"), QStringLiteral("31-60 giorni"),
            QStringLiteral("61-90 giorni"), QStringLiteral("Oltre 90 giorni")};
}

QString query(const QString& select, int tipoArchivio, qint32 company, qint32 ledgerGroup,
              const QDate& today) {
    const QString code =
        tipoArchivio <= 1 ? QStringLiteral("EF01_CLIFOR_CG44") : QStringLiteral("EF01_CONTO_CG24");
    // A Bill due on day d is (today - d) days overdue: the bucket of 1-30 days holds the due
    // dates from today-30 to today-1, and so on; the dates are literals of the day given.
    const QString due = QStringLiteral("KVAGE.EF01_SCADE_S");
    const QString amount = QStringLiteral(" THEN KVAGE.EF01_IMPEFF_S ELSE 0 END)");
    const QStringList sums = {
        QStringLiteral("SUM(CASE WHEN ") + due + QStringLiteral(" >= ") + literal(today) + amount,
        QStringLiteral("SUM(CASE WHEN ") + due + QStringLiteral(" < ") + literal(today) +
            QStringLiteral(" AND ") + due + QStringLiteral(" >= ") + literal(today.addDays(-30)) + amount,
        QStringLiteral("SUM(CASE WHEN ") + due + QStringLiteral(" < ") + literal(today.addDays(-30)) +
            QStringLiteral(" AND ") + due + QStringLiteral(" >= ") + literal(today.addDays(-60)) + amount,
        QStringLiteral("SUM(CASE WHEN ") + due + QStringLiteral(" < ") + literal(today.addDays(-60)) +
            QStringLiteral(" AND ") + due + QStringLiteral(" >= ") + literal(today.addDays(-90)) + amount,
        QStringLiteral("SUM(CASE WHEN ") + due + QStringLiteral(" < ") + literal(today.addDays(-90)) + amount,
    };
    QStringList summed;
    QStringList shown;
    for (int b = 0; b < sums.size(); ++b) {
        summed << sums[b] + QStringLiteral(" AS KVS%1").arg(b);
        shown << QStringLiteral("KVSUM.KVS%1").arg(b);
    }
    const QString names =
        tipoArchivio <= 1
            ? QStringLiteral(
                  "SELECT CG44_CLIFOR AS KVCODE, CG16_RAGSOANAG AS KVNAME FROM CG44_CLIFOR WITH (NOLOCK)"
                  " INNER JOIN CG16_ANAGGEN WITH (NOLOCK) ON CG16_CODICE = CG44_ANAGEN_CG16"
                  " WHERE CG44_DITTA_CG18 = %1 AND CG44_TIPOCF = %2")
                  .arg(company)
                  .arg(tipoArchivio)
            : QStringLiteral(
                  "SELECT CG24_CONTO AS KVCODE, CG24_DESCR AS KVNAME FROM CG24_TABPDC WITH (NOLOCK)"
                  " WHERE CG24_GRUPPO_CG10 = %1 AND CG24_INDTIPOCONTO = %2")
                  .arg(ledgerGroup)
                  .arg(tipoArchivio == 2 ? 0 : 1);
    return QStringLiteral("SELECT KVSUM.KVCODE, KVNAMES.KVNAME, ") + shown.join(QStringLiteral(", ")) +
           QStringLiteral("\r\nFROM (SELECT KVAGE.") + code + QStringLiteral(" AS KVCODE, ") +
           summed.join(QStringLiteral(", ")) + QStringLiteral("\r\nFROM (\r\n") + select +
           QStringLiteral("\r\n) KVAGE\r\nWHERE KVAGE.EF01_INDSTATO_S = 0\r\nGROUP BY KVAGE.") + code +
           QStringLiteral(") KVSUM\r\nLEFT JOIN (") + names +
           QStringLiteral(") KVNAMES ON KVNAMES.KVCODE = KVSUM.KVCODE\r\nORDER BY KVSUM.KVCODE");
}

}  // namespace Ageing
