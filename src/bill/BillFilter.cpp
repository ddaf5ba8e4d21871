#include "BillFilter.h"

#include "SqlText.h"
#include "SuiteError.h"

#include <QStringList>

namespace {
[[noreturn]] void refuse(const QString& message) {
    throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Selezione effetti"), message);
}
}  // namespace

QString BillFilter::selectionText() const {
    QStringList parts;
    const QString code = counterpart.trimmed();
    if (!code.isEmpty()) {
        if (tipoArchivio == 0 || tipoArchivio == 1) {
            bool ok = false;
            const int n = code.toInt(&ok);
            if (!ok || n < 0)
                refuse(QStringLiteral("Il codice %1 \"%2\" non è un numero.")
                           .arg(tipoArchivio == 0 ? QStringLiteral("cliente") : QStringLiteral("fornitore"),
                                code));
            parts << QStringLiteral("EF01_CLIFOR_CG44 = %1").arg(n);
        } else {
            parts << QStringLiteral("EF01_CONTO_CG24 = ") + SqlText::quote(code);
        }
    }
    if (byName) {
        QStringList list;
        const bool numbers = tipoArchivio == 0 || tipoArchivio == 1;
        for (const QString& c : named) {
            bool ok = false;
            c.toLongLong(&ok);
            if (numbers && !ok) refuse(QStringLiteral("Il codice \"%1\" non è un numero.").arg(c));
            list << (numbers ? c : SqlText::quote(c));
        }
        if (list.isEmpty()) list << QStringLiteral("NULL");
        parts << (numbers ? QStringLiteral("EF01_CLIFOR_CG44 IN (")
                          : QStringLiteral("EF01_CONTO_CG24 IN (")) +
                     list.join(QStringLiteral(", ")) + QStringLiteral(")");
    }
    if (dueFrom.isValid() && dueTo.isValid() && dueFrom > dueTo)
        refuse(QStringLiteral("La data di scadenza iniziale è successiva a quella finale."));
    if (dueFrom.isValid())
        parts << QStringLiteral("EF01_SCADE_S >= '%1'").arg(dueFrom.toString(QStringLiteral("yyyyMMdd")));
    if (dueTo.isValid())
        parts << QStringLiteral("EF01_SCADE_S <= '%1'").arg(dueTo.toString(QStringLiteral("yyyyMMdd")));
    if (amountFrom && amountTo && *amountFrom > *amountTo)
        refuse(QStringLiteral("L'importo iniziale è maggiore di quello finale."));
    if (amountFrom && amountTo && *amountFrom == *amountTo)
        parts << QStringLiteral("EF01_IMPEFF_S = ") + amountFrom->toString();
    else {
        if (amountFrom) parts << QStringLiteral("EF01_IMPEFF_S >= ") + amountFrom->toString();
        if (amountTo) parts << QStringLiteral("EF01_IMPEFF_S <= ") + amountTo->toString();
    }
    if (document) parts << QStringLiteral("EF01_NUMDOC = %1").arg(*document);
    if (billNumber) parts << QStringLiteral("EF01_NUMEFF = %1").arg(*billNumber);
    if (state == 0 || state == 1) parts << QStringLiteral("EF01_INDSTATO_S = %1").arg(state);
    if (billType > 0) parts << QStringLiteral("EF01_TIPOEFF = %1").arg(billType);
    if (bank > 0) parts << QStringLiteral("EF01_BANCAPRE_SCG12 = %1").arg(bank);
    return parts.join(QStringLiteral(" AND "));
}

QString BillFilter::orderText() const {
    // The days overdue grow as the due date goes back: that order is the due date's reverse.
    const bool back = sort == Sort::Overdue ? !descending : descending;
    const QString direction = back ? QStringLiteral(" DESC") : QString();
    const QString key = QStringLiteral("EF01_NUMREG_CO99, EF01_PROGEFF");
    switch (sort) {
        case Sort::Due:
        case Sort::Overdue:
            return QStringLiteral("EF01_SCADE_S") + direction + QStringLiteral(", ") + key;
        case Sort::Amount:
            return QStringLiteral("EF01_IMPEFF_S") + direction + QStringLiteral(", EF01_SCADE_S, ") + key;
        case Sort::BillType:
            return QStringLiteral("EF01_TIPOEFF") + direction + QStringLiteral(", EF01_SCADE_S, ") + key;
        case Sort::State:
            return QStringLiteral("EF01_INDSTATO_S") + direction + QStringLiteral(", EF01_SCADE_S, ") + key;
    }
    return QStringLiteral("EF01_SCADE_S, ") + key;
}
