#include "ArchiveConnector.h"

#include "Decimal.h"
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

// The two texts below never change: made once, as the form asks for them with every Bill shown.
QString ArchiveConnector::customerBankDescription() {
    // An Italian or San Marino IBAN carries the bank's code in characters 6 to 10; an older
    // account only its ABI code; a foreign one is shown as it is.
    static const QString text = QStringLiteral("CASE WHEN ") + ibanHasBank() +
                                QStringLiteral(
                                    " THEN CONCAT('(', SUBSTRING(MG35_IBAN, 6, 5), ') ', CG12_DESCR)"
                                    " WHEN MG35_CCABI IS NULL THEN MG35_IBAN"
                                    " ELSE CONCAT('(', LTRIM(RTRIM(MG35_CCABI)), ') ', CG12_DESCR) END");
    return text;
}

QString ArchiveConnector::customerBankJoins() {
    static const QString text = [] {
        const QString cab = QStringLiteral("SUBSTRING(MG35_IBAN, 11, 5)");
        return QStringLiteral(" LEFT JOIN CG12_BANCHE WITH (NOLOCK) ON CG12_BANCA = CASE WHEN ") +
               ibanHasBank() +
               QStringLiteral(" THEN CAST(SUBSTRING(MG35_IBAN, 6, 5) AS DECIMAL(5,0)) WHEN ") +
               allDigits(QStringLiteral("MG35_CCABI"), 1) +
               QStringLiteral(
                   " THEN CAST(MG35_CCABI AS DECIMAL(5,0)) END"
                   " LEFT JOIN CG13_AGENZIE WITH (NOLOCK) ON CG13_BANCA_CG12 = CG12_BANCA"
                   " AND CG13_CODCAB = CASE WHEN ") +
               allDigits(cab, 5) + QStringLiteral(" THEN CAST(") + cab +
               QStringLiteral(" AS DECIMAL(5,0)) WHEN ") + allDigits(QStringLiteral("MG35_CCCAB"), 1) +
               QStringLiteral(" THEN CAST(MG35_CCCAB AS DECIMAL(5,0)) END");
    }();
    return text;
}

QString ArchiveConnector::number(const QVariant& value) {
    // A code read from a decimal column may carry zero decimals ("12.00").
    const std::optional<Decimal> d = Decimal::parse(Value::toText(value).trimmed());
    const std::optional<qint64> n = d ? wholeCode(d->normalized().toString()) : std::nullopt;
    return n ? QString::number(*n) : QStringLiteral("NULL");
}

QString ArchiveConnector::customerBankById(const QVariant& id) {
    return QStringLiteral("SELECT MG35_PROGR, MG35_INDTIPOOP, ") + customerBankDescription() +
           QStringLiteral(" AS DESCRCANPASS FROM MG35_CLIFORCC WITH (NOLOCK)") + customerBankJoins() +
           QStringLiteral(" WHERE MG35_ID = ") + number(id);
}

QString ArchiveConnector::customerBankId(const QVariant& company, const QVariant& type,
                                         const QVariant& counterpart, const QVariant& progressive) {
    return QStringLiteral("SELECT MG35_ID FROM MG35_CLIFORCC WITH (NOLOCK) WHERE MG35_DITTA_CG18 = ") +
           number(company) + QStringLiteral(" AND MG35_TIPOCF_CG44 = ") + number(type) +
           QStringLiteral(" AND MG35_CLIFOR_CG44 = ") + number(counterpart) +
           QStringLiteral(" AND MG35_PROGR = ") + number(progressive);
}

QString ArchiveConnector::rowState(const QString& guid) {
    return QStringLiteral("SELECT V_CODSTATO, V_DESCRSTATO FROM VFILTROSTATI WITH (NOLOCK) WHERE V_GUID = ") +
           SqlText::quote(guid);
}

QString ArchiveConnector::cigCupAssignment(const QVariant& company, const QString& cig, const QString& cup,
                                           const QVariant& customer) {
    QString sql = QStringLiteral(
                      "SELECT CO1H_ID FROM CO1H_CIGCUP WITH (NOLOCK) INNER JOIN CO1I_CFCIGCUP WITH (NOLOCK)"
                      " ON CO1I_IDCIGCUP_CO1H = CO1H_ID WHERE CO1I_DITTA_CG18 = ") +
                  number(company) + QStringLiteral(" AND CO1H_CIG = ") + SqlText::quote(cig) +
                  QStringLiteral(" AND CO1H_CUP = ") + SqlText::quote(cup);
    if (customer.isValid())
        sql += QStringLiteral(" AND CO1I_TIPOCF_CG44 = 0 AND CO1I_CLIFOR_CG44 = ") + number(customer);
    return sql;
}

QString ArchiveConnector::ibanHasBank() {
    return QStringLiteral("UPPER(SUBSTRING(MG35_IBAN, 1, 2)) IN ('IT', 'SM') AND ") +
           allDigits(QStringLiteral("SUBSTRING(MG35_IBAN, 6, 5)"), 5);
}

QString ArchiveConnector::allDigits(const QString& expression, int minLength) {
    // Every engine has REPLACE; none shares a pattern test for "only digits".
    QString stripped = QStringLiteral("LTRIM(RTRIM(") + expression + QStringLiteral("))");
    for (char d = '0'; d <= '9'; ++d)
        stripped = QStringLiteral("REPLACE(%1, '%2', '')").arg(stripped).arg(QLatin1Char(d));
    return QStringLiteral("(LEN(LTRIM(%1)) >= %2 AND %3 = '')").arg(expression).arg(minLength).arg(stripped);
}

ArchiveConnector::Shape ArchiveConnector::shape() const {
    switch (archive_) {
        case Archive::Customers: {
            const bool supplier = key(1) == QLatin1String("1");
            return {.from = QStringLiteral("VCG16_CG44_ALLADATA WITH (NOLOCK)"),
                    .where = QStringLiteral("VCG16_44_CF_DITTA = ") + key(0) +
                             QStringLiteral(" AND VCG16_44_CF_TIPOCF = ") + key(1) + QStringLiteral(" AND ") +
                             SqlText::quote(Value::toText(keys_.value(2))) +
                             QStringLiteral(" BETWEEN DATAINIZIOVALIDITA AND DATAFINEVALIDITA"),
                    .code = QStringLiteral("VCG16_44_CF_CLIFOR"),
                    .description = QStringLiteral("CG16_RAGSOANAG"),
                    .numericCode = true,
                    .captions = supplier ? captions({"Fornitore", "Ragione sociale"})
                                         : captions({"Cliente", "Ragione sociale"}),
                    .title = supplier ? QStringLiteral("Fornitori") : QStringLiteral("Clienti"),
                    .identifier = supplier ? QStringLiteral("Lkp_Fornitori") : QStringLiteral("Lkp_Clienti")};
        }
        case Archive::LedgerAccounts:
            return {.from = QStringLiteral("CG24_TABPDC WITH (NOLOCK)"),
                    .where = QStringLiteral("CG24_GRUPPO_CG10 = ") + key(0),
                    .code = QStringLiteral("CG24_CONTO"),
                    .description = QStringLiteral("CG24_DESCR"),
                    .captions = captions({"Conto", "Descrizione"}),
                    .title = QStringLiteral("Piano dei conti"),
                    .identifier = QStringLiteral("Lkp_Conti")};
        case Archive::PaymentConditions:
            return {.from = QStringLiteral("CG62_CONDPAG WITH (NOLOCK)"),
                    .code = QStringLiteral("CG62_CODICE"),
                    .description = QStringLiteral("CG62_DESCR"),
                    .captions = captions({"Codice", "Descrizione"}),
                    .title = QStringLiteral("Condizioni di pagamento"),
                    .identifier = QStringLiteral("Lkp_CondPag")};
        case Archive::Agents:
            return {.from = QStringLiteral("MG17_AGENTI WITH (NOLOCK) LEFT JOIN CG16_ANAGGEN WITH (NOLOCK)"
                                           " ON CG16_CODICE = MG17_ANAGEN_CG16"),
                    .where = QStringLiteral("MG17_DITTA_CG18 = ") + key(0),
                    .code = QStringLiteral("MG17_AGENTE"),
                    .description = QStringLiteral("CG16_RAGSOANAG"),
                    .captions = captions({"Agente", "Ragione sociale"}),
                    .title = QStringLiteral("Agenti"),
                    .identifier = QStringLiteral("Lkp_Agenti")};
        case Archive::Banks:
            return {.from = QStringLiteral("CG12_BANCHE WITH (NOLOCK)"),
                    .code = QStringLiteral("CG12_BANCA"),
                    .description = QStringLiteral("CG12_DESCR"),
                    .numericCode = true,
                    .captions = captions({"ABI", "Banca"}),
                    .title = QStringLiteral("Banche"),
                    .identifier = QStringLiteral("Lkp_Banche")};
        case Archive::Agencies:
            return {.from = QStringLiteral("CG13_AGENZIE WITH (NOLOCK)"),
                    .where = QStringLiteral("CG13_BANCA_CG12 = ") + key(0),
                    .code = QStringLiteral("CG13_CODCAB"),
                    .description = QStringLiteral("CG13_DESCR"),
                    .numericCode = true,
                    .extra = {QStringLiteral("CG13_CITTA")},
                    .captions = captions({"CAB", "Agenzia", "Città"}),
                    .title = QStringLiteral("Agenzie"),
                    .identifier = QStringLiteral("Lkp_Agenzie")};
        case Archive::Sections:
            return {.from = QStringLiteral("CG19_SEZIONALI WITH (NOLOCK)"),
                    .where = QStringLiteral("CG19_DITTA_CG18 = ") + key(0),
                    .code = QStringLiteral("CG19_CODICE"),
                    .description = QStringLiteral("CG19_DESCR"),
                    .captions = captions({"Sezionale", "Descrizione"}),
                    .title = QStringLiteral("Sezionali"),
                    .identifier = QStringLiteral("Lkp_Sezionali")};
        case Archive::Documents:
            return {.from = QStringLiteral("MG36_DOCUMENTI WITH (NOLOCK)"),
                    .where = QStringLiteral("MG36_DITTA_CG18 = ") + key(0),
                    .code = QStringLiteral("MG36_CODICE"),
                    .description = QStringLiteral("MG36_DESCR"),
                    .captions = captions({"Documento", "Descrizione"}),
                    .title = QStringLiteral("Documenti"),
                    .identifier = QStringLiteral("Lkp_Documenti")};
        case Archive::SubTypes:
            return {.from = QStringLiteral("EF07_STIPIEFF WITH (NOLOCK)"),
                    .where = QStringLiteral("EF07_TIPOEFF = ") + key(0),
                    .code = QStringLiteral("EF07_STIPOEFF"),
                    .description = QStringLiteral("EF07_DESCR"),
                    .captions = captions({"Sottotipo", "Descrizione"}),
                    .title = QStringLiteral("Sottotipi effetto"),
                    .identifier = QStringLiteral("Lkp_SottotipiEffetto")};
        case Archive::MgoCausals:
            return {.from = QStringLiteral("MGFO_CAUSMGO WITH (NOLOCK)"),
                    .code = QStringLiteral("MGFO_CODICE"),
                    .description = QStringLiteral("MGFO_DESCR"),
                    .captions = captions({"Causale", "Descrizione"}),
                    .title = QStringLiteral("Causali MGO"),
                    .identifier = QStringLiteral("Lkp_CausaliMGO")};
        case Archive::CompanyBanks: {
            // With a counterpart: the company's accounts at the banks where it has one of its own.
            const bool related = keys_.size() >= 3;
            return {
                .from = QStringLiteral("EF08_BANCHEAZ WITH (NOLOCK)"),
                .where =
                    QStringLiteral("EF08_DITTA_CG18 = ") + key(0) +
                    (related ? QStringLiteral(" AND EF08_BANCA_CG12 IN (SELECT CG12_BANCA FROM "
                                              "MG35_CLIFORCC WITH (NOLOCK)") +
                                   customerBankJoins() + QStringLiteral(" WHERE MG35_DITTA_CG18 = ") +
                                   key(0) + QStringLiteral(" AND MG35_TIPOCF_CG44 = ") + key(1) +
                                   QStringLiteral(" AND MG35_CLIFOR_CG44 = ") + key(2) + QStringLiteral(")")
                             : QString()),
                .code = QStringLiteral("EF08_PROGR"),
                .description = QStringLiteral("EF08_DESCR"),
                .numericCode = true,
                .extra = {QStringLiteral("EF08_IBAN")},
                .captions = captions({"Progressivo", "Descrizione", "IBAN"}),
                .title = related ? QStringLiteral("Banche aziendali del cliente/fornitore")
                                 : QStringLiteral("Banche aziendali"),
                .identifier = QStringLiteral("Lkp_BancheAziendali")};
        }
        case Archive::CustomerBanks:
            return {.from = QStringLiteral("MG35_CLIFORCC WITH (NOLOCK)") + customerBankJoins(),
                    .where = QStringLiteral("MG35_DITTA_CG18 = ") + key(0) +
                             QStringLiteral(" AND MG35_TIPOCF_CG44 = ") + key(1) +
                             QStringLiteral(" AND MG35_CLIFOR_CG44 = ") + key(2),
                    .code = QStringLiteral("MG35_PROGR"),
                    .description = customerBankDescription(),
                    .numericCode = true,
                    .extra = {QStringLiteral("MG35_IBAN")},
                    .captions = captions({"Progressivo", "Banca", "IBAN"}),
                    .title = QStringLiteral("Banche di canalizzazione"),
                    .identifier = QStringLiteral("Lkp_ContiCorrenti")};
        case Archive::CigCup: {
            // With a counterpart: the pairs assigned to it; without: every registered pair.
            const bool generic = keys_.isEmpty();
            return {
                .from = generic ? QStringLiteral("CO1H_CIGCUP WITH (NOLOCK)")
                                : QStringLiteral("CO1H_CIGCUP WITH (NOLOCK) INNER JOIN CO1I_CFCIGCUP WITH "
                                                 "(NOLOCK) ON CO1I_IDCIGCUP_CO1H = CO1H_ID"),
                .where = generic ? QString()
                                 : QStringLiteral("CO1I_DITTA_CG18 = ") + key(0) +
                                       QStringLiteral(" AND CO1I_TIPOCF_CG44 = ") + key(1) +
                                       QStringLiteral(" AND CO1I_CLIFOR_CG44 = ") + key(2),
                .code = QStringLiteral("CO1H_CIG"),
                .description = QStringLiteral("CO1H_CUP"),
                .extra = {QStringLiteral("CO1H_DESCR")},
                .captions = captions({"CIG", "CUP", "Descrizione"}),
                .title = generic ? QStringLiteral("Anagrafica Cig/Cup generica")
                                 : QStringLiteral("Codici CIG/CUP"),
                .identifier = generic ? QStringLiteral("Lkp_CigCupGenerica") : QStringLiteral("Lkp_CigCup")};
        }
        case Archive::Slips:
            return {.from = QStringLiteral("EF09_DISTINTE WITH (NOLOCK)"),
                    .where = QStringLiteral("EF09_DITTA_CG18 = ") + key(0) +
                             QStringLiteral(" AND EF09_INDTIPODIST = ") + key(1) +
                             QStringLiteral(" AND EF09_ANNO = ") + key(2),
                    .code = QStringLiteral("EF09_NUMDIST"),
                    .description = QStringLiteral("EF09_DATACRESUPP"),
                    .numericCode = true,
                    .extra = {QStringLiteral("EF09_NUMTOTEFF"), QStringLiteral("EF09_IMPTOTEFF")},
                    .captions = captions({"Numero", "Data supporto", "Numero effetti", "Importo totale"}),
                    .title = QStringLiteral("Elenco distinte"),
                    .identifier = QStringLiteral("Lkp_NumDist")};
        case Archive::TransferOrders:
            return {.from = QStringLiteral("EF10_ORDPBONIF WITH (NOLOCK)"),
                    .where = QStringLiteral("EF10_DITTA_CG18 = ") + key(0) +
                             QStringLiteral(" AND EF10_INDORDPBONIF = ") + key(1) +
                             QStringLiteral(" AND EF10_ANNO = ") + key(2),
                    .code = QStringLiteral("EF10_NUMORDPBONIF"),
                    .description = QStringLiteral("EF10_DATAORDPBONIF"),
                    .numericCode = true,
                    .extra = {QStringLiteral("EF10_NUMTOTEFF"), QStringLiteral("EF10_IMPTOTEFF")},
                    .captions = captions({"Numero", "Data", "Numero effetti", "Importo totale"}),
                    .title = QStringLiteral("Elenco ordini di pagamento e bonifici"),
                    .identifier = QStringLiteral("Lkp_NumOrdpBonif")};
        case Archive::SepaPurposes:
            return sepaPurposes();
    }
    return {};
}

ArchiveConnector::Shape ArchiveConnector::sepaPurposes() const {
    // The movement kind narrows the list: 0 credit transfers, 1 unpaid and 2 recalled direct debits.
    static const QString titles[] = {QStringLiteral("Elenco causali bonifico SEPA"),
                                     QStringLiteral("Elenco causali insoluti Rid SDD"),
                                     QStringLiteral("Elenco causali richiami Rid SDD")};
    const std::optional<qint64> kind = keys_.isEmpty() ? std::nullopt : wholeCode(key(0));
    const bool narrowed = kind && *kind < qint64(std::size(titles));
    return {.from = QStringLiteral("CG6G_CAUSPAGSEPA WITH (NOLOCK)"),
            .where = narrowed ? QStringLiteral("CG6G_INDTIPOMOV = ") + QString::number(*kind) : QString(),
            .code = QStringLiteral("CG6G_CODICE"),
            .description = QStringLiteral("CG6G_DESCR"),
            .captions = captions({"Codice", "Descrizione"}),
            .title = narrowed ? titles[*kind] : QStringLiteral("Elenco causali ISO area SEPA"),
            .identifier = QStringLiteral("Lkp_CausaleSepa")};
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
