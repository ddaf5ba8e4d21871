#include "ArchiveConnector.h"

#include "SqlText.h"
#include "Value.h"

#include <QRegularExpression>

namespace {

const QString kCode = QStringLiteral("CODICE");
const QString kDescription = QStringLiteral("DESCRIZIONE");

QStringList captions(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts) out << QString::fromUtf8(t);
    return out;
}

// A code of a numeric column: digits only and within 32 bits, else nullopt.
std::optional<qint64> wholeCode(const QString& code) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    const QString text = code.trimmed();
    if (!digits.match(text).hasMatch()) return std::nullopt;
    const qint64 n = text.toLongLong();
    if (n > std::numeric_limits<qint32>::max()) return std::nullopt;
    return n;
}

}  // namespace

ArchiveConnector::ArchiveConnector(Archive archive, QVariantList keys)
    : archive_(archive), keys_(std::move(keys)) {}

QString ArchiveConnector::key(int i) const {
    // Keys come from the Bill's row and the company, never from typing; still, only numbers and
    // quoted texts reach the SQL.
    const QVariant v = keys_.value(i);
    if (Value::isNull(v)) return QStringLiteral("NULL");
    if (const std::optional<qint64> n = wholeCode(Value::toText(v))) return QString::number(*n);
    return SqlText::quote(Value::toText(v));
}

QString ArchiveConnector::dateKey(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString ArchiveConnector::customerBankDescription() {
    // An Italian or San Marino IBAN carries the bank's code in characters 6 to 10; an older
    // account only its ABI code; a foreign one is shown as it is.
    const QString abi = QStringLiteral("SUBSTR(MG35_IBAN, 6, 5)");
    return QStringLiteral("CASE WHEN ") + ibanHasBank() + QStringLiteral(" THEN '(' || ") + abi +
           QStringLiteral(
               " || ') ' || COALESCE(CG12_DESCR, '') WHEN MG35_CCABI IS NULL THEN MG35_IBAN"
               " ELSE '(' || TRIM(MG35_CCABI) || ') ' || COALESCE(CG12_DESCR, '') END");
}

QString ArchiveConnector::customerBankJoins() {
    const QString cab = QStringLiteral("SUBSTR(MG35_IBAN, 11, 5)");
    return QStringLiteral(" LEFT JOIN CG12_BANCHE WITH (NOLOCK) ON CG12_BANCA = CASE WHEN ") + ibanHasBank() +
           QStringLiteral(" THEN CAST(SUBSTR(MG35_IBAN, 6, 5) AS DECIMAL(5,0)) WHEN ") +
           allDigits(QStringLiteral("MG35_CCABI"), 1) +
           QStringLiteral(
               " THEN CAST(MG35_CCABI AS DECIMAL(5,0)) END"
               " LEFT JOIN CG13_AGENZIE WITH (NOLOCK) ON CG13_BANCA_CG12 = CG12_BANCA"
               " AND CG13_CODCAB = CASE WHEN ") +
           allDigits(cab, 5) + QStringLiteral(" THEN CAST(") + cab +
           QStringLiteral(" AS DECIMAL(5,0)) WHEN ") + allDigits(QStringLiteral("MG35_CCCAB"), 1) +
           QStringLiteral(" THEN CAST(MG35_CCCAB AS DECIMAL(5,0)) END");
}

QString ArchiveConnector::ibanHasBank() {
    return QStringLiteral("UPPER(SUBSTR(MG35_IBAN, 1, 2)) IN ('IT', 'SM') AND ") +
           allDigits(QStringLiteral("SUBSTR(MG35_IBAN, 6, 5)"), 5);
}

QString ArchiveConnector::allDigits(const QString& expression, int minLength) {
    // Every engine has REPLACE and LENGTH; none shares a pattern test for "only digits".
    QString stripped = QStringLiteral("TRIM(") + expression + QLatin1Char(')');
    for (char d = '0'; d <= '9'; ++d)
        stripped = QStringLiteral("REPLACE(%1, '%2', '')").arg(stripped).arg(QLatin1Char(d));
    return QStringLiteral("(LENGTH(TRIM(%1)) >= %2 AND %3 = '')")
        .arg(expression)
        .arg(minLength)
        .arg(stripped);
}

ArchiveConnector::Shape ArchiveConnector::shape() const {
    switch (archive_) {
        case Archive::Customers: {
            const bool supplier = key(1) == QLatin1String("1");
            return {QStringLiteral("VCG16_CG44_ALLADATA WITH (NOLOCK)"),
                    QStringLiteral("VCG16_44_CF_DITTA = ") + key(0) +
                        QStringLiteral(" AND VCG16_44_CF_TIPOCF = ") + key(1) + QStringLiteral(" AND ") +
                        SqlText::quote(Value::toText(keys_.value(2))) +
                        QStringLiteral(" BETWEEN DATAINIZIOVALIDITA AND DATAFINEVALIDITA"),
                    QStringLiteral("VCG16_44_CF_CLIFOR"),
                    QStringLiteral("CG16_RAGSOANAG"),
                    true,
                    {},
                    supplier ? captions({"Fornitore", "Ragione sociale"})
                             : captions({"Cliente", "Ragione sociale"}),
                    supplier ? QStringLiteral("Fornitori") : QStringLiteral("Clienti"),
                    supplier ? QStringLiteral("Lkp_Fornitori") : QStringLiteral("Lkp_Clienti")};
        }
        case Archive::LedgerAccounts:
            return {QStringLiteral("CG24_TABPDC WITH (NOLOCK)"),
                    QStringLiteral("CG24_GRUPPO_CG10 = ") + key(0),
                    QStringLiteral("CG24_CONTO"),
                    QStringLiteral("CG24_DESCR"),
                    false,
                    {},
                    captions({"Conto", "Descrizione"}),
                    QStringLiteral("Piano dei conti"),
                    QStringLiteral("Lkp_Conti")};
        case Archive::PaymentConditions:
            return {QStringLiteral("CG62_CONDPAG WITH (NOLOCK)"),
                    {},
                    QStringLiteral("CG62_CODICE"),
                    QStringLiteral("CG62_DESCR"),
                    false,
                    {},
                    captions({"Codice", "Descrizione"}),
                    QStringLiteral("Condizioni di pagamento"),
                    QStringLiteral("Lkp_CondPag")};
        case Archive::Agents:
            return {QStringLiteral("MG17_AGENTI WITH (NOLOCK) LEFT JOIN CG16_ANAGGEN WITH (NOLOCK)"
                                   " ON CG16_CODICE = MG17_ANAGEN_CG16"),
                    QStringLiteral("MG17_DITTA_CG18 = ") + key(0),
                    QStringLiteral("MG17_AGENTE"),
                    QStringLiteral("CG16_RAGSOANAG"),
                    false,
                    {},
                    captions({"Agente", "Ragione sociale"}),
                    QStringLiteral("Agenti"),
                    QStringLiteral("Lkp_Agenti")};
        case Archive::Banks:
            return {QStringLiteral("CG12_BANCHE WITH (NOLOCK)"),
                    {},
                    QStringLiteral("CG12_BANCA"),
                    QStringLiteral("CG12_DESCR"),
                    true,
                    {},
                    captions({"ABI", "Banca"}),
                    QStringLiteral("Banche"),
                    QStringLiteral("Lkp_Banche")};
        case Archive::Agencies:
            return {QStringLiteral("CG13_AGENZIE WITH (NOLOCK)"),
                    QStringLiteral("CG13_BANCA_CG12 = ") + key(0),
                    QStringLiteral("CG13_CODCAB"),
                    QStringLiteral("CG13_DESCR"),
                    true,
                    {QStringLiteral("CG13_CITTA")},
                    captions({"CAB", "Agenzia", "Città"}),
                    QStringLiteral("Agenzie"),
                    QStringLiteral("Lkp_Agenzie")};
        case Archive::Sections:
            return {QStringLiteral("CG19_SEZIONALI WITH (NOLOCK)"),
                    QStringLiteral("CG19_DITTA_CG18 = ") + key(0),
                    QStringLiteral("CG19_CODICE"),
                    QStringLiteral("CG19_DESCR"),
                    false,
                    {},
                    captions({"Sezionale", "Descrizione"}),
                    QStringLiteral("Sezionali"),
                    QStringLiteral("Lkp_Sezionali")};
        case Archive::SubTypes:
            return {QStringLiteral("EF07_STIPIEFF WITH (NOLOCK)"),
                    QStringLiteral("EF07_TIPOEFF = ") + key(0),
                    QStringLiteral("EF07_STIPOEFF"),
                    QStringLiteral("EF07_DESCR"),
                    false,
                    {},
                    captions({"Sottotipo", "Descrizione"}),
                    QStringLiteral("Sottotipi effetto"),
                    QStringLiteral("Lkp_SottotipiEffetto")};
        case Archive::MgoCausals:
            return {QStringLiteral("MGFO_CAUSMGO WITH (NOLOCK)"),
                    {},
                    QStringLiteral("MGFO_CODICE"),
                    QStringLiteral("MGFO_DESCR"),
                    false,
                    {},
                    captions({"Causale", "Descrizione"}),
                    QStringLiteral("Causali MGO"),
                    QStringLiteral("Lkp_CausaliMGO")};
        case Archive::CompanyBanks: {
            // With a counterpart: the company's accounts at the banks where it has one of its own.
            const bool related = keys_.size() >= 3;
            return {
                QStringLiteral("EF08_BANCHEAZ WITH (NOLOCK)"),
                QStringLiteral("EF08_DITTA_CG18 = ") + key(0) +
                    (related ? QStringLiteral(" AND EF08_BANCA_CG12 IN (SELECT CG12_BANCA FROM MG35_CLIFORCC"
                                              " WITH (NOLOCK)") +
                                   customerBankJoins() + QStringLiteral(" WHERE MG35_DITTA_CG18 = ") +
                                   key(0) + QStringLiteral(" AND MG35_TIPOCF_CG44 = ") + key(1) +
                                   QStringLiteral(" AND MG35_CLIFOR_CG44 = ") + key(2) + QStringLiteral(")")
                             : QString()),
                QStringLiteral("EF08_PROGR"),
                QStringLiteral("EF08_DESCR"),
                true,
                {QStringLiteral("EF08_IBAN")},
                captions({"Progressivo", "Descrizione", "IBAN"}),
                related ? QStringLiteral("Banche aziendali del cliente/fornitore")
                        : QStringLiteral("Banche aziendali"),
                QStringLiteral("Lkp_BancheAziendali")};
        }
        case Archive::CustomerBanks:
            return {QStringLiteral("MG35_CLIFORCC WITH (NOLOCK)") + customerBankJoins(),
                    QStringLiteral("MG35_DITTA_CG18 = ") + key(0) +
                        QStringLiteral(" AND MG35_TIPOCF_CG44 = ") + key(1) +
                        QStringLiteral(" AND MG35_CLIFOR_CG44 = ") + key(2),
                    QStringLiteral("MG35_PROGR"),
                    customerBankDescription(),
                    true,
                    {QStringLiteral("MG35_IBAN")},
                    captions({"Progressivo", "Banca", "IBAN"}),
                    QStringLiteral("Banche di canalizzazione"),
                    QStringLiteral("Lkp_ContiCorrenti")};
        case Archive::CigCup: {
            // With a counterpart: the pairs assigned to it; without: every registered pair.
            const bool generic = keys_.isEmpty();
            return {
                generic ? QStringLiteral("CO1H_CIGCUP WITH (NOLOCK)")
                        : QStringLiteral("CO1H_CIGCUP WITH (NOLOCK) INNER JOIN CO1I_CFCIGCUP WITH (NOLOCK)"
                                         " ON CO1I_IDCIGCUP_CO1H = CO1H_ID"),
                generic ? QString()
                        : QStringLiteral("CO1I_DITTA_CG18 = ") + key(0) +
                              QStringLiteral(" AND CO1I_TIPOCF_CG44 = ") + key(1) +
                              QStringLiteral(" AND CO1I_CLIFOR_CG44 = ") + key(2),
                QStringLiteral("CO1H_CIG"),
                QStringLiteral("CO1H_CUP"),
                false,
                {QStringLiteral("CO1H_DESCR")},
                captions({"CIG", "CUP", "Descrizione"}),
                generic ? QStringLiteral("Anagrafica Cig/Cup generica") : QStringLiteral("Codici CIG/CUP"),
                generic ? QStringLiteral("Lkp_CigCupGenerica") : QStringLiteral("Lkp_CigCup")};
        }
    }
    return {};
}

QString ArchiveConnector::decodeQuery(const QString& code) const {
    const Shape s = shape();
    QString match;
    if (s.numericCode) {
        const std::optional<qint64> n = wholeCode(code);
        match = n ? s.code + QStringLiteral(" = ") + QString::number(*n) : QStringLiteral("1 = 0");
    } else {
        match = s.code + QStringLiteral(" = ") + SqlText::quote(code.trimmed());
    }
    return QStringLiteral("SELECT ") + s.description + QStringLiteral(" FROM ") + s.from +
           QStringLiteral(" WHERE ") +
           (s.where.isEmpty() ? match : s.where + QStringLiteral(" AND ") + match);
}

ArchiveConnector::Lookup ArchiveConnector::lookup() const {
    const Shape s = shape();
    QString select = QStringLiteral("SELECT ") + s.code + QStringLiteral(" AS ") + kCode +
                     QStringLiteral(", ") + s.description + QStringLiteral(" AS ") + kDescription;
    for (const QString& extra : s.extra) select += QStringLiteral(", ") + extra;
    QString query = select + QStringLiteral(" FROM ") + s.from;
    if (!s.where.isEmpty()) query += QStringLiteral(" WHERE ") + s.where;
    return {query, s.captions, s.title, s.identifier, kCode, {kCode, kDescription}};
}

ArchiveConnector::Management ArchiveConnector::management() const {
    if (archive_ != Archive::Banks && archive_ != Archive::Agencies) return {lookup(), {kCode}};
    // Bank and agency go back together: one row per agency, keyed by both codes.
    const QString key = QString::fromLatin1(kHiddenKey);
    Lookup list{QStringLiteral("SELECT CG13_BANCA_CG12 * 100000 + CG13_CODCAB AS ") + key +
                    QStringLiteral(", CG13_BANCA_CG12 AS ABI, CG13_CODCAB AS CAB, CG12_DESCR AS BANCA,"
                                   " CG13_DESCR AS AGENZIA, CG13_CITTA FROM CG13_AGENZIE WITH (NOLOCK)"
                                   " INNER JOIN CG12_BANCHE WITH (NOLOCK) ON CG12_BANCA = CG13_BANCA_CG12"),
                captions({"", "ABI", "CAB", "Banca", "Agenzia", "Città"}),
                QStringLiteral("Banche e agenzie"),
                QStringLiteral("Gst_BancheAgenzie"),
                key,
                {QStringLiteral("BANCA"), QStringLiteral("AGENZIA"), QStringLiteral("CG13_CITTA")}};
    return {list, {QStringLiteral("ABI"), QStringLiteral("CAB")}};
}

int ArchiveConnector::archiveNumber() const {
    switch (archive_) {
        case Archive::Banks:
        case Archive::Agencies:
            return 3;
        case Archive::PaymentConditions:
            return 7;
        case Archive::Sections:
            return 53;
        default:
            return 0;
    }
}
