#include "DemoBuilder.h"

#include "Iban.h"
#include "Value.h"

#include <QByteArray>

QString DemoBuilder::guid() {
    const quint64 a = rnd_.next(), b = rnd_.next();
    const QString hex =
        QStringLiteral("%1%2").arg(a, 16, 16, QLatin1Char('0')).arg(b, 16, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("{%1-%2-%3-%4-%5}")
        .arg(hex.mid(0, 8), hex.mid(8, 4), hex.mid(12, 4), hex.mid(16, 4), hex.mid(20, 12));
}

QDate DemoBuilder::workday(QDate d) const {
    while (d.dayOfWeek() > 5) d = d.addDays(1);
    return d;
}

// The movement types a Bill went through, in order, by the kind of Bill and whether it is due.
QList<int> DemoBuilder::scenario(int archive, int tipoEff, bool foreign, bool pastDue, bool publicBody) {
    QList<int> path;
    if (foreign && rnd_.chance(50)) path.append(9);
    if (archive >= 2) {
        if (pastDue) path.append(rnd_.pick(QList<int>{1, 1, 2, 0}));
        return path;
    }
    const bool bankCollected = archive == 0 && (tipoEff == 2 || tipoEff == 11 || tipoEff == 16);
    if (bankCollected) {
        if (!pastDue) {
            if (rnd_.chance(50)) path.append(3);
            return path;
        }
        static const QList<QList<int>> paths = {{3, 1}, {3, 11}, {3, 4, 6, 3, 1}, {3, 4, 15, 14}, {3, 10},
                                                {3, 4}, {},      {3, 4, 6}};
        return path + paths[rnd_.weighted({45, 15, 10, 5, 5, 6, 9, 5})];
    }
    if (archive == 0 && (tipoEff == 6 || tipoEff == 3 || tipoEff == 4)) {
        if (!pastDue) return path;
        static const QList<QList<int>> paths = {{3, 1}, {1}, {3, 4, 13}};
        return path + paths[rnd_.weighted({50, 40, 10})];
    }
    if (!pastDue) {
        if (rnd_.chance(8)) path.append(rnd_.chance(50) ? 0 : 12);
        return path;
    }
    if (archive == 0) {
        if (publicBody) return path + QList<int>{16};
        static const QList<QList<int>> paths = {{1}, {13}, {1, 8, 1}, {2}, {0, 1}, {12}, {}};
        return path + paths[rnd_.weighted({60, 10, 5, 5, 8, 5, 7})];
    }
    static const QList<QList<int>> paths = {{1}, {5}, {2}, {0, 1}, {}};
    return path + paths[rnd_.weighted({70, 5, 8, 7, 10})];
}

namespace {
void put(BulkInserter::Row& r, const char* name, const QVariant& v) {
    r.set(QString::fromLatin1(name), v);
}
QVariant cents(long long mantissa) {
    return QVariant::fromValue(Decimal::fromMantissa(mantissa, 2));
}
}  // namespace

void DemoBuilder::movement(const Movement& m, BillState& st) {
    BulkInserter& in = to("EF06_SCADSTO");
    Row r = in.newRow();
    snapshot(r, m, st);
    switch (m.type) {
        case 0:  // manual variation: a new due date agreed with the counterpart
            st.scade = workday(st.scade.addDays(rnd_.pick(QList<int>{15, 30, 30, 60})));
            break;
        case 1:
        case 16:
            payment(r, m, st);
            break;
        case 2:
        case 14:
            accounting(r, m.date);
            st.indStato = 1;
            st.indGenStato = 2;
            break;
        case 3:
            presentation(r, m, st);
            break;
        case 4:
            unpaid(r, m, st);
            break;
        case 5:
            st.indStato = 1;
            st.indGenStato = 4;
            break;
        case 6:
            st.numRiemis += 1;
            st.indGenStato = 5;
            st.indStato = 0;
            st.flgSteff = 0;
            st.numSteff = QVariant();
            st.scade = workday(st.scade.addDays(30));
            break;
        case 7:
            st.flgGirato = 1;
            break;
        case 8:
            accounting(r, m.date);
            st.indStato = 0;
            st.indGenStato = 0;
            st.impEffNetPrev = st.impEff;
            st.impEffNetPrevVal = st.impEffVal;
            break;
        case 9:
            rateAdjustment(r, m, st);
            break;
        case 10:
            if (m.tipoEff == 11) sepaReason(r, {"MS02", "CUST"});
            st.indGenStato = 6;
            st.indPres = 1;
            break;
        case 11:
            st.flgIncassoBf = 1;
            break;
        case 12:
            st.scade = workday(st.scade.addDays(15));
            break;
        case 13:
            accounting(r, m.date);
            put(r, "EF06_NUMASSEGNO", QString::number(rnd_.between(1000000, 9999999)));
            put(r, "EF06_NUMCCASSEGN", QString::number(rnd_.between(10000000, 99999999)));
            paid(r, st);
            st.indStato = 1;
            st.indGenStato = 1;
            break;
        case 15:
            accounting(r, m.date);
            break;
        default:
            break;
    }
    if (m.currency != QStringLiteral("EURO") && m.type == 1)
        put(r, "EF06_DIFFCAMBIO", cents(rnd_.between(-3000, 3000)));
    in.insert(r);
    ++counts_.history;
}

// The movement's key and kind, and the Bill as it stood before it.
void DemoBuilder::snapshot(Row& r, const Movement& m, const BillState& st) {
    put(r, "EF06_DITTA_CG18", DemoGenerator::kCompany);
    put(r, "EF06_NUMREG_CO99", m.key.numreg);
    put(r, "EF06_RIGACONT_EF01", m.key.riga);
    put(r, "EF06_PROGEC_EF01", m.key.progec);
    put(r, "EF06_PROGEFF_EF01", m.key.progeff);
    put(r, "EF06_PROGSTO", m.progsto);
    put(r, "EF06_DATAREG", m.date);
    put(r, "EF06_INDTIPOPER", m.type);
    put(r, "EF06_SCADE_S", st.scade);
    put(r, "EF06_INDSTATO_S", st.indStato);
    put(r, "EF06_INDGENSTATO_S", st.indGenStato);
    put(r, "EF06_INDPRES_S", st.indPres);
    put(r, "EF06_FLGSTEFF_S", st.flgSteff);
    put(r, "EF06_NUMSTEFF_S", st.numSteff);
    put(r, "EF06_NUMRIEMIS_S", st.numRiemis);
    put(r, "EF06_FLGGIRATO_S", st.flgGirato);
    put(r, "EF06_FLGRICEVUTO_S", st.flgRicevuto);
    put(r, "EF06_FLGINCASSOBF_S", st.flgIncassoBf);
    put(r, "EF06_BANCAPRE_S", st.bancaPre);
    put(r, "EF06_AGENZPRE_S", st.agenPre);
    put(r, "EF06_INDSPERIT_S", st.indSperit);
    put(r, "EF06_SPESERIT_S", st.speseRit);
    put(r, "EF06_SPESERITBAN_S", st.speseRitBan);
    put(r, "EF06_IMPEFF_S", QVariant::fromValue(st.impEff));
    put(r, "EF06_IMPEFFVAL_S", st.impEffVal);
    put(r, "EF06_IMPEFFNETPREV_S", QVariant::fromValue(st.impEffNetPrev));
    put(r, "EF06_IMPEFFNETPREVVAL_S", st.impEffNetPrevVal);
    put(r, "EF06_IMPADEGCAMBIO_S", st.impAdeg);
    put(r, "EF06_CAMBIOADCONTO_S", st.cambioAd);
    put(r, "EF06_DATACAMBIOADCONTO_S", st.dataCambioAd);
    put(r, "EF06_FLGSTORNORITINS", 0);
    put(r, "EF06_ORDBONFLGCONF", 0);
    put(r, "EF06_BONFLGCONF", 0);
    put(r, "EF06_CAMBIO", m.cambio);
}

// The accounting registration a movement makes.
void DemoBuilder::accounting(Row& r, QDate date) {
    ++movementNumber_;
    put(r, "EF06_NUMREGMOV_CO99",
        QStringLiteral("%1M%2").arg(date.year()).arg(movementNumber_, 7, 10, QLatin1Char('0')));
    put(r, "EF06_RIGACONTMOV_CG42", rnd_.between(1, 4));
    put(r, "EF06_PROGECMOV_EC01", 1);
}

// The whole amount paid, nothing rounded off, withheld or written off.
void DemoBuilder::paid(Row& r, const BillState& st) {
    put(r, "EF06_IMPMOVPAG", QVariant::fromValue(st.impEff));
    put(r, "EF06_IMPMOVPAGVAL", st.impEffVal);
    for (const char* zero : {"EF06_IMPMOVABB", "EF06_IMPMOVACC", "EF06_IMPMOVRIT", "EF06_IMPMOVPAGRIT",
                             "EF06_IMPMOVOMANORIV", "EF06_IMPMOVSCIND"})
        put(r, zero, cents(0));
}

void DemoBuilder::sepaReason(Row& r, const QList<const char*>& codes) {
    put(r, "EF06_ORDBONCAUPAG", s(rnd_.pick(codes)));
}

// A payment or collection closes the Bill; a supplier's Bill paid by transfer order joins an order.
void DemoBuilder::payment(Row& r, const Movement& m, BillState& st) {
    accounting(r, m.date);
    paid(r, st);
    if (m.archive == 1 && (m.tipoEff == 14 || m.tipoEff == 13)) transferOrder(r, m, st);
    st.indStato = 1;
    st.indGenStato = 1;
    st.impEffNetPrev = Decimal::fromMantissa(0, 2);
    if (m.currency != QStringLiteral("EURO")) st.impEffNetPrevVal = cents(0);
}

// Adds a Bill to the open batch (a distinta or a transfer order) of its kind and year, closing
// the batch when full; gives the batch's number.
int DemoBuilder::addToBatch(OpenBatches& open, ClosedBatches& closed, int kind, QDate date, int capacity,
                            const Decimal& amount) {
    Distinta& batch = open[{kind, date.year()}];
    if (batch.number == 0 || batch.count >= capacity) {
        if (batch.number) closed[{kind, date.year(), batch.number}] = batch;
        batch = Distinta{batch.number + 1, 0, Decimal(), date, {}};
    }
    ++batch.count;
    batch.total = batch.total + amount;
    return batch.number;
}

void DemoBuilder::transferOrder(Row& r, const Movement& m, const BillState& st) {
    const int kind = m.tipoEff == 14 ? 1 : 0;
    const int number = addToBatch(openOrders_, orders_, kind, m.date, 25, st.impEff);
    put(r, "EF06_DITTA_EF10", DemoGenerator::kCompany);
    put(r, "EF06_INDORDPBONIF_EF10", kind);
    put(r, "EF06_ANNO_EF10", m.date.year());
    put(r, "EF06_NUMORDPBONIF_EF10", number);
    const auto& [abi, cab] = rnd_.pick(agencies_);
    put(r, "EF06_ORDBONABI_CG13", abi);
    put(r, "EF06_ORDBONCAB_CG13", cab);
    put(r, "EF06_ORDBONCCFORN",
        Iban::make(QStringLiteral("IT"),
                   Iban::italianBban(abi, cab, QString::number(rnd_.between(10000, 999999)))));
    put(r, "EF06_ORDBONFLGCONF", 1);
    put(r, "EF06_BONFLGCONF", 1);
    put(r, "EF06_ORDBONMOTIVO",
        kind == 0 ? QStringLiteral("Avviso %1").arg(m.key.numreg)
                  : QStringLiteral("Saldo fattura rif. %1").arg(m.key.numreg));
    sepaReason(r, {"SUPP", "TRAD", "GDSV"});
}

// Presented to a bank on a distinta of its kind.
void DemoBuilder::presentation(Row& r, const Movement& m, BillState& st) {
    const int kind = m.tipoEff == 11   ? 1
                     : m.tipoEff == 16 ? 2
                     : m.tipoEff == 2  ? 0
                                       : rnd_.pick(QList<int>{3, 4, 5});
    const int number = addToBatch(openDist_, distinte_, kind, m.date, 40, st.impEff);
    put(r, "EF06_DITTA_EF09", DemoGenerator::kCompany);
    put(r, "EF06_INDTIPODIST_EF09", kind);
    put(r, "EF06_ANNO_EF09", m.date.year());
    put(r, "EF06_NUMDIST_EF09", number);
    if (kind == 2) put(r, "EF06_ETICHRAGGRAVV", QStringLiteral("MAV%1-%2").arg(m.date.year()).arg(number));
    // Every Bill of a slip goes to the bank the slip's first Bill was given.
    const std::pair<int, int> picked = rnd_.pick(companyBanks_);
    std::pair<int, int>& bank = openDist_[{kind, m.date.year()}].bank;
    if (bank.first == 0) bank = picked;
    st.bancaPre = bank.first;
    st.agenPre = bank.second;
    st.indPres = rnd_.pick(QList<int>{2, 2, 3, 4, 5, 6});
    st.flgSteff = 1;
    st.numSteff = number;
}

// Returned unpaid, with the bank's charges.
void DemoBuilder::unpaid(Row& r, const Movement& m, BillState& st) {
    accounting(r, m.date);
    if (m.tipoEff == 11) sepaReason(r, {"AC04", "AM04", "MD01", "MD06"});
    put(r, "EF06_FLGSTORNORITINS", 0);
    st.indStato = 0;
    st.indGenStato = 3;
    st.indPres = 1;
    st.indSperit = rnd_.between(1, 3);
    st.speseRit = cents(rnd_.pick(QList<int>{500, 750, 1000}));
    st.speseRitBan = cents(rnd_.pick(QList<int>{350, 500}));
}

// A foreign Bill's rate adjusted to the day's.
void DemoBuilder::rateAdjustment(Row& r, const Movement& m, BillState& st) {
    accounting(r, m.date);
    const QVariant now = rateOf(m.currency, m.date);
    const Decimal diff = Decimal::fromMantissa(rnd_.between(-5000, 5000), 2);
    put(r, "EF06_CAMBIOADCONTO", now);
    put(r, "EF06_DATACAMBIOADCONTO", m.date);
    put(r, "EF06_IMPADEGCAMBIO", QVariant::fromValue(diff));
    put(r, "EF06_DIFFCAMBIOCONTO", QVariant::fromValue(diff));
    st.impAdeg = QVariant::fromValue(diff);
    st.cambioAd = now;
    st.dataCambioAd = m.date;
}

void DemoBuilder::reminders(const BillKey& key, const BillState& st, QDate from) {
    const int count = rnd_.between(1, 3);
    for (int n = 1; n <= count; ++n) {
        const QDate when = workday(from.addDays(15 * n));
        if (when > today()) break;
        const bool interest = rnd_.chance(60);
        const Decimal rate = Decimal::fromMantissa(rnd_.pick(QList<int>{8000000, 10150000, 12250000}), 6);
        const int days = int(st.scade.daysTo(when));
        const Decimal amount = Decimal::divide(st.impEff * rate * Decimal(days), Decimal(36500), 2);
        const int block = n == 3 ? 2 : rnd_.chance(20) ? 1 : 0;
        const bool document = n >= 2 && rnd_.chance(50);
        write("EF05_SCADSOLLEC",
              {{"EF05_DITTA_CG18", DemoGenerator::kCompany},
               {"EF05_NUMREG_CO99", key.numreg},
               {"EF05_RIGACONT_EF01", key.riga},
               {"EF05_PROGEC_EF01", key.progec},
               {"EF05_PROGEFF_EF01", key.progeff},
               {"EF05_PROGAVVISI", n},
               {"EF05_PROGSTO", n},
               {"EF05_DATAAVVISO", when},
               {"EF05_DATARIFELAB", when.addDays(-1)},
               {"EF05_FLGCALCINT", interest ? 1 : 0},
               {"EF05_TASSOINT", interest ? QVariant::fromValue(rate) : QVariant()},
               {"EF05_DADATACALC", interest ? QVariant(st.scade) : QVariant()},
               {"EF05_ADATACALC", interest ? QVariant(when) : QVariant()},
               {"EF05_IMPINTERES", QVariant::fromValue(interest ? amount : Decimal::fromMantissa(0, 2))},
               {"EF05_SPESERIT", st.speseRit},
               {"EF05_SPBOLLO", QVariant::fromValue(Decimal::fromMantissa(200, 2))},
               {"EF05_SPPOST",
                QVariant::fromValue(Decimal::fromMantissa(rnd_.pick(QList<int>{0, 120, 280}), 2))},
               {"EF05_SPVARIE", QVariant::fromValue(Decimal::fromMantissa(0, 2))},
               {"EF05_SIGLALETTERA", n == 1   ? s("SOL1")
                                     : n == 2 ? s("SOL2")
                                              : s("DIF")},
               {"EF05_TESTOPERS",
                rnd_.chance(20) ? s("Il cliente dichiara d'aver già disposto il bonifico") : QVariant()},
               {"EF05_INDBLOC", block},
               {"EF05_CODBLOC_MG25", block == 0   ? QVariant()
                                     : block == 1 ? s("BLM")
                                                  : s("BLF")},
               {"EF05_FLGAZLEGAL", n == 3 ? 1 : 0},
               {"EF05_FLGINVIOAGE", rnd_.chance(30) ? 1 : 0},
               {"EF05_FLGEMISDOC", document ? 1 : 0},
               {"EF05_DOCUM_MG36", document ? s("ND") : QVariant()},
               {"EF05_DATADOC", document ? QVariant(when) : QVariant()},
               {"EF05_NUMDOC", document ? QVariant(rnd_.between(1, 500)) : QVariant()},
               {"EF05_SEZDOC", document ? s("A") : QVariant()},
               {"EF05_FLGDOCBIS", 0},
               {"EF05_FLGPERS1", rnd_.chance(10) ? 1 : 0},
               {"EF05_FLGPERS2", 0},
               {"EF05_IDMEDIA_CG99", QVariant()}});
        ++counts_.reminders;
    }
}

// One accounting document of a counterpart (or of a ledger account when cp is null) with its
// instalments, each a Bill with its history and child records.
// A document of a counterpart (or of a ledger account) and its Bills, one per instalment.
void DemoBuilder::document(const Counterpart* cp, int archive, long long remaining) {
    Document d = registration(cp, archive);
    d.tipoEff = billType(d);
    documentCurrency(d);
    documentAmounts(d, remaining);
    Decimal assigned;
    for (int rata = 1; rata <= d.instalments; ++rata) {
        d.key.progeff = rata;
        const Decimal share =
            rata == d.instalments ? d.total - assigned : Decimal::divide(d.total, Decimal(d.instalments), 2);
        assigned = assigned + share;
        instalment(d, rata, share);
    }
}

// The document's days and registration number, and its row of the registrations' master.
DemoBuilder::Document DemoBuilder::registration(const Counterpart* cp, int archive) {
    Document d;
    d.cp = cp;
    d.archive = archive;
    const int span = int(booksStart().daysTo(today().addDays(-10)));
    d.dataDoc = workday(booksStart().addDays(rnd_.between(0, span)));
    d.dataReg = workday(d.dataDoc.addDays(rnd_.between(0, 4)));
    d.year = d.dataReg.year();
    const int seq = ++numregByYear_[d.year];
    // The year's prefix and 8 digits, as the module's numbering composes registration numbers.
    d.key.numreg = QStringLiteral("%1%2").arg(d.year).arg(seq, 8, 10, QLatin1Char('0'));
    d.key.riga = archive <= 1 ? 1 : rnd_.between(1, 3);
    d.key.progec = 1;
    const bool fromModule = rnd_.chance(35);
    write(
        "CO99_MASTERDOC",
        {{"CO99_DITTA_CG18", DemoGenerator::kCompany},
         {"CO99_NUMREG", d.key.numreg},
         {"CO99_INDTIPOOP", fromModule     ? 4
                            : archive == 1 ? 2
                            : archive == 0 ? 1
                                           : 3},
         {"CO99_DATACRE", d.dataReg},
         {"CO99_GRUPPOCRE", fromModule ? s("AMMINISTRAZIONE") : s("CONTABILITA")},
         {"CO99_UTENTECRE", fromModule ? s("ADMIN") : rnd_.pick(QList<QString>{s("MROSSI"), s("GDANGELO")})},
         {"CO99_INDCOIN", fromModule ? 2 : 0}});
    ++counts_.documents;
    return d;
}

// The bill type: customers mostly by bank receipt, suppliers by bank transfer.
int DemoBuilder::billType(const Document& d) {
    static const QList<int> customerTypes = {2, 11, 16, 14, 13, 6, 3, 4, 5, 1, 7, 8, 9, 10, 12, 15, 99};
    static const QList<int> customerWeights = {40, 10, 6, 12, 8, 4, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1};
    static const QList<int> supplierTypes = {14, 13, 2, 6, 12, 15, 1, 99};
    static const QList<int> supplierWeights = {55, 15, 15, 5, 4, 2, 2, 2};
    const int tipoEff = d.archive == 0   ? customerTypes[rnd_.weighted(customerWeights)]
                        : d.archive == 1 ? supplierTypes[rnd_.weighted(supplierWeights)]
                                         : rnd_.pick(QList<int>{13, 14, 99});
    return d.publicBody() ? 14 : tipoEff;
}

void DemoBuilder::documentCurrency(Document& d) {
    d.currency = QStringLiteral("EURO");
    if (d.archive <= 1 && !d.publicBody()) {
        const int draw = rnd_.between(1, 100);
        if (draw <= 8) {
            d.currency = rnd_.pick(floating_);
            d.cambio = rateOf(d.currency, d.dataDoc);
            d.dataCambio = d.dataDoc;
        } else if (draw == 9) {
            // An old document in lire, converted at the fixed rate.
            d.currency = s("ITL");
            d.cambio = QVariant::fromValue(Decimal::fromString(s("1936.27")));
            d.dataCambio = QDate(1999, 1, 1);
        }
    }
    d.foreign = d.currency != QStringLiteral("EURO");
    d.decimals = d.currency == QStringLiteral("JPY") || d.currency == QStringLiteral("ITL") ? 0 : 2;
}

void DemoBuilder::documentAmounts(Document& d, long long remaining) {
    const Decimal taxable = rnd_.amount(d.archive == 0 ? 150 : 80, d.archive == 0 ? 25000 : 12000);
    const int vatRate = d.foreign ? 0 : rnd_.pick(QList<int>{22, 22, 22, 10, 4});
    d.vat = Decimal::divide(taxable * Decimal(vatRate), Decimal(100), 2);
    // Public bodies pay the VAT to the treasury themselves (split payment).
    d.total = d.publicBody() ? taxable : taxable + d.vat;
    d.withholding = d.cp && d.cp->professional && !d.foreign
                        ? Decimal::divide(taxable * Decimal(20), Decimal(100), 2)
                        : Decimal();
    // The last document stops at the number of Bills asked for.
    d.instalments = int(qMin<long long>(
        remaining, d.tipoEff == 99 || d.tipoEff == 1 ? 1 : rnd_.pick(QList<int>{1, 1, 1, 2, 2, 3, 4})));
    d.numdoc = rnd_.between(1, 9999);
    d.sezdoc = d.archive == 1 ? s("V") : d.publicBody() ? s("PA") : d.foreign ? s("B") : s("A");
    d.cigCup = d.cp && !d.cp->cigCup.isEmpty() ? rnd_.pick(d.cp->cigCup) : 0;
}

QVariant DemoBuilder::Document::inCurrency(const Decimal& euro) const {
    return foreign ? QVariant::fromValue((euro * Value::toDecimal(cambio)).rounded(decimals)) : QVariant();
}

// One Bill of the document: its history, its row, and the rows that hang on it.
void DemoBuilder::instalment(const Document& d, int rata, const Decimal& share) {
    Instalment in;
    in.rata = rata;
    const QDate endOfMonth(d.dataDoc.year(), d.dataDoc.month(), d.dataDoc.daysInMonth());
    in.scade = workday(endOfMonth.addDays(30 * rata));
    in.pastDue = in.scade < today();
    // Euro amounts follow from the currency amount at the document's rate.
    in.euro = share;
    if (d.foreign) {
        const Decimal units = share.rounded(d.decimals);
        in.val = QVariant::fromValue(units);
        in.euro = Decimal::divide(units, Value::toDecimal(d.cambio), 2);
    }

    BillState st;
    st.scade = in.scade;
    st.indPres =
        d.archive == 0 && (d.tipoEff == 2 || d.tipoEff == 11 || d.tipoEff == 16 || d.tipoEff == 6) ? 1 : 0;
    st.impEff = in.euro;
    st.impEffNetPrev = in.euro;
    st.impEffVal = in.val;
    st.impEffNetPrevVal = in.val;
    st.speseRit = cents(0);
    st.speseRitBan = cents(0);

    // A customer's bill of exchange may be endorsed to a supplier: the supplier's Bill is
    // then received from it.
    const bool exchange = d.tipoEff == 6 || d.tipoEff == 3 || d.tipoEff == 4 || d.tipoEff == 5;
    QVariantList received(5);
    in.path = scenario(d.archive, d.tipoEff, d.foreign, in.pastDue, d.publicBody());
    if (d.archive == 1 && d.tipoEff == 6 && !endorsedPending_.isEmpty()) {
        auto [from, row] = endorsedPending_.takeFirst();
        received = {DemoGenerator::kCompany, from.numreg, from.riga, from.progec, from.progeff};
        st.flgRicevuto = 1;
        row.set(QStringLiteral("EF03_DITTAGIR_EF01"), DemoGenerator::kCompany);
        row.set(QStringLiteral("EF03_NUMREGGIR_EF01"), d.key.numreg);
        row.set(QStringLiteral("EF03_RIGACONTGIR_EF01"), d.key.riga);
        row.set(QStringLiteral("EF03_PROGECGIR_EF01"), d.key.progec);
        row.set(QStringLiteral("EF03_PROGEFFGIR_EF01"), d.key.progeff);
        to("EF03_SCADCECAM").insert(row);
    }
    const bool endorse = d.archive == 0 && d.tipoEff == 6 && rnd_.chance(40);
    if (endorse) in.path = {7};

    QDate when = d.dataReg;
    for (int k = 0; k < int(in.path.size()); ++k) {
        const int type = in.path[k];
        when = workday(type == 1 || type == 4 || type == 11 || type == 16 || type == 13
                           ? qMax(when.addDays(1), st.scade)
                           : when.addDays(rnd_.between(1, 20)));
        if (when > today()) when = today();
        movement({d.key, k + 1, type, when, d.archive, d.tipoEff, d.currency, d.cambio}, st);
    }

    const QString rowGuid = billRow(d, in, st);
    if (rnd_.chance(15)) {
        static const QList<std::pair<const char*, const char*>> states = {
            {"DAVER", "Da verificare"}, {"VERIF", "Verificato"}, {"CONTEST", "In contestazione"}};
        const auto& [code, descr] = rnd_.pick(states);
        write("KV08_STATIGUID",
              {{"KV08_GUID", rowGuid}, {"KV08_CODSTATO", s(code)}, {"KV08_DESCRSTATO", s(descr)}});
    }
    if (exchange) exchangeLink(d, received, endorse);
    if (rnd_.chance(8)) note(d.key);
    if (d.archive == 0 && st.indStato == 0 && in.pastDue) reminders(d.key, st, st.scade);
}

// The Bill's row; gives its GUID.
QString DemoBuilder::billRow(const Document& d, const Instalment& in, const BillState& st) {
    BulkInserter& bills = to("EF01_SCADENZE");
    Row r = bills.newRow();
    billOwner(r, d);
    billDocument(r, d, in, st);
    billAmounts(r, d, in, st);
    billState(r, d, in, st);
    QString rowGuid = billLinks(r, d, in);
    bills.insert(r);
    ++counts_.bills;
    return rowGuid;
}

// The key, the counterpart or ledger account, and the bill type.
void DemoBuilder::billOwner(Row& r, const Document& d) {
    put(r, "EF01_DITTA_CG18", DemoGenerator::kCompany);
    put(r, "EF01_NUMREG_CO99", d.key.numreg);
    put(r, "EF01_RIGACONT_CG42", d.key.riga);
    put(r, "EF01_PROGEC_EC01", d.key.progec);
    put(r, "EF01_PROGEFF", d.key.progeff);
    if (d.archive <= 1) {
        put(r, "EF01_DITTACF_CG18", DemoGenerator::kCompany);
        put(r, "EF01_TIPOCF_CG44", d.archive);
        put(r, "EF01_CLIFOR_CG44", d.cp->code);
        put(r, "EF01_INDCONTO", d.archive);
        put(r, "EF01_CONTO_CG24",
            d.archive == 0 ? DemoGenerator::customerAccount() : DemoGenerator::supplierAccount());
    } else {
        put(r, "EF01_INDCONTO", d.archive - 2);
        put(r, "EF01_CONTO_CG24",
            d.archive == 2 ? rnd_.pick(QList<QString>{s("0401010"), s("0405001")})
                           : rnd_.pick(QList<QString>{s("1401010"), s("1405001")}));
    }
    put(r, "EF01_GRUPPO_CG10", DemoGenerator::kLedgerGroup);
    put(r, "EF01_IDAGENTE_MG17", d.cp && d.cp->agent ? QVariant(d.cp->agent) : QVariant());
    put(r, "EF01_NUMEFF", ++numeffByYear_[d.year]);
    put(r, "EF01_TIPOEFF", d.tipoEff);
    put(r, "EF01_STIPOEFF",
        d.tipoEff == 2 || d.tipoEff == 11 || d.tipoEff == 14 || d.tipoEff == 6
            ? QVariant(rnd_.pick(QList<QString>{s("01"), s("02")}))
            : QVariant());
}

// Due date, instalment, document and currency.
void DemoBuilder::billDocument(Row& r, const Document& d, const Instalment& in, const BillState& st) {
    put(r, "EF01_SCADE_S", st.scade);
    put(r, "EF01_SCADEORIG", in.scade);
    put(r, "EF01_NUMRATA", in.rata);
    put(r, "EF01_TOTRATE", d.instalments);
    put(r, "EF01_DATAREG", d.dataReg);
    put(r, "EF01_DATADOC", d.dataDoc);
    put(r, "EF01_NUMDOC", d.numdoc);
    put(r, "EF01_SEZDOC", d.sezdoc);
    put(r, "EF01_FLGDOCBIS", 0);
    put(r, "EF01_NUMDOCORIG",
        d.archive == 1 ? QVariant(QStringLiteral("%1/%2").arg(rnd_.between(1, 3000)).arg(d.year % 100))
                       : QVariant());
    put(r, "EF01_ANNOPART", d.year);
    put(r, "EF01_NUMPART", d.numdoc);
    put(r, "EF01_SEZPART", d.sezdoc);
    put(r, "EF01_FLGPARTBIS", 0);
    put(r, "EF01_CODICE_CG08", d.currency);
    put(r, "EF01_DATACAMBIO", d.dataCambio);
    put(r, "EF01_CAMBIO", d.cambio);
    put(r, "EF01_CONTRFINANZ",
        d.foreign && rnd_.chance(20) ? QVariant(QStringLiteral("FIN-%1").arg(rnd_.between(1000, 9999)))
                                     : QVariant());
}

void DemoBuilder::billAmounts(Row& r, const Document& d, const Instalment& in, const BillState& st) {
    const auto money = [](const Decimal& value) { return QVariant::fromValue(value); };
    put(r, "EF01_IMPEFF_S", money(st.impEff));
    put(r, "EF01_IMPEFFVAL_S", st.impEffVal);
    put(r, "EF01_IMPEFFNETPREV_S", money(st.impEffNetPrev));
    put(r, "EF01_IMPEFFNETPREVVAL_S", st.impEffNetPrevVal);
    put(r, "EF01_IMPEFFORIG", money(in.euro));
    put(r, "EF01_IMPEFFORIGVAL", in.val);
    const Decimal vatShare = in.rata == 1 && !d.publicBody() ? d.vat : Decimal::fromMantissa(0, 2);
    put(r, "EF01_IMPEFFIVA", money(vatShare));
    put(r, "EF01_IMPEFFIVA_VAL", d.inCurrency(vatShare));
    const Decimal totalEuro = d.foreign ? Decimal::divide(d.total, Value::toDecimal(d.cambio), 2) : d.total;
    put(r, "EF01_TOTDOC", money(totalEuro));
    put(r, "EF01_TOTDOCVAL", d.foreign ? QVariant::fromValue(d.total.rounded(d.decimals)) : QVariant());
    const Decimal stamps =
        d.tipoEff == 2 && rnd_.chance(30) ? Decimal::fromMantissa(200, 2) : Decimal::fromMantissa(0, 2);
    const Decimal charges = d.tipoEff == 2 || d.tipoEff == 11
                                ? Decimal::fromMantissa(rnd_.pick(QList<int>{0, 250, 350}), 2)
                                : Decimal::fromMantissa(0, 2);
    put(r, "EF01_BOLLI", money(stamps));
    put(r, "EF01_BOLLIVAL", d.inCurrency(stamps));
    put(r, "EF01_SPINC", money(charges));
    put(r, "EF01_SPINCVAL", d.inCurrency(charges));
    const Decimal withheld = Decimal::divide(d.withholding, Decimal(d.instalments), 2);
    const Decimal residual = st.indStato == 1 ? Decimal::fromMantissa(0, 2) : withheld;
    put(r, "EF01_IMPRITACCORIG", money(withheld));
    put(r, "EF01_IMPRITACCORIGVAL", d.inCurrency(withheld));
    put(r, "EF01_IMPRITACC", money(residual));
    put(r, "EF01_IMPRITACCVAL", d.inCurrency(residual));
}

// Banks, state and flags, as the history left them.
void DemoBuilder::billState(Row& r, const Document& d, const Instalment& in, const BillState& st) {
    const Counterpart* cp = d.cp;
    put(r, "EF01_BANCAAPP_CG12", cp && cp->abi ? QVariant(cp->abi) : QVariant());
    put(r, "EF01_AGENAPP_CG13", cp && cp->abi ? QVariant(cp->cab) : QVariant());
    put(r, "EF01_BANCAPRE_SCG12", st.bancaPre);
    put(r, "EF01_AGENPRE_SCG13", st.agenPre);
    put(r, "EF01_CODPAG_CG62", cp ? QVariant(cp->payment) : QVariant());
    put(r, "EF01_INDSPERIT_S", st.indSperit);
    put(r, "EF01_SPESERIT_S", st.speseRit);
    put(r, "EF01_SPESERITBAN_S", st.speseRitBan);
    put(r, "EF01_INDSTATO_S", st.indStato);
    put(r, "EF01_INDPRES_S", st.indPres);
    put(r, "EF01_INDTIPOMOV", rnd_.weighted({90, 4, 3, 2, 1}));
    put(r, "EF01_INDGENSTATO_S", st.indGenStato);
    put(r, "EF01_INDLIQPROV", cp && cp->agent ? rnd_.weighted({70, 25, 5}) : 0);
    put(r, "EF01_FLGSTEFF_S", st.flgSteff);
    put(r, "EF01_NUMSTEFF_S", st.numSteff);
    put(r, "EF01_FLGEFFVAR", in.path.contains(0) || in.path.contains(12) ? 1 : 0);
    put(r, "EF01_FLGACCONTO", 0);
    put(r, "EF01_FLGSOSPESO", rnd_.chance(2) ? 1 : 0);
    put(r, "EF01_FLGGENDARAG", in.path.contains(5) ? 1 : 0);
    put(r, "EF01_FLGESTRAZ", rnd_.chance(5) ? 1 : 0);
    put(r, "EF01_NUMRIEMIS_S", st.numRiemis);
    put(r, "EF01_FLGRICEVUTO_S", st.flgRicevuto);
    put(r, "EF01_FLGGIRATO_S", st.flgGirato);
    put(r, "EF01_IMPADEGCAMBIO_S", st.impAdeg);
    put(r, "EF01_DATACAMBIOADCONTO_S", st.dataCambioAd);
    put(r, "EF01_CAMBIOADCONTO_S", st.cambioAd);
    // Bills already handed to the treasury module.
    put(r, "EF01_INDEXP", st.indStato == 0 && in.pastDue && rnd_.chance(30) ? 1 : 0);
    put(r, "EF01_FLGINCASSOBF_S", st.flgIncassoBf);
}

// CIG and CUP, the GUID, the company bank, the account and the attachment; gives the GUID.
QString DemoBuilder::billLinks(Row& r, const Document& d, const Instalment& in) {
    if (d.cigCup) {
        put(r, "EF01_CIG", cigByPair_.value(d.cigCup));
        put(r, "EF01_CUP", cupByPair_.value(d.cigCup));
    }
    QString rowGuid = guid();
    put(r, "EF01_GUID", rowGuid);
    put(r, "EF01_DATADECORR", d.dataDoc);
    put(r, "EF01_INDMERCEART62", d.archive == 0 ? rnd_.weighted({80, 10, 10}) : 0);
    put(r, "EF01_PROGR_EF08",
        d.archive <= 1 && rnd_.chance(70) ? QVariant(rnd_.between(1, companyBanks_.size())) : QVariant());
    put(r, "EF01_ID_MG35", d.cp && d.cp->accountId ? QVariant(d.cp->accountId) : QVariant());
    put(r, "EF01_CODCCRED",
        d.tipoEff == 7 ? QVariant(QStringLiteral("**** **** **** %1").arg(rnd_.between(1000, 9999)))
                       : QVariant());
    put(r, "EF01_ACCETTAZIONE", d.tipoEff == 3 || d.tipoEff == 4 ? (d.tipoEff == 4 ? 1 : 2) : 0);
    put(r, "EF01_NUMEFFACCOR", in.path.contains(5) ? QVariant(rnd_.between(1, 500)) : QVariant());
    put(r, "EF01_CAUSMGO_MGFO", d.archive == 0 ? s("VEN") : d.archive == 1 ? s("ACQ") : QVariant());
    put(r, "EF01_NRAVVISOMAV",
        d.tipoEff == 16 ? QVariant(QStringLiteral("%1").arg(rnd_.next() % 100000000000000000ULL, 17, 10,
                                                            QLatin1Char('0')))
                        : QVariant());
    if (rnd_.chance(2)) {
        const QString media = guid();
        put(r, "EF01_IDMEDIA_CG99", media);
        const QByteArray content = QStringLiteral("Copia della fattura %1/%2 del %3")
                                       .arg(d.numdoc)
                                       .arg(d.sezdoc)
                                       .arg(d.dataDoc.toString(QStringLiteral("dd/MM/yyyy")))
                                       .toUtf8();
        write("KV05_ALLEGATI", {{"KV05_IDMEDIA", media},
                                {"KV05_PROGR", 1},
                                {"KV05_NOMEFILE", QStringLiteral("fattura_%1.txt").arg(d.numdoc)},
                                {"KV05_DESCR", s("Copia fattura")},
                                {"KV05_DATAINS", QDateTime(d.dataReg, QTime(9, 30))},
                                {"KV05_UTENTE_KV02", s("ADMIN")},
                                {"KV05_CONTENUTO", QString::fromLatin1(content.toBase64())}});
    }
    return rowGuid;
}

// The bill of exchange's row; an endorsed one waits for the supplier Bill it pays.
void DemoBuilder::exchangeLink(const Document& d, const QVariantList& received, bool endorse) {
    BulkInserter& cecam = to("EF03_SCADCECAM");
    Row link = cecam.newRow();
    const Counterpart* cp = d.cp;
    const QList<std::pair<const char*, QVariant>> values = {
        {"EF03_DITTA_CG18", DemoGenerator::kCompany},
        {"EF03_NUMREG_CO99", d.key.numreg},
        {"EF03_RIGACONT_EF01", d.key.riga},
        {"EF03_PROGEC_EF01", d.key.progec},
        {"EF03_PROGEFF_EF01", d.key.progeff},
        {"EF03_DEBITORE",
         d.archive == 0 && cp ? QVariant(cp->name) : QVariant(s("Ferramenta Lombarda Distribuzione S.p.A."))},
        {"EF03_PIAZZA", cp ? QVariant(cp->city) : QVariant(s("Bergamo"))},
        {"EF03_DITTARIC_EF01", received[0]},
        {"EF03_NUMREGRIC_EF01", received[1]},
        {"EF03_RIGACONTRIC_EF01", received[2]},
        {"EF03_PROGECRIC_EF01", received[3]},
        {"EF03_PROGEFFRIC_EF01", received[4]}};
    for (const auto& [name, value] : values) link.set(QString::fromLatin1(name), value);
    if (endorse)
        endorsedPending_.append({d.key, link});
    else
        cecam.insert(link);
    ++counts_.billsOfExchange;
}

void DemoBuilder::note(const BillKey& key) {
    static const QList<const char*> notes = {
        "Cliente sollecitato telefonicamente, promette il pagamento entro fine mese.",
        "Concordata proroga della scadenza con l'ufficio acquisti.",
        "Verificare l'IBAN: il cliente ha cambiato banca d'appoggio.",
        "Pratica in contestazione per merce non conforme (DDT n. 1245)."};
    write("EF04_SCADNOTE",
          {{"EF04_DITTA_CG18", DemoGenerator::kCompany},
           {"EF04_NUMREG_CO99", key.numreg},
           {"EF04_RIGACONT_EF01", key.riga},
           {"EF04_PROGEC_EF01", key.progec},
           {"EF04_PROGEFF_EF01", key.progeff},
           {"EF04_NOTEAMMIN", s(rnd_.pick(notes))},
           {"EF04_NOTERAGGR",
            rnd_.chance(30) ? QVariant(s("Raggruppare con le scadenze dello stesso mese")) : QVariant()},
           {"EF04_IDMEDIA_CG99", QVariant()}});
    ++counts_.notes;
}

void DemoBuilder::bills() {
    long long written = 0;
    while (written < o_.bills) {
        const int archive = rnd_.weighted({60, 30, 6, 4});
        const Counterpart* cp = archive == 0   ? &customers_[rnd_.between(0, int(customers_.size()) - 1)]
                                : archive == 1 ? &suppliers_[rnd_.between(0, int(suppliers_.size()) - 1)]
                                               : nullptr;
        const long long before = counts_.bills;
        document(cp, archive, o_.bills - written);
        written = counts_.bills;
        billsInTransaction_ += written - before;
        if (o_.billsPerTransaction > 0 && billsInTransaction_ >= o_.billsPerTransaction) {
            flushAll();
            transaction_->commit();
            transaction_.emplace(c_);
            billsInTransaction_ = 0;
        }
        if (o_.progress && written / 10000 != before / 10000) o_.progress(written);
    }
}

void DemoBuilder::finish() {
    // Bills endorsed to a third party outside the books keep an empty link.
    for (const auto& pending : endorsedPending_) to("EF03_SCADCECAM").insert(pending.second);
    endorsedPending_.clear();
    for (auto& [k, d] : openDist_) distinte_[{std::get<0>(k), std::get<1>(k), d.number}] = d;
    for (const auto& [k, d] : distinte_)
        write("EF09_DISTINTE", {{"EF09_DITTA_CG18", DemoGenerator::kCompany},
                                {"EF09_INDTIPODIST", std::get<0>(k)},
                                {"EF09_ANNO", std::get<1>(k)},
                                {"EF09_NUMDIST", std::get<2>(k)},
                                {"EF09_DATACRESUPP", d.date},
                                {"EF09_NUMTOTEFF", d.count},
                                {"EF09_IMPTOTEFF", QVariant::fromValue(d.total)}});
    for (const auto& [k, d] : distinte_)
        write("KV25_BANCHEDIST", {{"KV25_DITTA_CG18", DemoGenerator::kCompany},
                                  {"KV25_INDTIPODIST", std::get<0>(k)},
                                  {"KV25_ANNO", std::get<1>(k)},
                                  {"KV25_NUMDIST", std::get<2>(k)},
                                  {"KV25_BANCA_CG12", d.bank.first},
                                  {"KV25_AGENZIA_CG13", d.bank.second}});
    for (auto& [k, d] : openOrders_) orders_[{std::get<0>(k), std::get<1>(k), d.number}] = d;
    for (const auto& [k, d] : orders_)
        write("EF10_ORDPBONIF", {{"EF10_DITTA_CG18", DemoGenerator::kCompany},
                                 {"EF10_INDORDPBONIF", std::get<0>(k)},
                                 {"EF10_ANNO", std::get<1>(k)},
                                 {"EF10_NUMORDPBONIF", std::get<2>(k)},
                                 {"EF10_DATAORDPBONIF", d.date},
                                 {"EF10_NUMTOTEFF", d.count},
                                 {"EF10_IMPTOTEFF", QVariant::fromValue(d.total)}});
    for (auto it = numregByYear_.cbegin(); it != numregByYear_.cend(); ++it)
        write("KV04_NUMERATORI", {{"KV04_SERIE", s("999")},
                                  {"KV04_DITTA_CG18", DemoGenerator::kCompany},
                                  {"KV04_ANNO", it.key()},
                                  {"KV04_ULTIMO", it.value()},
                                  {"KV04_PREFISSO", QString::number(it.key())}});
    // Bill numbers: series 921 for receivables and 922 for payables; the demo numbers both
    // kinds in one sequence, so each series goes on from its end.
    for (auto it = numeffByYear_.cbegin(); it != numeffByYear_.cend(); ++it)
        for (const char* series : {"921", "922"})
            write("KV04_NUMERATORI", {{"KV04_SERIE", s(series)},
                                      {"KV04_DITTA_CG18", DemoGenerator::kCompany},
                                      {"KV04_ANNO", it.key()},
                                      {"KV04_ULTIMO", it.value()},
                                      {"KV04_PREFISSO", QString()}});
}

DemoGenerator::Counts DemoBuilder::run() {
    transaction_.emplace(c_);
    company();
    banks();
    currencies();
    codes();
    counterparts();
    bills();
    finish();
    flushAll();
    transaction_->commit();
    transaction_.reset();
    return counts_;
}
