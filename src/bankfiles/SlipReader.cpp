#include "SlipReader.h"
#include "SlipKinds.h"

#include "BankText.h"
#include "Connection.h"
#include "SuiteError.h"
#include "Value.h"

#include <QSet>

namespace {

const QString kSlipReaderSource = QStringLiteral("SlipReader");

[[noreturn]] void refuseSlip(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, kSlipReaderSource, why);
}

QString slipWhere(const SlipKey& k) {
    return QStringLiteral(" EF06_DITTA_EF09 = %1 AND EF06_INDTIPODIST_EF09 = %2 AND EF06_ANNO_EF09 = %3")
        .arg(k.company)
        .arg(k.kind)
        .arg(k.year);
}

// The columns of a Bill's row, by position in the query below.
enum Column {
    Company,
    Registration,
    Row,
    Statement,
    Progressive,
    Due,
    Amount,
    DocNumber,
    DocSection,
    DocDate,
    Customer,
    SupportAbi,
    SupportCab,
    AccountId,
    Name,
    Address,
    Postcode,
    Town,
    Province,
    Country,
    TaxCode,
    VatNumber,
    DebtorIban,
    AccountAbi,
    AccountCab,
    MandateId,
    MandateSigned,
    MandateOneOff,
    MandateFirstDone,
    BankName,
    AgencyName,
};

const char* const kBillsQuery =
    "SELECT EF01_DITTA_CG18, EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF,"
    " EF01_SCADE_S, EF01_IMPEFF_S, EF01_NUMDOC, EF01_SEZDOC, EF01_DATADOC, EF01_CLIFOR_CG44,"
    " EF01_BANCAAPP_CG12, EF01_AGENAPP_CG13, EF01_ID_MG35,"
    " CG16_RAGSOANAG, CG16_INDIRIZZO, CG16_CAP, CG16_CITTA, CG16_PROV, CG16_NAZIONE, CG16_CODFISC,"
    " CG16_PARTIVA, MG35_IBAN, MG35_CCABI, MG35_CCCAB,"
    " KV21_IDMANDATO, KV21_DATAFIRMA, KV21_INDSEQUENZA, KV21_FLGPRIMOINC, CG12_DESCR, CG13_DESCR"
    " FROM EF06_SCADSTO"
    " INNER JOIN EF01_SCADENZE ON EF01_DITTA_CG18 = EF06_DITTA_CG18 AND EF01_NUMREG_CO99 = EF06_NUMREG_CO99"
    " AND EF01_RIGACONT_CG42 = EF06_RIGACONT_EF01 AND EF01_PROGEC_EC01 = EF06_PROGEC_EF01"
    " AND EF01_PROGEFF = EF06_PROGEFF_EF01"
    " LEFT JOIN CG44_CLIFOR ON CG44_DITTA_CG18 = EF01_DITTACF_CG18 AND CG44_TIPOCF = EF01_TIPOCF_CG44"
    " AND CG44_CLIFOR = EF01_CLIFOR_CG44"
    " LEFT JOIN CG16_ANAGGEN ON CG16_CODICE = CG44_ANAGEN_CG16"
    " LEFT JOIN MG35_CLIFORCC ON MG35_ID = EF01_ID_MG35"
    " LEFT JOIN KV21_MANDATI ON KV21_ID_MG35 = EF01_ID_MG35"
    " LEFT JOIN CG12_BANCHE ON CG12_BANCA = EF01_BANCAAPP_CG12"
    " LEFT JOIN CG13_AGENZIE ON CG13_BANCA_CG12 = EF01_BANCAAPP_CG12 AND CG13_CODCAB = EF01_AGENAPP_CG13"
    " WHERE EF06_INDTIPOPER = 3 AND";

int wholeNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

// ABI and CAB of an Italian or San Marino IBAN (its characters 6 to 15), else the account's own.
std::pair<int, int> accountBank(const QString& iban, const QVariant& abi, const QVariant& cab) {
    const QString compact = BankText::compact(iban);
    if ((compact.startsWith(QStringLiteral("IT")) || compact.startsWith(QStringLiteral("SM"))) &&
        compact.size() >= 15) {
        const int fromAbi = wholeNumber(compact.mid(5, 5));
        const int fromCab = wholeNumber(compact.mid(10, 5));
        if (fromAbi > 0 && fromCab > 0) return {fromAbi, fromCab};
    }
    return {wholeNumber(Value::toText(abi)), wholeNumber(Value::toText(cab))};
}

}  // namespace

SlipContent SlipReader::read(const SlipKey& key) const {
    // The bank is the slip's own: its Bills lose theirs when they come back unpaid.
    const auto slip = connection_.Query(
        QStringLiteral(
            "SELECT D.EF09_DATACRESUPP, B.KV25_BANCA_CG12, B.KV25_AGENZIA_CG13 FROM EF09_DISTINTE D"
            " LEFT JOIN KV25_BANCHEDIST B ON B.KV25_DITTA_CG18 = D.EF09_DITTA_CG18"
            " AND B.KV25_INDTIPODIST = D.EF09_INDTIPODIST AND B.KV25_ANNO = D.EF09_ANNO"
            " AND B.KV25_NUMDIST = D.EF09_NUMDIST") +
        key.where(QStringLiteral("D.EF09_")));
    if (slip.empty() || slip.front().rows.empty())
        refuseSlip(QStringLiteral("La distinta %1 non esiste.").arg(key.shown()));
    const QVector<QVariant>& row = slip.front().rows.front();
    SlipContent content;
    content.key = key;
    content.created = Value::toDate(row.value(0));
    if (!content.created.isValid()) content.created = QDate::currentDate();
    content.bills = bills(key);
    if (content.bills.empty())
        refuseSlip(QStringLiteral("La distinta %1 non contiene effetti: non c'è nulla da inviare alla banca.")
                       .arg(key.shown()));
    if (Value::toInt(row.value(1)) <= 0)
        refuseSlip(QStringLiteral("La distinta %1 non ha la banca di presentazione.").arg(key.shown()));
    content.creditor = creditor(key.company);
    content.bank = bank(key, Value::toInt(row.value(1)), Value::toInt(row.value(2)));
    return content;
}

std::vector<SlipContent::Bill> SlipReader::bills(const SlipKey& key) const {
    const auto result = connection_.Query(
        QString::fromLatin1(kBillsQuery) + slipWhere(key) +
        QStringLiteral(" AND EF06_NUMDIST_EF09 = %1 ORDER BY EF01_SCADE_S, EF01_NUMREG_CO99, EF01_PROGEFF")
            .arg(key.number));
    const QList<int> collected = key.kind == SlipKinds::kSdd ? collectedAccounts(key) : QList<int>();
    const QSet<int> collectedSet(collected.cbegin(), collected.cend());
    std::vector<SlipContent::Bill> bills;
    if (result.empty()) return bills;
    bills.reserve(result.front().rows.size());
    for (const QVector<QVariant>& r : result.front().rows) {
        SlipContent::Bill b;
        b.registration = Value::toText(r[Registration]);
        b.progressive = Value::toInt(r[Progressive]);
        b.key = QStringLiteral("%1,%2,%3,%4,%5")
                    .arg(Value::toInt(r[Company]))
                    .arg(b.registration)
                    .arg(Value::toInt(r[Row]))
                    .arg(Value::toInt(r[Statement]))
                    .arg(b.progressive);
        b.due = Value::toDate(r[Due]);
        b.amount = Value::toDecimal(r[Amount]);
        b.documentNumber = Value::toInt(r[DocNumber]);
        b.documentSection = Value::toText(r[DocSection]).trimmed();
        b.documentDate = Value::toDate(r[DocDate]);
        b.customer = Value::toInt(r[Customer]);
        b.debtorName = Value::toText(r[Name]);
        b.debtorAddress = Value::toText(r[Address]);
        b.debtorPostcode = Value::toText(r[Postcode]);
        b.debtorTown = Value::toText(r[Town]);
        b.debtorProvince = Value::toText(r[Province]);
        b.debtorCountry = Value::toText(r[Country]).trimmed().toUpper();
        b.debtorTaxCode = Value::toText(r[TaxCode]).trimmed();
        if (b.debtorTaxCode.isEmpty()) b.debtorTaxCode = Value::toText(r[VatNumber]).trimmed();
        b.debtorIban = BankText::compact(Value::toText(r[DebtorIban]));
        if (!Value::isNull(r[SupportAbi]) && Value::toInt(r[SupportAbi]) > 0) {
            b.debtorAbi = Value::toInt(r[SupportAbi]);
            b.debtorCab = Value::toInt(r[SupportCab]);
            b.debtorBankName =
                (Value::toText(r[BankName]).trimmed() + u' ' + Value::toText(r[AgencyName]).trimmed())
                    .trimmed();
        } else if (!Value::isNull(r[AccountId])) {
            std::tie(b.debtorAbi, b.debtorCab) = accountBank(b.debtorIban, r[AccountAbi], r[AccountCab]);
        }
        b.hasMandate = !Value::toText(r[MandateId]).trimmed().isEmpty();
        b.mandate.id = Value::toText(r[MandateId]).trimmed();
        b.mandate.signedOn = Value::toDate(r[MandateSigned]);
        b.mandate.oneOff = Value::toInt(r[MandateOneOff]) == 1;
        b.mandate.firstDone =
            Value::toInt(r[MandateFirstDone]) == 1 || collectedSet.contains(Value::toInt(r[AccountId]));
        bills.push_back(std::move(b));
    }
    return bills;
}

QList<int> SlipReader::collectedAccounts(const SlipKey& key) const {
    const auto result = connection_.Query(
        QStringLiteral(
            "SELECT DISTINCT EF01_ID_MG35 FROM EF06_SCADSTO INNER JOIN EF01_SCADENZE ON "
            "EF01_DITTA_CG18 = EF06_DITTA_CG18 AND EF01_NUMREG_CO99 = EF06_NUMREG_CO99 AND "
            "EF01_RIGACONT_CG42 = EF06_RIGACONT_EF01 AND EF01_PROGEC_EC01 = EF06_PROGEC_EF01 AND "
            "EF01_PROGEFF = EF06_PROGEFF_EF01 WHERE EF06_INDTIPOPER = 3 AND EF01_ID_MG35 IS NOT NULL "
            "AND EF06_DITTA_EF09 = %1 AND EF06_INDTIPODIST_EF09 = %2 AND (EF06_ANNO_EF09 < %3 OR "
            "(EF06_ANNO_EF09 = %3 AND EF06_NUMDIST_EF09 < %4))")
            .arg(key.company)
            .arg(key.kind)
            .arg(key.year)
            .arg(key.number));
    QList<int> accounts;
    if (!result.empty())
        for (const QVector<QVariant>& r : result.front().rows) accounts.append(Value::toInt(r[0]));
    return accounts;
}

SlipContent::Creditor SlipReader::creditor(qint32 company) const {
    const auto result = connection_.Query(
        QStringLiteral(
            "SELECT CG18_RAGSOC, CG18_CITTA, CG18_PARTIVA, KV20_CODSIA, KV20_CUC, KV20_IDCREDITORE, "
            "KV20_INDIRIZZO, KV20_CAP, KV20_PROV, KV20_CODFISC, KV20_NOMEBREVE FROM CG18_DITTE "
            "LEFT JOIN KV20_DATIBANCA ON KV20_DITTA_CG18 = CG18_DITTA WHERE CG18_DITTA = %1")
            .arg(company));
    if (result.empty() || result.front().rows.empty())
        refuseSlip(QStringLiteral("La ditta %1 non esiste.").arg(company));
    const QVector<QVariant>& r = result.front().rows.front();
    SlipContent::Creditor c;
    c.name = Value::toText(r[0]).trimmed();
    c.town = Value::toText(r[1]).trimmed();
    c.siaCode = Value::toText(r[3]).trimmed();
    c.cuc = Value::toText(r[4]).trimmed();
    c.creditorId = BankText::compact(Value::toText(r[5]));
    c.address = Value::toText(r[6]).trimmed();
    c.postcode = Value::toText(r[7]).trimmed();
    c.province = Value::toText(r[8]).trimmed();
    c.taxCode = Value::toText(r[9]).trimmed();
    // A company's tax code is most often its VAT number, without the country.
    if (c.taxCode.isEmpty()) c.taxCode = BankText::compact(Value::toText(r[2])).remove(QStringLiteral("IT"));
    c.shortName = Value::toText(r[10]).trimmed();
    if (c.shortName.isEmpty()) c.shortName = c.name.left(20);
    return c;
}

SlipContent::Bank SlipReader::bank(const SlipKey& key, int abi, int cab) const {
    const auto result = connection_.Query(
        QStringLiteral("SELECT EF08_IBAN, EF08_DESCR, CG12_BIC FROM EF08_BANCHEAZ LEFT JOIN CG12_BANCHE ON "
                       "CG12_BANCA = EF08_BANCA_CG12 WHERE EF08_DITTA_CG18 = %1 AND EF08_BANCA_CG12 = %2 AND "
                       "EF08_AGENZIA_CG13 = %3 ORDER BY EF08_PROGR")
            .arg(key.company)
            .arg(abi)
            .arg(cab));
    if (result.empty() || result.front().rows.empty())
        refuseSlip(
            QStringLiteral("La banca di presentazione della distinta %1 (ABI %2 CAB %3) non è tra le banche "
                           "aziendali: registrarla con il suo IBAN.")
                .arg(key.shown())
                .arg(abi)
                .arg(cab));
    const QVector<QVariant>& r = result.front().rows.front();
    SlipContent::Bank b;
    b.abi = abi;
    b.cab = cab;
    b.iban = BankText::compact(Value::toText(r[0]));
    b.name = Value::toText(r[1]).trimmed();
    b.bic = BankText::compact(Value::toText(r[2]));
    // The Italian IBAN: IT, check digits, CIN, ABI, CAB, then the 12-character account.
    if (b.iban.startsWith(QStringLiteral("IT")) && b.iban.size() == 27) b.account = b.iban.right(12);
    return b;
}
