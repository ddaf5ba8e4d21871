#include "CurrencyStatements.h"

#include "SqlText.h"

namespace CurrencyStatements {

namespace {
QString rates(const QString& currency, int year, int month) {
    return QStringLiteral(
               " SELECT"
               "     CG09_ANNO,"
               "     CG09_MESE,"
               "     CG09_GIORNO,"
               "     CG09_CAMBIO"
               " FROM"
               "     CG09_TABCAMBI"
               " WHERE"
               "     CG09_CODICE_CG08 = ") +
           SqlText::quote(currency.trimmed()) +
           QStringLiteral(" AND CG09_ANNO = %1 AND CG09_MESE = %2").arg(year).arg(month);
}
}  // namespace

QString fixedRate(const QString& currency) {
    return QStringLiteral(
               " SELECT"
               "     CG08_FLGVALUEM,"
               "     CG08_DATAATTUEM,"
               "     CG08_CAMBIOFISSO"
               " FROM"
               "     CG08_TABVALUTE"
               " WHERE"
               "     CG08_FLGVALUEM = 1"
               " AND CG08_CODICE = ") +
           SqlText::quote(currency.trimmed());
}

QString dailyRate(const QString& currency, int year, int month, int day) {
    return rates(currency, year, month) + QStringLiteral(" AND CG09_GIORNO = %1").arg(day);
}

QString monthlyRate(const QString& currency, int year, int month) {
    return rates(currency, year, month) + QStringLiteral(" AND CG09_GIORNO = 0");
}

QString lookup() {
    return QStringLiteral(
        "SELECT CG08_CODICE, CG08_DESCR, CG08_NUMDEC FROM CG08_TABVALUTE WITH (NOLOCK)"
        " ORDER BY CG08_CODICE");
}

}  // namespace CurrencyStatements
