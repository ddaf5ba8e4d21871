#include "Pain008Writer.h"

#include "BankText.h"
#include "Iban.h"
#include "SuiteError.h"

#include <QXmlStreamWriter>
#include <map>

namespace {

const QString kPain008WriterSource = QStringLiteral("Pain008Writer");
const QString kNamespace = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.008.001.02");
// The message's amounts have at most 18 digits, 2 of them decimals here.
constexpr int kAmountDigits = 18;

[[noreturn]] void refuseSdd(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, kPain008WriterSource, why);
}

// The SEPA character set: letters, digits and / - ? : ( ) . , ' + and the blank; the rest
// becomes a blank. At most `length` characters, never empty.
QString sepa(const QString& text, int length) {
    QString out = BankText::ascii(text);
    for (QChar& c : out)
        if (!c.isLetterOrNumber() && !QStringLiteral("/-?:().,'+ ").contains(c)) c = u' ';
    out = out.simplified().left(length).trimmed();
    return out.isEmpty() ? QStringLiteral("NOTPROVIDED") : out;
}

QString amount(const Decimal& value) {
    return value.rounded(2).toString();
}

class Writer {
public:
    Writer(const SlipContent& slip, const QDateTime& now) : slip_(slip), now_(now), xml_(&out_) {}

    QByteArray run() {
        check();
        std::map<std::pair<QDate, QString>, std::vector<const SlipContent::Bill*>> groups;
        Decimal total;
        for (const SlipContent::Bill& b : slip_.bills) {
            groups[{std::max(b.due, now_.date()), Pain008Writer::sequenceType(b)}].push_back(&b);
            total = total + b.amount.rounded(2);
        }
        if (total.integerDigits() + 2 > kAmountDigits)
            refuseSdd(
                QStringLiteral("Il totale della distinta %1 è più ampio di quanto il file SEPA ammette.")
                    .arg(slip_.key.shown()));
        messageId_ = Pain008Writer::messageId(slip_.key, now_);

        xml_.setAutoFormatting(true);
        xml_.writeStartDocument();
        xml_.writeDefaultNamespace(kNamespace);
        xml_.writeStartElement(kNamespace, QStringLiteral("Document"));
        xml_.writeStartElement(QStringLiteral("CstmrDrctDbtInitn"));
        header(total);
        int index = 0;
        for (const auto& [group, bills] : groups) payment(++index, group.first, group.second, bills);
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeEndDocument();
        return out_;
    }

private:
    void check() const {
        const SlipContent::Creditor& c = slip_.creditor;
        if (c.creditorId.isEmpty())
            refuseSdd(
                QStringLiteral("La ditta %1 non ha l'identificativo del creditore SEPA che il file degli "
                               "addebiti diretti richiede: indicarlo nei dati della ditta per le banche.")
                    .arg(c.name));
        if (!Iban::valid(slip_.bank.iban))
            refuseSdd(
                QStringLiteral("L'IBAN \"%1\" della banca aziendale \"%2\" non è valido (cifre di controllo "
                               "errate).")
                    .arg(slip_.bank.iban, slip_.bank.name));
        for (const SlipContent::Bill& b : slip_.bills) {
            if (b.debtorIban.isEmpty())
                refuseSdd(
                    QStringLiteral("L'effetto %1 non ha l'IBAN del debitore: indicare il conto corrente del "
                                   "cliente.")
                        .arg(b.shown()));
            if (!Iban::valid(b.debtorIban))
                refuseSdd(QStringLiteral("L'IBAN \"%1\" del debitore dell'effetto %2 non è valido (cifre di "
                                         "controllo errate).")
                              .arg(b.debtorIban, b.shown()));
            if (!b.hasMandate || !b.mandate.signedOn.isValid())
                refuseSdd(
                    QStringLiteral("L'effetto %1 non ha il mandato SEPA (identificativo e data di firma) sul "
                                   "conto del debitore: registrarlo nei mandati.")
                        .arg(b.shown()));
            if (b.amount.rounded(2).sign() <= 0)
                refuseSdd(
                    QStringLiteral("L'effetto %1 ha un importo non positivo (%2): non si può addebitare.")
                        .arg(b.shown(), amount(b.amount)));
            if (b.amount.rounded(2).integerDigits() + 2 > kAmountDigits)
                refuseSdd(
                    QStringLiteral("L'effetto %1 ha un importo più ampio di quanto il file SEPA ammette.")
                        .arg(b.shown()));
            if (b.key.size() > 35)
                refuseSdd(
                    QStringLiteral("La chiave dell'effetto %1 supera i 35 caratteri dell'identificativo "
                                   "end-to-end.")
                        .arg(b.shown()));
            if (b.debtorName.trimmed().isEmpty())
                refuseSdd(
                    QStringLiteral("L'effetto %1 non ha la ragione sociale del debitore.").arg(b.shown()));
        }
    }

    void text(const QString& name, const QString& value) { xml_.writeTextElement(name, value); }

    void open(const QString& name) { xml_.writeStartElement(name); }
    void close() { xml_.writeEndElement(); }

    // An identification of the "Othr" kind, with its issuer or scheme as the message wants it.
    void other(const QString& id, const QString& scheme, const QString& issuer) {
        open(QStringLiteral("Othr"));
        text(QStringLiteral("Id"), id);
        if (!scheme.isEmpty()) {
            open(QStringLiteral("SchmeNm"));
            text(QStringLiteral("Prtry"), scheme);
            close();
        }
        if (!issuer.isEmpty()) text(QStringLiteral("Issr"), issuer);
        close();
    }

    void header(const Decimal& total) {
        const SlipContent::Creditor& c = slip_.creditor;
        open(QStringLiteral("GrpHdr"));
        text(QStringLiteral("MsgId"), messageId_);
        text(QStringLiteral("CreDtTm"), now_.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
        text(QStringLiteral("NbOfTxs"), QString::number(slip_.bills.size()));
        text(QStringLiteral("CtrlSum"), amount(total));
        open(QStringLiteral("InitgPty"));
        text(QStringLiteral("Nm"), sepa(c.name, 70));
        open(QStringLiteral("Id"));
        open(QStringLiteral("OrgId"));
        // The Italian banks know the sender by its CUC, else by its creditor identifier.
        if (!c.cuc.isEmpty())
            other(sepa(c.cuc, 35), {}, QStringLiteral("CBI"));
        else
            other(c.creditorId, {}, {});
        close();
        close();
        close();
        close();
    }

    void account(const QString& name, const QString& iban) {
        open(name);
        open(QStringLiteral("Id"));
        text(QStringLiteral("IBAN"), iban);
        close();
        close();
    }

    void agent(const QString& name, const QString& bic) {
        open(name);
        open(QStringLiteral("FinInstnId"));
        if (!bic.isEmpty() && (bic.size() == 8 || bic.size() == 11))
            text(QStringLiteral("BIC"), bic);
        else
            other(QStringLiteral("NOTPROVIDED"), {}, {});
        close();
        close();
    }

    void party(const QString& name, const QString& fullName, const QString& country, const QString& line1,
               const QString& line2) {
        open(name);
        text(QStringLiteral("Nm"), sepa(fullName, 70));
        if (country.size() == 2 && country[0].isLetter() && country[1].isLetter()) {
            open(QStringLiteral("PstlAdr"));
            text(QStringLiteral("Ctry"), country);
            if (!line1.trimmed().isEmpty()) text(QStringLiteral("AdrLine"), sepa(line1, 70));
            if (!line2.trimmed().isEmpty()) text(QStringLiteral("AdrLine"), sepa(line2, 70));
            close();
        }
        close();
    }

    void payment(int index, const QDate& day, const QString& sequence,
                 const std::vector<const SlipContent::Bill*>& bills) {
        const SlipContent::Creditor& c = slip_.creditor;
        Decimal sum;
        for (const SlipContent::Bill* b : bills) sum = sum + b->amount.rounded(2);
        open(QStringLiteral("PmtInf"));
        text(QStringLiteral("PmtInfId"), QStringLiteral("%1-%2").arg(messageId_).arg(index));
        text(QStringLiteral("PmtMtd"), QStringLiteral("DD"));
        text(QStringLiteral("BtchBookg"), QStringLiteral("true"));
        text(QStringLiteral("NbOfTxs"), QString::number(bills.size()));
        text(QStringLiteral("CtrlSum"), amount(sum));
        open(QStringLiteral("PmtTpInf"));
        open(QStringLiteral("SvcLvl"));
        text(QStringLiteral("Cd"), QStringLiteral("SEPA"));
        close();
        open(QStringLiteral("LclInstrm"));
        text(QStringLiteral("Cd"), QStringLiteral("CORE"));
        close();
        text(QStringLiteral("SeqTp"), sequence);
        close();
        text(QStringLiteral("ReqdColltnDt"), day.toString(Qt::ISODate));
        party(QStringLiteral("Cdtr"), c.name, slip_.bank.iban.left(2), c.address,
              (c.postcode + u' ' + c.town + u' ' + c.province).simplified());
        account(QStringLiteral("CdtrAcct"), slip_.bank.iban);
        agent(QStringLiteral("CdtrAgt"), slip_.bank.bic);
        text(QStringLiteral("ChrgBr"), QStringLiteral("SLEV"));
        open(QStringLiteral("CdtrSchmeId"));
        open(QStringLiteral("Id"));
        open(QStringLiteral("PrvtId"));
        other(c.creditorId, QStringLiteral("SEPA"), {});
        close();
        close();
        close();
        for (const SlipContent::Bill* b : bills) transaction(*b);
        close();
    }

    void transaction(const SlipContent::Bill& b) {
        open(QStringLiteral("DrctDbtTxInf"));
        open(QStringLiteral("PmtId"));
        text(QStringLiteral("EndToEndId"), b.key);
        close();
        xml_.writeStartElement(QStringLiteral("InstdAmt"));
        xml_.writeAttribute(QStringLiteral("Ccy"), QStringLiteral("EUR"));
        xml_.writeCharacters(amount(b.amount));
        close();
        open(QStringLiteral("DrctDbtTx"));
        open(QStringLiteral("MndtRltdInf"));
        text(QStringLiteral("MndtId"), sepa(b.mandate.id, 35));
        text(QStringLiteral("DtOfSgntr"), b.mandate.signedOn.toString(Qt::ISODate));
        close();
        close();
        agent(QStringLiteral("DbtrAgt"), {});
        const QString country = b.debtorCountry.isEmpty() ? b.debtorIban.left(2) : b.debtorCountry;
        party(QStringLiteral("Dbtr"), b.debtorName, country, b.debtorAddress,
              (b.debtorPostcode + u' ' + b.debtorTown + u' ' + b.debtorProvince).simplified());
        account(QStringLiteral("DbtrAcct"), b.debtorIban);
        open(QStringLiteral("RmtInf"));
        text(QStringLiteral("Ustrd"), sepa(b.documentReference(), 140));
        close();
        close();
    }

    const SlipContent& slip_;
    QDateTime now_;
    QByteArray out_;
    QXmlStreamWriter xml_;
    QString messageId_;
};

}  // namespace

QString Pain008Writer::sequenceType(const SlipContent::Bill& bill) {
    if (bill.mandate.oneOff) return QStringLiteral("OOFF");
    return bill.mandate.firstDone ? QStringLiteral("RCUR") : QStringLiteral("FRST");
}

QByteArray Pain008Writer::write(const SlipContent& slip, const QDateTime& now) {
    return Writer(slip, now).run();
}

QString Pain008Writer::messageId(const SlipKey& key, const QDateTime& now) {
    return QStringLiteral("SDD%1%2%3")
        .arg(key.year)
        .arg(key.number, 6, 10, QLatin1Char('0'))
        .arg(now.toString(QStringLiteral("ddHHmmss")));
}
