#include "ChildQueries.h"

#include "SqlText.h"

#include <QStringList>

namespace ChildQueries {

namespace {

// The registration number between its quotes, quotes inside doubled.
QString quoted(const QString& numReg) {
    return SqlText::quote(numReg).mid(1).chopped(1);
}

// " WHERE" and the five key conditions of a child table, its columns qualified with the table
// when `table` is given.
QString keyFilter(const QString& prefix, const QString& table, const Key& k) {
    const QString q = table.isEmpty() ? QString() : table + QLatin1Char('.');
    return QStringLiteral(" WHERE") + QStringLiteral("   (") + q + prefix + QStringLiteral("_DITTA_CG18 = ") +
           QString::number(k.company) + QStringLiteral(")") + QStringLiteral("   AND (") + q + prefix +
           QStringLiteral("_NUMREG_CO99 = '") + quoted(k.numReg) + QStringLiteral("')") +
           QStringLiteral("   AND (") + q + prefix + QStringLiteral("_RIGACONT_EF01 = ") +
           QString::number(k.row) + QStringLiteral(")") + QStringLiteral("   AND (") + q + prefix +
           QStringLiteral("_PROGEC_EF01 = ") + QString::number(k.progEc) + QStringLiteral(")") +
           QStringLiteral("   AND (") + q + prefix + QStringLiteral("_PROGEFF_EF01 = ") +
           QString::number(k.progEff) + QStringLiteral(")");
}

QString selectAll(const QString& table) {
    return QStringLiteral(" SELECT") + QStringLiteral("   ") + table + QStringLiteral(".*") +
           QStringLiteral(" FROM") + QStringLiteral("   ") + table;
}

}  // namespace

QString cambialiCessioni(const Key& key) {
    const QString table = QStringLiteral("EF03_SCADCECAM");
    const QString filter = keyFilter(QStringLiteral("EF03"), table, key);
    QString sql = selectAll(table) + filter + QStringLiteral(" ;");
    sql += QStringLiteral(" SELECT") + QStringLiteral("   RICEVUTO.EF01_DITTACF_CG18  AS RIC_DITTACF_CG18") +
           QStringLiteral("   , RICEVUTO.EF01_TIPOCF_CG44     AS RIC_TIPOCF_CG44") +
           QStringLiteral("   , RICEVUTO.EF01_CLIFOR_CG44     AS RIC_CLIFOR_CG44") +
           QStringLiteral("   , RICEVUTO.EF01_INDCONTO        AS RIC_INDCONTO") +
           QStringLiteral("   , RICEVUTO.EF01_GRUPPO_CG10     AS RIC_GRUPPO_CG10") +
           QStringLiteral("   , RICEVUTO.EF01_CONTO_CG24      AS RIC_CONTO_CG24") +
           QStringLiteral("   , RICEVUTO.EF01_NUMEFF          AS RIC_NUMEFF") +
           QStringLiteral("   , GIRATO.EF01_DITTACF_CG18      AS GIR_DITTACF_CG18") +
           QStringLiteral("   , GIRATO.EF01_TIPOCF_CG44       AS GIR_TIPOCF_CG44") +
           QStringLiteral("   , GIRATO.EF01_CLIFOR_CG44       AS GIR_CLIFOR_CG44") +
           QStringLiteral("   , GIRATO.EF01_INDCONTO          AS GIR_INDCONTO") +
           QStringLiteral("   , GIRATO.EF01_GRUPPO_CG10       AS GIR_GRUPPO_CG10") +
           QStringLiteral("   , GIRATO.EF01_CONTO_CG24        AS GIR_CONTO_CG24") +
           QStringLiteral("   , GIRATO.EF01_NUMEFF            AS GIR_NUMEFF");
    sql += QStringLiteral(" FROM") + QStringLiteral("   EF03_SCADCECAM") +
           QStringLiteral("   LEFT OUTER JOIN") + QStringLiteral("   EF01_SCADENZE RICEVUTO") +
           QStringLiteral("   ON") +
           QStringLiteral("   EF03_SCADCECAM.EF03_DITTARIC_EF01 = RICEVUTO.EF01_DITTA_CG18") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_NUMREGRIC_EF01 = RICEVUTO.EF01_NUMREG_CO99") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_RIGACONTRIC_EF01 = RICEVUTO.EF01_RIGACONT_CG42") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_PROGECRIC_EF01 = RICEVUTO.EF01_PROGEC_EC01") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_PROGEFFRIC_EF01 = RICEVUTO.EF01_PROGEFF");
    sql += QStringLiteral("   LEFT OUTER JOIN") + QStringLiteral("   EF01_SCADENZE GIRATO") +
           QStringLiteral("   ON") +
           QStringLiteral("   EF03_SCADCECAM.EF03_PROGEFFGIR_EF01 = GIRATO.EF01_PROGEFF") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_RIGACONTGIR_EF01 = GIRATO.EF01_RIGACONT_CG42") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_DITTAGIR_EF01 = GIRATO.EF01_DITTA_CG18") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_NUMREGGIR_EF01 = GIRATO.EF01_NUMREG_CO99") +
           QStringLiteral("   AND EF03_SCADCECAM.EF03_PROGECGIR_EF01 = GIRATO.EF01_PROGEC_EC01");
    return sql + filter;
}

QString note(const Key& key) {
    const QString table = QStringLiteral("EF04_SCADNOTE");
    return selectAll(table) + keyFilter(QStringLiteral("EF04"), table, key);
}

QString solleciti(const Key& key) {
    return selectAll(QStringLiteral("EF05_SCADSOLLEC")) + keyFilter(QStringLiteral("EF05"), QString(), key) +
           QStringLiteral(" ORDER BY") + QStringLiteral("    EF05_PROGAVVISI");
}

QString storico(const Key& key) {
    const QString table = QStringLiteral("EF06_SCADSTO");
    return selectAll(table) + keyFilter(QStringLiteral("EF06"), table, key) + QStringLiteral(" ORDER BY") +
           QStringLiteral("   EF06_PROGSTO");
}

}  // namespace ChildQueries
