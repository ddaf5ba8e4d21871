#include "BillStatements.h"

#include "MDLKV_TARSELLO.h"
#include "SqlText.h"
#include "Value.h"

namespace BillStatements {

namespace {
QString number(qint32 n) {
    return QString::number(n);
}
}  // namespace

QString billCondition(const Key& k) {
    return QStringLiteral("EF01_DITTA_CG18 = ") + number(k.company) +
           QStringLiteral(" AND EF01_NUMREG_CO99 = ") + SqlText::quote(k.numReg) +
           QStringLiteral(" AND EF01_RIGACONT_CG42 = ") + number(k.row) +
           QStringLiteral(" AND EF01_PROGEC_EC01 = ") + number(k.progEc) +
           QStringLiteral(" AND EF01_PROGEFF = ") + number(k.progEff);
}

QString registerDocument(const Registration& r) {
    const QString company = number(r.company);
    const QString numReg = SqlText::quote(r.numReg);
    return QStringLiteral("IF ( ( SELECT COUNT(*) FROM CO99_MASTERDOC WHERE CO99_DITTA_CG18 = ") + company +
           QStringLiteral(" AND CO99_NUMREG = ") + numReg + QStringLiteral(" ) = 0 ) BEGIN") +
           QStringLiteral(
               " INSERT INTO CO99_MASTERDOC ( CO99_DITTA_CG18 , CO99_NUMREG , CO99_INDTIPOOP , CO99_DATACRE ,"
               " CO99_GRUPPOCRE , CO99_UTENTECRE , CO99_INDCOIN ) VALUES ( ") +
           company + QStringLiteral(" , ") + numReg + QStringLiteral(" , 4 , '") +
           r.created.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("' , ") +
           SqlText::quote(r.userGroup) + QStringLiteral(" , ") + SqlText::quote(r.userCode) +
           QStringLiteral(" , 2 ) END");
}

QString registeredOperationType(qint32 company, const QString& numReg) {
    return QStringLiteral(
               "SELECT CO99_INDTIPOOP FROM CO99_MASTERDOC WITH (NOLOCK) WHERE CO99_DITTA_CG18 = ") +
           number(company) + QStringLiteral(" AND CO99_NUMREG = ") + SqlText::quote(numReg);
}

QString claimBill(const Key& k) {
    return QStringLiteral("UPDATE EF01_SCADENZE SET EF01_PROGEFF = EF01_PROGEFF WHERE ") + billCondition(k);
}

QString storedBill(const Key& k) {
    return QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE ") + billCondition(k);
}

QString nextHistoryProgressive(const Key& k) {
    return QStringLiteral(
               "SELECT CASE WHEN PROGRESSIVO.MASSIMOPROG IS NULL THEN 1 ELSE PROGRESSIVO.MASSIMOPROG + 1 END "
               "AS NUOVOPROGRESSIVO FROM ( SELECT MAX(EF06_PROGSTO) AS MASSIMOPROG FROM EF06_SCADSTO WHERE "
               "EF06_DITTA_CG18 = ") +
           number(k.company) + QStringLiteral(" AND EF06_NUMREG_CO99 = ") + SqlText::quote(k.numReg) +
           QStringLiteral(" AND EF06_RIGACONT_EF01 = ") + number(k.row) +
           QStringLiteral(" AND EF06_PROGEC_EF01 = ") + number(k.progEc) +
           QStringLiteral(" AND EF06_PROGEFF_EF01 = ") + number(k.progEff) +
           QStringLiteral(" ) AS PROGRESSIVO");
}

QString decimalDB(const QVariant& value) {
    return Value::toDecimal(MDLKV_TARSELLO::NullToDecimal(value)).toString();
}

QString countManualMovements(const Key& k, bool noLock) {
    return QStringLiteral("           SELECT") + QStringLiteral("    COUNT(*)") + QStringLiteral(" FROM") +
           (noLock ? QStringLiteral("    EF06_SCADSTO WITH (NOLOCK)") : QStringLiteral("    EF06_SCADSTO")) +
           QStringLiteral(" WHERE") + QStringLiteral("    EF06_DITTA_CG18 = ") + number(k.company) +
           QStringLiteral("    AND EF06_NUMREG_CO99 = ") + SqlText::quote(k.numReg) +
           QStringLiteral("    AND EF06_RIGACONT_EF01 = ") + number(k.row) +
           QStringLiteral("    AND EF06_PROGEC_EF01 = ") + number(k.progEc) +
           QStringLiteral("    AND EF06_PROGEFF_EF01 = ") + number(k.progEff) +
           QStringLiteral("    AND EF06_INDTIPOPER IN (0, 12)");
}

QString restoreFromHistory(qint32 company, const MovementValue& movement, bool onlyManualMovement) {
    auto value = [&](const char* column) { return movement(QString::fromLatin1(column)); };
    auto empty = [](const QVariant& v) { return Value::isNull(v) || Value::toText(v).trimmed().isEmpty(); };
    // An amount, or NULL when the movement holds none.
    auto amountOrNull = [&](const char* column) {
        const QVariant v = value(column);
        return empty(v) ? QStringLiteral("NULL") : decimalDB(v);
    };
    // A whole number as the database returned it (validated: never text of a user), or NULL.
    auto integerOrNull = [&](const char* column) {
        const QVariant v = value(column);
        return empty(v) ? QStringLiteral("NULL") : QString::number(Value::toInt(v));
    };
    const QVariant due = value("EF06_SCADE_S");
    QString sql =
        QStringLiteral("           UPDATE ") + QStringLiteral("    EF01_SCADENZE") + QStringLiteral(" SET ");
    // A movement without a due date (none of the suite's procedures writes one) leaves NULL, the
    // only date that is no date on every engine.
    sql += empty(due) ? QStringLiteral("    EF01_SCADE_S = NULL")
                      : QStringLiteral("    EF01_SCADE_S = '") +
                            Value::toDate(due).toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("'");
    sql += QStringLiteral("    ,EF01_IMPEFF_S = ") + decimalDB(value("EF06_IMPEFF_S"));
    sql += QStringLiteral("    ,EF01_IMPEFFVAL_S = ") + amountOrNull("EF06_IMPEFFVAL_S");
    sql += QStringLiteral("    ,EF01_IMPEFFNETPREV_S = ") + decimalDB(value("EF06_IMPEFFNETPREV_S"));
    sql += QStringLiteral("    ,EF01_IMPEFFNETPREVVAL_S = ") + amountOrNull("EF06_IMPEFFNETPREVVAL_S");
    sql += QStringLiteral("    ,EF01_INDSPERIT_S = ") + integerOrNull("EF06_INDSPERIT_S");
    sql += QStringLiteral("    ,EF01_SPESERIT_S = ") + amountOrNull("EF06_SPESERIT_S");
    sql += QStringLiteral("    ,EF01_SPESERITBAN_S = ") + amountOrNull("EF06_SPESERITBAN_S");
    sql += QStringLiteral("    ,EF01_BANCAPRE_SCG12 = ") + integerOrNull("EF06_BANCAPRE_S");
    sql += QStringLiteral("    ,EF01_AGENPRE_SCG13 = ") + integerOrNull("EF06_AGENZPRE_S");
    sql += QStringLiteral("    ,EF01_NUMSTEFF_S = ") + integerOrNull("EF06_NUMSTEFF_S");
    sql += QStringLiteral("    ,EF01_NUMRIEMIS_S = ") + integerOrNull("EF06_NUMRIEMIS_S");
    sql += QStringLiteral("    ,EF01_INDSTATO_S = ") + integerOrNull("EF06_INDSTATO_S");
    sql += QStringLiteral("    ,EF01_INDGENSTATO_S = ") + integerOrNull("EF06_INDGENSTATO_S");
    sql += QStringLiteral("    ,EF01_INDPRES_S = ") + integerOrNull("EF06_INDPRES_S");
    sql += QStringLiteral("    ,EF01_FLGSTEFF_S = ") + integerOrNull("EF06_FLGSTEFF_S");
    sql += QStringLiteral("    ,EF01_FLGGIRATO_S = ") + integerOrNull("EF06_FLGGIRATO_S");
    sql += QStringLiteral("    ,EF01_FLGRICEVUTO_S = ") + integerOrNull("EF06_FLGRICEVUTO_S");
    sql += QStringLiteral("    ,EF01_FLGINCASSOBF_S = ") + integerOrNull("EF06_FLGINCASSOBF_S");
    if (Value::toInt(value("EF06_INDTIPOPER")) == 12) {
        sql += QStringLiteral("    ,EF01_IMPEFFORIG = ") + decimalDB(value("EF06_IMPEFF_S")) +
               QStringLiteral("\r\n");
        sql += QStringLiteral("    ,EF01_IMPEFFORIGVAL = ") + amountOrNull("EF06_IMPEFFVAL_S") +
               QStringLiteral("\r\n");
    }
    if (onlyManualMovement) sql += QStringLiteral("    ,EF01_FLGEFFVAR = 0");
    sql += QStringLiteral(" WHERE") + QStringLiteral("    EF01_DITTA_CG18 = ") + number(company) +
           QStringLiteral("    AND EF01_NUMREG_CO99 = ") +
           SqlText::quote(Value::toText(value("EF06_NUMREG_CO99"))) +
           QStringLiteral("    AND EF01_RIGACONT_CG42 = ") +
           number(Value::toInt(value("EF06_RIGACONT_EF01"))) + QStringLiteral("    AND EF01_PROGEC_EC01 = ") +
           number(Value::toInt(value("EF06_PROGEC_EF01"))) + QStringLiteral("    AND EF01_PROGEFF = ") +
           number(Value::toInt(value("EF06_PROGEFF_EF01")));
    return sql;
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
        batch += QStringLiteral(" DELETE FROM ") + QString::fromLatin1(t.name) + QStringLiteral(" WHERE (") +
                 prefix + QStringLiteral("_DITTA_CG18 = ") + number(k.company) + QStringLiteral(") AND (") +
                 prefix + QStringLiteral("_NUMREG_CO99 = ") + SqlText::quote(k.numReg) +
                 QStringLiteral(") AND (") + QString::fromLatin1(t.row) + QStringLiteral(" = ") +
                 number(k.row) + QStringLiteral(") AND (") + QString::fromLatin1(t.progEc) +
                 QStringLiteral(" = ") + number(k.progEc) + QStringLiteral(") AND") +
                 QString::fromLatin1(t.beforeLast) + QStringLiteral("(") + QString::fromLatin1(t.progEff) +
                 QStringLiteral(" = ") + number(k.progEff) + QStringLiteral(") ;");
    }
    return batch;
}

}  // namespace BillStatements
