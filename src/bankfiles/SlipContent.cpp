#include "SlipContent.h"

QString SlipContent::Bill::shown() const {
    return QStringLiteral("n. reg. %1 eff. %2 (cliente %3, scadenza %4)")
        .arg(registration)
        .arg(progressive)
        .arg(customer)
        .arg(due.toString(QStringLiteral("dd/MM/yyyy")));
}

QString SlipContent::Bill::documentReference() const {
    QString text =
        QStringLiteral("DOC. N. %1").arg(documentNumber > 0 ? QString::number(documentNumber) : registration);
    if (!documentSection.isEmpty()) text += u'/' + documentSection;
    if (documentDate.isValid())
        text += QStringLiteral(" DEL %1").arg(documentDate.toString(QStringLiteral("dd/MM/yyyy")));
    return text;
}
