#include "LinkStatements.h"

#include "ArchiveConnector.h"
#include "BillCodeTables.h"
#include "CompanyContext.h"
#include "SqlText.h"

#include <QRegularExpression>
#include <limits>

namespace LinkStatements {

namespace {
// The bill types of the search list's CASE, in its order.
const int kBillTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 99};

QString typeLine(int billType, const QString& literal) {
    return QStringLiteral("        WHEN %1 THEN ").arg(billType) + literal;
}
}  // namespace

QString findBill(const Search& s) {
    const QString company = QString::number(s.company);
    const QString type = QString::number(s.type);
    QString sql = QStringLiteral(" SELECT") + QStringLiteral("   EF01_DITTA_CG18") +
                  QStringLiteral("   , EF01_NUMREG_CO99") + QStringLiteral("   , EF01_RIGACONT_CG42") +
                  QStringLiteral("   , EF01_PROGEC_EC01") + QStringLiteral("   , EF01_PROGEFF") +
                  QStringLiteral("   , EF01_CLIFOR_CG44") + QStringLiteral(" FROM") +
                  QStringLiteral("   EF01_SCADENZE") + QStringLiteral(" WHERE") +
                  QStringLiteral("   EF01_DITTA_CG18 = ") + company +
                  QStringLiteral("   AND EF01_DITTACF_CG18 = ") + company +
                  QStringLiteral("   AND EF01_TIPOCF_CG44 = ") + type +
                  QStringLiteral("   AND EF01_INDCONTO = ") + type +
                  QStringLiteral("   AND EF01_GRUPPO_CG10 = ") + QString::number(s.ledgerGroup);
    if (s.type == 0 || s.type == 1)
        sql += QStringLiteral("   AND EF01_CONTO_CG24 = ") +
               SqlText::quote(s.type == 0 ? s.customerAccount : s.supplierAccount);
    return sql + QStringLiteral("   AND EF01_NUMEFF = ") + QString::number(s.number);
}

QStringList receivedTypeLines() {
    QStringList lines;
    for (int t : kBillTypes)
        lines << typeLine(t, SqlText::quote(BillCodeTables::abbreviazioneTipoEffetto(t)));
    return lines;
}

QStringList endorsedTypeLines(const std::function<QString(int)>& label) {
    QStringList lines;
    for (int t : kBillTypes) lines << typeLine(t, SqlText::quote(label(t)));
    return lines;
}

QString lookup(qint32 company, int type, const QStringList& typeLines) {
    const QString c = QString::number(company);
    return QStringLiteral(" SELECT") + QStringLiteral("    EF01_NUMEFF,") +
           QStringLiteral("    CASE EF01_TIPOEFF") + typeLines.join(QString()) +
           QStringLiteral("    END AS TIPOEFF,") + QStringLiteral("    EF01_SCADE_S,") +
           QStringLiteral("    EF01_IMPEFF_S,") + QStringLiteral("    EF01_CLIFOR_CG44,") +
           QStringLiteral("    CG16_RAGSOANAG") + QStringLiteral(" FROM") +
           QStringLiteral("    EF01_SCADENZE WITH (NOLOCK)") +
           QStringLiteral(" INNER JOIN CG44_CLIFOR WITH (NOLOCK) ON") +
           QStringLiteral("    CG44_DITTA_CG18 = EF01_DITTACF_CG18 AND") +
           QStringLiteral("    CG44_TIPOCF = EF01_TIPOCF_CG44 AND") +
           QStringLiteral("    CG44_CLIFOR = EF01_CLIFOR_CG44") +
           QStringLiteral(" INNER JOIN VCG16_CG44_ALLADATA WITH (NOLOCK) ON") +
           QStringLiteral("    VCG16_44_CF_DITTA = CG44_CLIFOR.CG44_DITTA_CG18") +
           QStringLiteral("    AND VCG16_44_CF_TIPOCF = CG44_CLIFOR.CG44_TIPOCF") +
           QStringLiteral("    AND VCG16_44_CF_CLIFOR = CG44_CLIFOR.CG44_CLIFOR") +
           QStringLiteral(
               "    AND EF01_SCADENZE.EF01_DATADOC BETWEEN DATAINIZIOVALIDITA AND DATAFINEVALIDITA") +
           QStringLiteral(" WHERE") + QStringLiteral("    EF01_DITTA_CG18 = ") + c + QStringLiteral(" AND") +
           QStringLiteral("    EF01_DITTACF_CG18 = ") + c + QStringLiteral(" AND") +
           QStringLiteral("    EF01_TIPOCF_CG44 = ") + QString::number(type) + QStringLiteral(" ORDER BY") +
           QStringLiteral("    EF01_CLIFOR_CG44, EF01_SCADE_S, EF01_NUMEFF");
}

QString counterpartName(qint32 company, int type, qint64 code, const QDate& date) {
    return ArchiveConnector(ArchiveConnector::Archive::Customers,
                            {company, type, ArchiveConnector::dateKey(date)})
        .decodeQuery(QString::number(code));
}

int linkedType(const QString& type, const QString& ledgerGroup, const QString& account,
               const CompanyParameters& p) {
    const bool group = ledgerGroup == QString::number(p.ledgerGroup);
    if (type == QLatin1String("0")) return group && account == p.customerAccount.trimmed() ? 0 : -1;
    if (type == QLatin1String("1")) return group && account == p.supplierAccount.trimmed() ? 1 : -1;
    return -1;
}

bool isBillNumber(const QString& typed, qint64* number) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    const QString text = typed.trimmed();
    if (!digits.match(text).hasMatch()) return false;
    const qint64 n = text.toLongLong();
    if (n > std::numeric_limits<qint32>::max()) return false;
    if (number) *number = n;
    return true;
}

}  // namespace LinkStatements
