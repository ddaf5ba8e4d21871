#include "BillStatements.h"

#include "SqlText.h"

namespace BillStatements {

namespace {
QString number(qint32 n) { return QString::number(n); }
}  // namespace

QString billCondition(const Key& k) {
    return QStringLiteral("EF01_DITTA_CG18 = ") + number(k.company) + QStringLiteral(" AND EF01_NUMREG_CO99 = ") +
           SqlText::quote(k.numReg) + QStringLiteral(" AND EF01_RIGACONT_CG42 = ") + number(k.row) +
           QStringLiteral(" AND EF01_PROGEC_EC01 = ") + number(k.progEc) + QStringLiteral(" AND EF01_PROGEFF = ") +
           number(k.progEff);
}

QString registerDocument(const Registration& r) {
    const QString company = number(r.company);
    const QString numReg = SqlText::quote(r.numReg);
    return QStringLiteral("IF ( ( SELECT COUNT(*) FROM CO99_MASTERDOC WHERE CO99_DITTA_CG18 = ") + company +
           QStringLiteral(" AND CO99_NUMREG = ") + numReg + QStringLiteral(" ) = 0 ) BEGIN") +
           QStringLiteral(" INSERT INTO CO99_MASTERDOC ( CO99_DITTA_CG18 , CO99_NUMREG , CO99_INDTIPOOP , CO99_DATACRE ,"
                          " CO99_GRUPPOCRE , CO99_UTENTECRE , CO99_INDCOIN ) VALUES ( ") +
           company + QStringLiteral(" , ") + numReg + QStringLiteral(" , 4 , '") +
           r.created.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("' , ") + SqlText::quote(r.userGroup) +
           QStringLiteral(" , ") + SqlText::quote(r.userCode) + QStringLiteral(" , 2 ) END");
}

QString registeredOperationType(qint32 company, const QString& numReg) {
    return QStringLiteral("SELECT CO99_INDTIPOOP FROM CO99_MASTERDOC WITH (NOLOCK) WHERE CO99_DITTA_CG18 = ") +
           number(company) + QStringLiteral(" AND CO99_NUMREG = ") + SqlText::quote(numReg);
}

QString claimBill(const Key& k) {
    return QStringLiteral("UPDATE EF01_SCADENZE SET EF01_PROGEFF = EF01_PROGEFF WHERE ") + billCondition(k);
}

QString storedBill(const Key& k) {
    return QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE ") + billCondition(k);
}

QString nextHistoryProgressive(const Key& k) {
    return QStringLiteral("SELECT CASE WHEN PROGRESSIVO.MASSIMOPROG IS NULL THEN 1 ELSE PROGRESSIVO.MASSIMOPROG + 1 END "
                          "AS NUOVOPROGRESSIVO FROM ( SELECT MAX(EF06_PROGSTO) AS MASSIMOPROG FROM EF06_SCADSTO WHERE "
                          "EF06_DITTA_CG18 = ") +
           number(k.company) + QStringLiteral(" AND EF06_NUMREG_CO99 = ") + SqlText::quote(k.numReg) +
           QStringLiteral(" AND EF06_RIGACONT_EF01 = ") + number(k.row) + QStringLiteral(" AND EF06_PROGEC_EF01 = ") +
           number(k.progEc) + QStringLiteral(" AND EF06_PROGEFF_EF01 = ") + number(k.progEff) +
           QStringLiteral(" ) AS PROGRESSIVO");
}

QString deleteBill(const Key& k) {
    struct Table {
        const char* name;
        const char* prefix;
        const char* row;
        const char* progEc;
        const char* progEff;
        const char* beforeLast;  // the blanks before the last condition, as the batch has them
    };
    static const Table tables[] = {
        {"EF03_SCADCECAM", "EF03", "EF03_RIGACONT_EF01", "EF03_PROGEC_EF01", "EF03_PROGEFF_EF01", "  "},
        {"EF04_SCADNOTE", "EF04", "EF04_RIGACONT_EF01", "EF04_PROGEC_EF01", "EF04_PROGEFF_EF01", " "},
        {"EF05_SCADSOLLEC", "EF05", "EF05_RIGACONT_EF01", "EF05_PROGEC_EF01", "EF05_PROGEFF_EF01", " "},
        {"EF06_SCADSTO", "EF06", "EF06_RIGACONT_EF01", "EF06_PROGEC_EF01", "EF06_PROGEFF_EF01", " "},
        {"EF01_SCADENZE", "EF01", "EF01_RIGACONT_CG42", "EF01_PROGEC_EC01", "EF01_PROGEFF", " "},
    };
    QString batch;
    for (const Table& t : tables) {
        const QString prefix = QString::fromLatin1(t.prefix);
        batch += QStringLiteral(" DELETE FROM ") + QString::fromLatin1(t.name) + QStringLiteral(" WHERE (") + prefix +
                 QStringLiteral("_DITTA_CG18 = ") + number(k.company) + QStringLiteral(") AND (") + prefix +
                 QStringLiteral("_NUMREG_CO99 = ") + SqlText::quote(k.numReg) + QStringLiteral(") AND (") +
                 QString::fromLatin1(t.row) + QStringLiteral(" = ") + number(k.row) + QStringLiteral(") AND (") +
                 QString::fromLatin1(t.progEc) + QStringLiteral(" = ") + number(k.progEc) + QStringLiteral(") AND") +
                 QString::fromLatin1(t.beforeLast) + QStringLiteral("(") + QString::fromLatin1(t.progEff) +
                 QStringLiteral(" = ") + number(k.progEff) + QStringLiteral(") ;");
    }
    return batch;
}

}  // namespace BillStatements
