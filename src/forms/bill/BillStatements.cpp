#include "BillStatements.h"

#include "MDLKV_TARSELLO.h"
#include "SchemaCatalogue.h"
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

QString billShape() {
    return QStringLiteral("SELECT * FROM EF01_SCADENZE WHERE 0=1");
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

namespace {

enum class Restored { Date, Amount, AmountOrZero, Integer };

struct RestoredColumn {
    const char* bill;      // the Bill's column
    const char* movement;  // the movement's snapshot of it
    Restored kind;
};

// The Bill's columns a movement's undo puts back, from the movement's snapshot.
const RestoredColumn kRestored[] = {
    {"EF01_SCADE_S", "EF06_SCADE_S", Restored::Date},
    {"EF01_IMPEFF_S", "EF06_IMPEFF_S", Restored::AmountOrZero},
    {"EF01_IMPEFFVAL_S", "EF06_IMPEFFVAL_S", Restored::Amount},
    {"EF01_IMPEFFNETPREV_S", "EF06_IMPEFFNETPREV_S", Restored::AmountOrZero},
    {"EF01_IMPEFFNETPREVVAL_S", "EF06_IMPEFFNETPREVVAL_S", Restored::Amount},
    {"EF01_INDSPERIT_S", "EF06_INDSPERIT_S", Restored::Integer},
    {"EF01_SPESERIT_S", "EF06_SPESERIT_S", Restored::Amount},
    {"EF01_SPESERITBAN_S", "EF06_SPESERITBAN_S", Restored::Amount},
    {"EF01_BANCAPRE_SCG12", "EF06_BANCAPRE_S", Restored::Integer},
    {"EF01_AGENPRE_SCG13", "EF06_AGENZPRE_S", Restored::Integer},
    {"EF01_NUMSTEFF_S", "EF06_NUMSTEFF_S", Restored::Integer},
    {"EF01_NUMRIEMIS_S", "EF06_NUMRIEMIS_S", Restored::Integer},
    {"EF01_INDSTATO_S", "EF06_INDSTATO_S", Restored::Integer},
    {"EF01_INDGENSTATO_S", "EF06_INDGENSTATO_S", Restored::Integer},
    {"EF01_INDPRES_S", "EF06_INDPRES_S", Restored::Integer},
    {"EF01_FLGSTEFF_S", "EF06_FLGSTEFF_S", Restored::Integer},
    {"EF01_FLGGIRATO_S", "EF06_FLGGIRATO_S", Restored::Integer},
    {"EF01_FLGRICEVUTO_S", "EF06_FLGRICEVUTO_S", Restored::Integer},
    {"EF01_FLGINCASSOBF_S", "EF06_FLGINCASSOBF_S", Restored::Integer},
};

bool emptyValue(const QVariant& v) {
    return Value::isNull(v) || Value::toText(v).trimmed().isEmpty();
}

}  // namespace

QStringList missingForRestore(const MovementValue& movement, const TableDef& bills) {
    QStringList missing;
    for (const RestoredColumn& r : kRestored) {
        const ColumnDef* column = bills.column(QString::fromLatin1(r.bill));
        if (column && !column->nullable && emptyValue(movement(QString::fromLatin1(r.movement))))
            missing.append(QString::fromLatin1(r.movement));
    }
    return missing;
}

QString restoreFromHistory(qint32 company, const MovementValue& movement, bool onlyManualMovement) {
    auto value = [&](const char* column) { return movement(QString::fromLatin1(column)); };
    // An amount, or NULL when the movement holds none.
    auto amountOrNull = [&](const char* column) {
        const QVariant v = value(column);
        return emptyValue(v) ? QStringLiteral("NULL") : decimalDB(v);
    };
    QStringList assignments;
    for (const RestoredColumn& r : kRestored) {
        const QVariant v = value(r.movement);
        QString text = QStringLiteral("NULL");  // a movement without the value leaves none
        if (r.kind == Restored::AmountOrZero) {
            text = decimalDB(v);  // zero for none
        } else if (!emptyValue(v)) {
            switch (r.kind) {
                case Restored::Date:
                    text = QLatin1Char('\'') + Value::toDate(v).toString(QStringLiteral("yyyyMMdd")) +
                           QLatin1Char('\'');
                    break;
                case Restored::Amount:
                case Restored::AmountOrZero:
                    text = decimalDB(v);
                    break;
                case Restored::Integer:
                    // A whole number as the database returned it (validated: never a user's text).
                    text = QString::number(Value::toInt(v));
                    break;
            }
        }
        assignments.append(QString::fromLatin1(r.bill) + QStringLiteral(" = ") + text);
    }
    QString sql = QStringLiteral("           UPDATE ") + QStringLiteral("    EF01_SCADENZE") +
                  QStringLiteral(" SET     ") + assignments.join(QStringLiteral("    ,"));
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
