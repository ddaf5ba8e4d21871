#include "OutcomeScript.h"

#include "OutcomeInput.h"
#include "OutcomeRegistrar.h"
#include "SlipBook.h"
#include "StatusReportImport.h"
#include "SuiteError.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace {

const QString kSlip = QStringLiteral("distinta");
const QString kCredit = QStringLiteral("accredita");
const QString kPay = QStringLiteral("incassa");
const QString kBills = QStringLiteral("effetti");
const QString kUnpaid = QStringLiteral("insoluto");
const QString kDate = QStringLiteral("data-insoluto");
const QString kBankCharges = QStringLiteral("spese-banca");
const QString kMode = QStringLiteral("gestione-spese");
const QString kCustomerCharges = QStringLiteral("spese-cliente");
const QString kReminder = QStringLiteral("sollecito");
const QString kReport = QStringLiteral("esito-sepa");

}  // namespace

void OutcomeScript::addOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {kSlip, QStringLiteral("Distinta su cui registrare l'esito: tipo,anno,numero (tipo 0 Riba, 1 Rid)."),
         QStringLiteral("T,A,N")},
        {kCredit, QStringLiteral("La banca ha accreditato la distinta in questa data."),
         QStringLiteral("gg/mm/aaaa")},
        {kPay,
         QStringLiteral(
             "Incassa alla scadenza, in questa data, gli effetti in attesa della distinta (o quelli di "
             "--effetti)."),
         QStringLiteral("gg/mm/aaaa")},
        {kBills, QStringLiteral("Con --incassa: le chiavi degli effetti, separate da punto e virgola."),
         QStringLiteral("chiavi")},
        {kUnpaid,
         QStringLiteral("Registra insoluto l'effetto di questa chiave (ditta,registrazione,riga,progressivo "
                        "e/c,progressivo)."),
         QStringLiteral("chiave")},
        {kDate, QStringLiteral("Con --insoluto: la data dell'insoluto (oggi se manca)."),
         QStringLiteral("gg/mm/aaaa")},
        {kBankCharges, QStringLiteral("Con --insoluto: le spese addebitate dalla banca."),
         QStringLiteral("importo")},
        {kMode,
         QStringLiteral(
             "Con --insoluto: gestione delle spese di ritorno (0 nessun addebito, 1 solo annotate, 2 "
             "sommate, 3 nuovo effetto)."),
         QStringLiteral("0-3")},
        {kCustomerCharges, QStringLiteral("Con --insoluto: le spese a carico del cliente."),
         QStringLiteral("importo")},
        {kReminder,
         QStringLiteral("Con --insoluto o --esito-sepa: registra il sollecito per la lettera al cliente.")},
        {kReport, QStringLiteral("Importa il file di esito SEPA (pain.002) della distinta Rid."),
         QStringLiteral("file")},
    });
}

bool OutcomeScript::asked(const QCommandLineParser& parser) {
    return parser.isSet(kSlip) || parser.isSet(kCredit) || parser.isSet(kPay) || parser.isSet(kUnpaid) ||
           parser.isSet(kReport);
}

int OutcomeScript::run(const QCommandLineParser& parser, const std::shared_ptr<Connection>& connection,
                       qint32 company) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        const SlipKey slip = SlipKey::parse(company, parser.value(kSlip), QStringLiteral("--distinta"));
        const SlipBook book(connection);
        if (parser.isSet(kCredit)) {
            book.credit(slip, OutcomeInput::date(parser.value(kCredit), QStringLiteral("--accredita")));
            out << "Distinta " << slip.shown() << ": " << SlipBook::stateName(book.slip(slip).state) << '\n';
        } else if (parser.isSet(kPay)) {
            const QStringList bills = parser.value(kBills).split(QLatin1Char(';'), Qt::SkipEmptyParts);
            const int paid =
                OutcomeRegistrar(connection)
                    .pay(slip, bills, OutcomeInput::date(parser.value(kPay), QStringLiteral("--incassa")));
            out << "Effetti incassati: " << paid << '\n';
        } else if (parser.isSet(kUnpaid)) {
            UnpaidRequest r;
            r.slip = slip;
            r.bill = parser.value(kUnpaid);
            r.date = parser.isSet(kDate)
                         ? OutcomeInput::date(parser.value(kDate), QStringLiteral("--data-insoluto"))
                         : QDate::currentDate();
            r.bankCharges = OutcomeInput::amount(parser.value(kBankCharges), QStringLiteral("--spese-banca"));
            bool ok = true;
            r.chargesMode = parser.isSet(kMode) ? parser.value(kMode).toInt(&ok) : 0;
            if (!ok) r.chargesMode = -1;
            if (parser.isSet(kCustomerCharges))
                r.customerCharges =
                    OutcomeInput::amount(parser.value(kCustomerCharges), QStringLiteral("--spese-cliente"));
            r.reminder = parser.isSet(kReminder);
            OutcomeRegistrar(connection).unpaid({r});
            out << "Insoluti della distinta " << slip.shown() << ": " << book.slip(slip).unpaid << '\n';
        } else if (parser.isSet(kReport)) {
            QFile file(parser.value(kReport));
            if (!file.open(QIODevice::ReadOnly))
                throw SuiteError(SuiteError::kItemNotFound, QStringLiteral("Esito SEPA"),
                                 QStringLiteral("Il file %1 non si può leggere: %2.")
                                     .arg(parser.value(kReport), file.errorString()));
            out << StatusReportImport(connection, slip)
                       .apply(StatusReport::parse(file.readAll()), parser.isSet(kReminder))
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
