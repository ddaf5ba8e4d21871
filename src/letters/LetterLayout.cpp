#include "LetterLayout.h"

#include "ItalianFormat.h"

#include <QRegularExpression>

namespace {

QString esc(const QString& text) {
    return text.toHtmlEscaped();
}

QString paragraphs(const QString& text) {
    QString html;
    for (const QString& p : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        html += QStringLiteral("<p>") + esc(p.trimmed()) + QStringLiteral("</p>");
    return html;
}

// Amounts and dates stay on one line ("1.016,06" is not split at its point).
QString cell(const QString& text, bool right = false) {
    return (right ? QStringLiteral("<td align=\"right\" style=\"white-space: nowrap\">")
                  : QStringLiteral("<td style=\"white-space: nowrap\">")) +
           text + QStringLiteral("</td>");
}

QString body(const ReminderLetter& letter, const LetterSender& sender) {
    QString html =
        QStringLiteral("<table width=\"100%\" cellpadding=\"0\"><tr><td><b style=\"font-size: 13pt\">") +
        esc(sender.name) + QStringLiteral("</b>");
    if (!sender.vatNumber.isEmpty()) html += QStringLiteral("<br>Partita IVA ") + esc(sender.vatNumber);
    if (!sender.city.isEmpty()) html += QStringLiteral("<br>") + esc(sender.city);
    html += QStringLiteral("</td><td align=\"right\">Spettabile<br><b>") + esc(letter.customerName) +
            QStringLiteral("</b>");
    for (const QString& line : letter.address) html += QStringLiteral("<br>") + esc(line);
    html += QStringLiteral("<br>Codice cliente ") + esc(letter.customerCode) +
            QStringLiteral("</td></tr></table>");
    html += QStringLiteral("<p>") +
            esc(sender.city.isEmpty() ? QString() : sender.city + QStringLiteral(", ")) +
            ItalianFormat::date(letter.date) + QStringLiteral("</p>");
    html += QStringLiteral("<p><b>Oggetto: ") + esc(letter.subject) + QStringLiteral("</b></p>");
    html += paragraphs(letter.head);
    html += QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\" style=\"font-size: "
        "8pt\"><tr><th>Scadenza</th>"
        "<th>Documento</th><th>Importo €</th><th>Giorni di ritardo</th><th>Tasso %</th>"
        "<th>Periodo interessi</th><th>Interessi €</th><th>Spese €</th><th>Totale €</th></tr>");
    for (const LetterLine& l : letter.lines) {
        QString document = QStringLiteral("n. ") + esc(l.documentNumber);
        if (l.documentDate.isValid())
            document += QStringLiteral(" del ") + ItalianFormat::date(l.documentDate);
        if (!l.billNumber.isEmpty()) document += QStringLiteral(", effetto ") + esc(l.billNumber);
        const bool interest = l.rate.has_value();
        html += QStringLiteral("<tr>") + cell(ItalianFormat::date(l.due)) + QStringLiteral("<td>") +
                document + QStringLiteral("</td>") + cell(ItalianFormat::amount(l.amount), true) +
                cell(QString::number(l.daysOverdue), true) +
                cell(interest ? ItalianFormat::amount(*l.rate) : QString(), true) +
                // The period may wrap between its two dates: the table must fit a portrait page.
                QStringLiteral("<td>") +
                (interest ? QStringLiteral("dal&nbsp;") + ItalianFormat::date(l.interestFrom) +
                                QStringLiteral(" al&nbsp;") + ItalianFormat::date(l.interestTo)
                          : QString()) +
                QStringLiteral("</td>") + cell(ItalianFormat::amount(l.interest), true) +
                cell(ItalianFormat::amount(l.charges), true) + cell(ItalianFormat::amount(l.total()), true) +
                QStringLiteral("</tr>");
    }
    // Cells of their own, not one spanning the row: Qt's tables size spanned columns badly.
    html +=
        QStringLiteral("<tr>") + cell(QStringLiteral("<b>Totale dovuto</b>")) +
        QString(QStringLiteral("<td></td>")).repeated(7) +
        cell(QStringLiteral("<b>") + ItalianFormat::amount(letter.total()) + QStringLiteral("</b>"), true) +
        QStringLiteral("</tr></table>");
    html += paragraphs(letter.foot);
    if (!sender.iban.isEmpty())
        html += QStringLiteral("<p>Il pagamento può essere fatto con bonifico a ") + esc(sender.name) +
                QStringLiteral(", IBAN <b>") + esc(sender.iban) + QStringLiteral("</b>") +
                (sender.bankName.isEmpty() ? QString()
                                           : QStringLiteral(" (") + esc(sender.bankName) + QLatin1Char(')')) +
                QStringLiteral(", indicando il codice cliente e i documenti.</p>");
    html += QStringLiteral("<p>Distinti saluti.</p><p>") + esc(sender.name) + QStringLiteral("</p>");
    return html;
}

QString document(const QString& inside) {
    return QStringLiteral("<html><body style=\"font-family: 'DejaVu Sans'; font-size: 9pt\">") + inside +
           QStringLiteral("</body></html>");
}

}  // namespace

namespace LetterLayout {

QString html(const ReminderLetter& letter, const LetterSender& sender) {
    return document(body(letter, sender));
}

QString html(const QList<ReminderLetter>& letters, const LetterSender& sender) {
    QString inside;
    for (qsizetype i = 0; i < letters.size(); ++i)
        inside +=
            (i == 0 ? QStringLiteral("<div>") : QStringLiteral("<div style=\"page-break-before: always\">")) +
            body(letters.at(i), sender) + QStringLiteral("</div>");
    return document(inside);
}

QString title(const ReminderLetter& letter) {
    return QStringLiteral("%1 - %2").arg(letter.subject, letter.customerName);
}

QString fileName(const ReminderLetter& letter) {
    QString name = letter.customerName;
    // Letters, digits and a few signs only: the name is the customer's, typed by anyone.
    name.replace(QRegularExpression(QStringLiteral("[^\\w\\-]+")), QStringLiteral("_"));
    return QStringLiteral("sollecito_%1_%2.pdf").arg(letter.customerCode, name.left(40));
}

}  // namespace LetterLayout
