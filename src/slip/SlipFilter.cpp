#include "SlipFilter.h"

#include "SlipKinds.h"
#include "SlipTexts.h"

#include <QStringList>

namespace {

// Empty text: no bound. False when the text is not a date a clerk means.
bool readDate(const QString& text, QDate& date) {
    const QString t = text.trimmed();
    date = QDate();
    if (t.isEmpty()) return true;
    date = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
    return date.isValid() && date.year() >= 1900 && date.year() <= 2999;
}

}  // namespace

QString SlipFilter::setDueDates(const QString& from, const QString& to) {
    QDate f;
    QDate t;
    if (!readDate(from, f)) return SlipTexts::kWrongDate.arg(QStringLiteral("iniziale"), from.trimmed());
    if (!readDate(to, t)) return SlipTexts::kWrongDate.arg(QStringLiteral("finale"), to.trimmed());
    if (f.isValid() && t.isValid() && f > t)
        return SlipTexts::kInverted.arg(f.toString(QStringLiteral("dd/MM/yyyy")),
                                        t.toString(QStringLiteral("dd/MM/yyyy")));
    dueFrom = f;
    dueTo = t;
    return {};
}

QString SlipFilter::typeProblem() const {
    return SlipKinds::forBillType(billType) ? QString() : SlipTexts::kWrongType;
}

QString SlipFilter::conditions(const QString& alias) const {
    const QString a = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList parts = {
        a + QStringLiteral("EF01_TIPOEFF = ") + QString::number(billType),
        a + QStringLiteral("EF01_TIPOCF_CG44 = 0"),
        a + QStringLiteral("EF01_CLIFOR_CG44 IS NOT NULL"),
        a + QStringLiteral("EF01_INDSTATO_S = 0"),
        a + QStringLiteral("EF01_BANCAPRE_SCG12 IS NULL"),
        a + QStringLiteral("EF01_AGENPRE_SCG13 IS NULL"),
        a + QStringLiteral("EF01_INDPRES_S IN (0, 1)"),
    };
    if (dueFrom.isValid())
        parts << a + QStringLiteral("EF01_SCADE_S >= '%1'").arg(dueFrom.toString(QStringLiteral("yyyyMMdd")));
    if (dueTo.isValid())
        parts << a + QStringLiteral("EF01_SCADE_S <= '%1'").arg(dueTo.toString(QStringLiteral("yyyyMMdd")));
    return parts.join(QStringLiteral(" AND "));
}
