#include "BillReport.h"

#include "BillKey.h"
#include "Connection.h"
#include "CounterpartNames.h"
#include "ItalianFormat.h"
#include "LetterBuilder.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QStringList>
#include <algorithm>

namespace {

const QString kBillReportTitle = QStringLiteral("Stampa effetto");

// One result's rows with their columns found by name.
struct Rows {
    ResultSet result;
    QVariant at(size_t row, const QString& column) const {
        for (size_t c = 0; c < result.columns.size(); ++c)
            if (result.columns[c].name.compare(column, Qt::CaseInsensitive) == 0)
                return Value::natural(result.rows[row].value(static_cast<int>(c)));
        return {};
    }
    QString text(size_t row, const QString& column) const {
        return Value::toText(at(row, column)).trimmed().toHtmlEscaped();
    }
    QString date(size_t row, const QString& column) const {
        const QVariant v = at(row, column);
        return Value::isNull(v) ? QString() : ItalianFormat::date(Value::toDate(v));
    }
    Decimal decimal(size_t row, const QString& column) const {
        const QVariant v = at(row, column);
        return Value::isNull(v) ? Decimal::fromMantissa(0, 2) : Value::toDecimal(v).rounded(2);
    }
    QString amount(size_t row, const QString& column) const {
        const QVariant v = at(row, column);
        return Value::isNull(v) ? QString() : ItalianFormat::amount(Value::toDecimal(v));
    }
};

Rows read(Connection& connection, const QString& sql) {
    std::vector<ResultSet> results = connection.Query(sql);
    return Rows{results.empty() ? ResultSet{} : std::move(results.front())};
}

QString table(const QString& title, const QStringList& heads, const QList<QStringList>& rows) {
    QString html = QStringLiteral("<h3>") + title + QStringLiteral("</h3>");
    if (rows.isEmpty()) return html + QStringLiteral("<p>Nessuno.</p>");
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>");
    for (const QString& h : heads) html += QStringLiteral("<th>") + h + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (const QStringList& r : rows) {
        html += QStringLiteral("<tr>");
        for (const QString& v : r) html += QStringLiteral("<td>") + v + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// The Bill's bills of exchange and assignments and its history movements, each as a titled table.
QString childSections(Connection& db, const BillKey& key) {
    const Rows exchange = read(
        db, QStringLiteral("SELECT * FROM EF03_SCADCECAM WITH (NOLOCK)") + key.where(QStringLiteral("EF03")));
    QString html;
    QList<QStringList> rows;
    for (size_t r = 0; r < exchange.result.rows.size(); ++r)
        rows << QStringList{exchange.text(r, QStringLiteral("EF03_DEBITORE")),
                            exchange.text(r, QStringLiteral("EF03_PIAZZA")),
                            exchange.text(r, QStringLiteral("EF03_NUMREGRIC_EF01")),
                            exchange.text(r, QStringLiteral("EF03_NUMREGGIR_EF01"))};
    html += table(QStringLiteral("Cambiali e cessioni"),
                  {QStringLiteral("Debitore"), QStringLiteral("Piazza"), QStringLiteral("Ricevuto da reg."),
                   QStringLiteral("Girato a reg.")},
                  rows);

    const Rows history =
        read(db, QStringLiteral("SELECT * FROM EF06_SCADSTO WITH (NOLOCK)") +
                     key.where(QStringLiteral("EF06")) + QStringLiteral(" ORDER BY EF06_PROGSTO"));
    rows.clear();
    for (size_t r = 0; r < history.result.rows.size(); ++r)
        rows << QStringList{history.text(r, QStringLiteral("EF06_PROGSTO")),
                            history.date(r, QStringLiteral("EF06_DATAREG")),
                            history.text(r, QStringLiteral("EF06_INDTIPOPER")),
                            history.date(r, QStringLiteral("EF06_SCADE_S")),
                            history.amount(r, QStringLiteral("EF06_IMPEFF_S"))};
    html += table(QStringLiteral("Movimenti storici"),
                  {QStringLiteral("N."), QStringLiteral("Data"), QStringLiteral("Operazione"),
                   QStringLiteral("Scadenza"), QStringLiteral("Importo €")},
                  rows);

    return html;
}

// The Bill's reminders as a titled table; `charged` is what they put on the customer (interest and
// charges).
QString reminderSection(Connection& db, const BillKey& key, Decimal& charged) {
    const Rows reminders =
        read(db, QStringLiteral("SELECT * FROM EF05_SCADSOLLEC WITH (NOLOCK)") +
                     key.where(QStringLiteral("EF05")) + QStringLiteral(" ORDER BY EF05_PROGAVVISI"));
    QList<QStringList> rows;
    charged = Decimal::fromMantissa(0, 2);
    for (size_t r = 0; r < reminders.result.rows.size(); ++r) {
        Decimal charges = Decimal::fromMantissa(0, 2);
        for (const char* column : {"EF05_SPESERIT", "EF05_SPBOLLO", "EF05_SPPOST", "EF05_SPVARIE"})
            charges = charges + reminders.decimal(r, QString::fromLatin1(column));
        const Decimal interest = reminders.decimal(r, QStringLiteral("EF05_IMPINTERES"));
        charged = charged + interest + charges;
        const QString from = reminders.date(r, QStringLiteral("EF05_DADATACALC"));
        const QString to = reminders.date(r, QStringLiteral("EF05_ADATACALC"));
        rows << QStringList{reminders.text(r, QStringLiteral("EF05_PROGAVVISI")),
                            reminders.date(r, QStringLiteral("EF05_DATAAVVISO")),
                            reminders.text(r, QStringLiteral("EF05_SIGLALETTERA")),
                            reminders.amount(r, QStringLiteral("EF05_TASSOINT")),
                            from.isEmpty() ? QString() : from + QStringLiteral(" - ") + to,
                            ItalianFormat::amount(interest),
                            ItalianFormat::amount(charges)};
    }
    return table(QStringLiteral("Solleciti"),
                 {QStringLiteral("N."), QStringLiteral("Data avviso"), QStringLiteral("Lettera"),
                  QStringLiteral("Tasso %"), QStringLiteral("Periodo interessi"),
                  QStringLiteral("Interessi €"), QStringLiteral("Spese €")},
                 rows);
}

// The company's name, VAT number and town beside the day of the print.
QString companyHeading(const LetterSender& company, const QDate& today) {
    return QStringLiteral("<table width=\"100%\"><tr><td><b>") + company.name.toHtmlEscaped() +
           QStringLiteral("</b>") +
           (company.vatNumber.isEmpty()
                ? QString()
                : QStringLiteral("<br>Partita IVA ") + company.vatNumber.toHtmlEscaped()) +
           (company.city.isEmpty() ? QString() : QStringLiteral("<br>") + company.city.toHtmlEscaped()) +
           QStringLiteral("</td><td align=\"right\">Stampato il ") + ItalianFormat::date(today) +
           QStringLiteral("</td></tr></table>");
}

}  // namespace

BillReport::BillReport(std::shared_ptr<Connection> connection, int tipoArchivio, qint32 ledgerGroup)
    : connection_(std::move(connection)), tipoArchivio_(tipoArchivio), ledgerGroup_(ledgerGroup) {}

BillReport::Page BillReport::page(const QString& keyText, const QDate& today) const {
    const BillKey key = BillKey::parse(keyText, kBillReportTitle);
    Connection& db = *connection_;
    const Rows bill = read(
        db, QStringLiteral("SELECT * FROM EF01_SCADENZE WITH (NOLOCK)") + key.where(QStringLiteral("EF01")));
    if (bill.result.rows.empty())
        throw SuiteError(SuiteError::kTypeMismatch, kBillReportTitle,
                         QStringLiteral("L'effetto non c'è più: forse un altro utente l'ha eliminato."));
    const QString codeColumn =
        tipoArchivio_ <= 1 ? QStringLiteral("EF01_CLIFOR_CG44") : QStringLiteral("EF01_CONTO_CG24");
    const QString code = Value::toText(bill.at(0, codeColumn)).trimmed();
    CounterpartNames names(connection_, key.company, tipoArchivio_, ledgerGroup_);
    names.load({code});
    const QString currency = bill.text(0, QStringLiteral("EF01_CODICE_CG08"));
    const bool foreign = !currency.isEmpty() && currency.toUpper() != QStringLiteral("EURO");

    const LetterSender company = LetterBuilder(connection_, key.company).sender();
    Page page;
    page.title = QStringLiteral("Effetto n. %1 del documento %2")
                     .arg(Value::toText(bill.at(0, QStringLiteral("EF01_NUMEFF"))).trimmed(),
                          Value::toText(bill.at(0, QStringLiteral("EF01_NUMDOC"))).trimmed());
    page.author = company.name;
    QString html = QStringLiteral("<html><body style=\"font-family: 'DejaVu Sans'; font-size: 9pt\">");
    html += companyHeading(company, today);
    html += QStringLiteral("<h2>") + page.title.toHtmlEscaped() + QStringLiteral("</h2>");
    const QDate due = Value::toDate(bill.at(0, QStringLiteral("EF01_SCADE_S")));
    const bool open = Value::toInt(bill.at(0, QStringLiteral("EF01_INDSTATO_S"))) != 1;
    const qint64 overdue = due.isValid() && open ? std::max<qint64>(0, due.daysTo(today)) : 0;
    const QList<QStringList> header{
        {QStringLiteral("Controparte"),
         code.toHtmlEscaped() + QStringLiteral(" ") + names.nameOf(code).toHtmlEscaped()},
        {QStringLiteral("Registrazione"), key.registration.toHtmlEscaped()},
        {QStringLiteral("Data documento"), bill.date(0, QStringLiteral("EF01_DATADOC"))},
        {QStringLiteral("Scadenza"), bill.date(0, QStringLiteral("EF01_SCADE_S"))},
        {QStringLiteral("Giorni di ritardo"), QString::number(overdue)},
        {QStringLiteral("Importo €"), bill.amount(0, QStringLiteral("EF01_IMPEFF_S"))},
        {QStringLiteral("Valuta"),
         foreign ? currency + QStringLiteral(" ") + bill.amount(0, QStringLiteral("EF01_IMPEFFVAL_S"))
                 : QStringLiteral("EURO")},
        {QStringLiteral("Stato"), open ? QStringLiteral("Aperto") : QStringLiteral("Chiuso")},
        {QStringLiteral("Banca di presentazione"), bill.text(0, QStringLiteral("EF01_BANCAPRE_SCG12"))},
    };
    html += QStringLiteral("<table cellpadding=\"2\">");
    for (const QStringList& r : header)
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(r.at(0), r.at(1));
    html += QStringLiteral("</table>");

    html += childSections(db, key);
    Decimal charged;
    html += reminderSection(db, key, charged);
    // What the customer owes: the Bill while it is open, and what its reminders charged.
    const Decimal amount =
        open ? bill.decimal(0, QStringLiteral("EF01_IMPEFF_S")) : Decimal::fromMantissa(0, 2);
    html +=
        QStringLiteral("<p><b>Totale dovuto € %1</b> (importo %2, interessi e spese dei solleciti %3)</p>")
            .arg(ItalianFormat::amount(amount + charged), ItalianFormat::amount(amount),
                 ItalianFormat::amount(charged));
    page.html = html + QStringLiteral("</body></html>");
    return page;
}
