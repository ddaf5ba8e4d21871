#include "OutcomeScript.h"

#include "OutcomeInput.h"
#include "OutcomeRegistrar.h"
#include "ProgramOptions.h"
#include "SlipBook.h"
#include "StatusReportImport.h"
#include "SuiteError.h"

#include <QFile>
#include <QTextStream>

int OutcomeScript::run(const ProgramOptions& o, const std::shared_ptr<Connection>& connection,
                       qint32 company) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        const SlipKey slip = SlipKey::parse(company, o.outcomeSlip, QStringLiteral("--distinta"));
        const SlipBook book(connection);
        if (!o.credit.isEmpty()) {
            book.credit(slip, OutcomeInput::date(o.credit, QStringLiteral("--accredita")));
            out << "Distinta " << slip.shown() << ": " << SlipBook::stateName(book.slip(slip).state) << '\n';
        } else if (!o.pay.isEmpty()) {
            const QStringList bills = o.bills.split(QLatin1Char(';'), Qt::SkipEmptyParts);
            const int paid = OutcomeRegistrar(connection)
                                 .pay(slip, bills, OutcomeInput::date(o.pay, QStringLiteral("--incassa")));
            out << "Effetti incassati: " << paid << '\n';
        } else if (!o.unpaid.isEmpty()) {
            UnpaidRequest r;
            r.slip = slip;
            r.bill = o.unpaid;
            r.date = !o.unpaidDate.isEmpty()
                         ? OutcomeInput::date(o.unpaidDate, QStringLiteral("--data-insoluto"))
                         : QDate::currentDate();
            r.bankCharges = OutcomeInput::amount(o.bankCharges, QStringLiteral("--spese-banca"));
            bool ok = true;
            r.chargesMode = !o.chargesMode.isEmpty() ? o.chargesMode.toInt(&ok) : 0;
            if (!ok) r.chargesMode = -1;
            if (!o.customerCharges.isEmpty())
                r.customerCharges =
                    OutcomeInput::amount(o.customerCharges, QStringLiteral("--spese-cliente"));
            r.reminder = o.reminder;
            OutcomeRegistrar(connection).unpaid({r});
            out << "Insoluti della distinta " << slip.shown() << ": " << book.slip(slip).unpaid << '\n';
        } else if (!o.statusReport.isEmpty()) {
            QFile file(o.statusReport);
            if (!file.open(QIODevice::ReadOnly))
                throw SuiteError(SuiteError::kItemNotFound, QStringLiteral("Esito SEPA"),
                                 QStringLiteral("Il file %1 non si può leggere: %2.")
                                     .arg(o.statusReport, file.errorString()));
            out << StatusReportImport(connection, slip)
                       .apply(StatusReport::parse(file.readAll()), o.reminder)
                       .text()
                << '\n';
        } else {
            err << "Indicare l'esito da registrare: --accredita, --incassa, --insoluto o --esito-sepa.\n";
            return 2;
        }
    } catch (const SuiteError& e) {
        err << e.description() << '\n';
        return 1;
    }
    return 0;
}
