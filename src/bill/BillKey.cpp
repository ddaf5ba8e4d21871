#include "BillKey.h"

#include "SqlText.h"
#include "SuiteError.h"

#include <QStringList>

BillKey BillKey::parse(const QString& text, const QString& source) {
    const QStringList parts = text.split(QLatin1Char(','));
    bool ok = parts.size() == 5;
    BillKey key;
    auto whole = [&](int i) {
        bool one = false;
        const int n = ok ? parts.at(i).trimmed().toInt(&one) : 0;
        ok = ok && one;
        return n;
    };
    key.company = whole(0);
    key.row = whole(2);
    key.statement = whole(3);
    key.progressive = whole(4);
    if (!ok)
        throw SuiteError(SuiteError::kTypeMismatch, source,
                         QStringLiteral("La chiave dell'effetto \"%1\" non è valida.").arg(text));
    key.registration = parts.at(1);
    return key;
}

QString BillKey::where(const QString& prefix) const {
    // The Bill's own columns name their archives; a child's name the Bill's.
    const bool bill = prefix == QStringLiteral("EF01");
    const QString p = prefix + QLatin1Char('_');
    return QStringLiteral(" WHERE ") + p + QStringLiteral("DITTA_CG18 = ") + QString::number(company) +
           QStringLiteral(" AND ") + p + QStringLiteral("NUMREG_CO99 = ") + SqlText::quote(registration) +
           QStringLiteral(" AND ") + p +
           (bill ? QStringLiteral("RIGACONT_CG42") : QStringLiteral("RIGACONT_EF01")) +
           QStringLiteral(" = ") + QString::number(row) + QStringLiteral(" AND ") + p +
           (bill ? QStringLiteral("PROGEC_EC01") : QStringLiteral("PROGEC_EF01")) + QStringLiteral(" = ") +
           QString::number(statement) + QStringLiteral(" AND ") + p +
           (bill ? QStringLiteral("PROGEFF") : QStringLiteral("PROGEFF_EF01")) + QStringLiteral(" = ") +
           QString::number(progressive);
}
