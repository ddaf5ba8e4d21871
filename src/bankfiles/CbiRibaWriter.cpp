#include "CbiRibaWriter.h"

#include "BankText.h"
#include "FixedRecord.h"
#include "SuiteError.h"

namespace {

const QString kCbiRibaWriterSource = QStringLiteral("CbiRibaWriter");

[[noreturn]] void refuseRiba(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, kCbiRibaWriterSource, why);
}

QString ddmmyy(const QDate& day) {
    return day.toString(QStringLiteral("ddMMyy"));
}

// Cents of a positive amount; refuses one that is not, or that has more digits than `width`.
qint64 cents(const SlipContent::Bill& bill, int width) {
    const Decimal rounded = bill.amount.rounded(2);
    if (rounded.sign() <= 0)
        refuseRiba(
            QStringLiteral("L'effetto %1 ha un importo non positivo (%2): non si può incassare con una "
                           "Ri.Ba.")
                .arg(bill.shown(), rounded.toString()));
    if (rounded.integerDigits() + 2 > width)
        refuseRiba(
            QStringLiteral("L'effetto %1 ha un importo (%2) più ampio delle %3 cifre che il file Ri.Ba. "
                           "ammette.")
                .arg(bill.shown(), rounded.toString())
                .arg(width));
    return qint64((rounded * Decimal(100)).toLongLong());
}

FixedRecord record(const char* type, int progressive) {
    FixedRecord r(CbiRibaWriter::kRecordLength);
    r.text(2, 2, QString::fromLatin1(type));
    if (progressive > 0) r.number(4, 7, progressive);
    return r;
}

// The fields IB and EF share: sender, receiver, date, support name, currency.
FixedRecord frame(const char* type, const SlipContent& slip, const QString& support, const QDate& day) {
    FixedRecord r = record(type, 0);
    r.text(4, 5, slip.creditor.siaCode).number(9, 5, slip.bank.abi).text(14, 6, ddmmyy(day));
    r.text(20, 20, support).text(114, 1, QStringLiteral("E"));
    return r;
}

}  // namespace

QString CbiRibaWriter::supportName(const SlipContent& slip, const QDateTime& now) {
    return QStringLiteral("RB%1%2%3")
        .arg(slip.key.year % 10000, 4, 10, QLatin1Char('0'))
        .arg(slip.key.number % 1000000, 6, 10, QLatin1Char('0'))
        .arg(now.toString(QStringLiteral("ddHHmmss")));
}

QByteArray CbiRibaWriter::write(const SlipContent& slip, const QDateTime& now) {
    const SlipContent::Creditor& c = slip.creditor;
    if (c.siaCode.isEmpty() || c.siaCode.size() > 5)
        refuseRiba(
            QStringLiteral("La ditta %1 non ha il codice SIA (5 caratteri) che il file Ri.Ba. richiede: "
                           "indicarlo nei dati della ditta per le banche.")
                .arg(c.name));
    if (slip.bank.account.isEmpty())
        refuseRiba(
            QStringLiteral("La banca aziendale \"%1\" non ha un IBAN italiano valido da cui leggere il conto "
                           "corrente.")
                .arg(slip.bank.name));
    if (slip.bills.size() > 9999999)
        refuseRiba(QStringLiteral("La distinta %1 ha più effetti di quanti un file Ri.Ba. ne contenga.")
                       .arg(slip.key.shown()));

    const QString support = supportName(slip, now);
    const QByteArray end = "\r\n";
    QByteArray out;
    out.reserve(qsizetype(slip.bills.size() * 7 + 2) * (kRecordLength + 2));
    const auto put = [&](const FixedRecord& r) { out += r.bytes() + end; };

    put(frame("IB", slip, support, now.date()));
    qint64 total = 0;
    int progressive = 0;
    for (const SlipContent::Bill& b : slip.bills) {
        ++progressive;
        if (b.debtorAbi <= 0 || b.debtorCab <= 0)
            refuseRiba(
                QStringLiteral("L'effetto %1 non ha la banca d'appoggio del debitore (ABI e CAB): senza la "
                               "banca la Ri.Ba. non si può presentare.")
                    .arg(b.shown()));
        const qint64 amount = cents(b, 13);
        total += amount;

        FixedRecord r14 = record("14", progressive);
        r14.text(23, 6, ddmmyy(b.due)).text(29, 5, QStringLiteral("30000")).number(34, 13, amount);
        r14.text(47, 1, QStringLiteral("-")).number(48, 5, slip.bank.abi).number(53, 5, slip.bank.cab);
        r14.text(58, 12, slip.bank.account).number(70, 5, b.debtorAbi).number(75, 5, b.debtorCab);
        r14.text(92, 5, c.siaCode).text(97, 1, QStringLiteral("4")).text(98, 16, QString::number(b.customer));
        r14.text(120, 1, QStringLiteral("E"));
        put(r14);

        FixedRecord r20 = record("20", progressive);
        QString town = c.postcode + u' ' + c.town;
        if (!c.province.isEmpty()) town += QStringLiteral(" (%1)").arg(c.province);
        r20.text(11, 24, c.name).text(35, 24, c.address).text(59, 24, town.trimmed()).text(83, 24, c.taxCode);
        put(r20);

        FixedRecord r30 = record("30", progressive);
        const QString debtor = BankText::ascii(b.debtorName);
        r30.text(11, 30, debtor).text(41, 30, debtor.mid(30)).text(71, 16, b.debtorTaxCode);
        put(r30);

        FixedRecord r40 = record("40", progressive);
        r40.text(11, 30, b.debtorAddress).text(41, 5, b.debtorPostcode).text(46, 22, b.debtorTown);
        r40.text(68, 2, b.debtorProvince).text(70, 50, b.debtorBankName);
        put(r40);

        FixedRecord r50 = record("50", progressive);
        r50.text(11, 40, b.documentReference())
            .text(51, 40, QStringLiteral("REG. %1 EFF. %2").arg(b.registration).arg(b.progressive))
            .text(101, 16, c.taxCode);
        put(r50);

        FixedRecord r51 = record("51", progressive);
        r51.number(11, 10, progressive).text(21, 20, c.shortName);
        put(r51);

        put(record("70", progressive));
    }
    if (!FixedRecord(1).fits(15, total))
        refuseRiba(
            QStringLiteral("Il totale della distinta %1 supera le 15 cifre che il file Ri.Ba. ammette.")
                .arg(slip.key.shown()));
    FixedRecord ef = frame("EF", slip, support, now.date());
    ef.number(46, 7, progressive).number(53, 15, total).number(68, 15, 0);
    ef.number(83, 7, qint64(progressive) * 7 + 2);
    put(ef);
    return out;
}
