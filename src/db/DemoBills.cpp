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

void DemoBuilder::transferOrder(Row& r, const Movement& m, const BillState& st) {
    const int kind = m.tipoEff == 14 ? 1 : 0;
    Distinta& open = openOrders_[{kind, m.date.year()}];
    if (open.number == 0 || open.count >= 25) {
        if (open.number) orders_[{kind, m.date.year(), open.number}] = open;
        open = Distinta{open.number + 1, 0, Decimal(), m.date};
    }
    ++open.count;
    open.total = open.total + st.impEff;
    put(r, "EF06_DITTA_EF10", DemoGenerator::kCompany);
    put(r, "EF06_INDORDPBONIF_EF10", kind);
    put(r, "EF06_ANNO_EF10", m.date.year());
    put(r, "EF06_NUMORDPBONIF_EF10", open.number);
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
    Distinta& open = openDist_[{kind, m.date.year()}];
    if (open.number == 0 || open.count >= 40) {
        if (open.number) distinte_[{kind, m.date.year(), open.number}] = open;
        open = Distinta{open.number + 1, 0, Decimal(), m.date};
    }
    ++open.count;
    open.total = open.total + st.impEff;
    put(r, "EF06_DITTA_EF09", DemoGenerator::kCompany);
    put(r, "EF06_INDTIPODIST_EF09", kind);
    put(r, "EF06_ANNO_EF09", m.date.year());
    put(r, "EF06_NUMDIST_EF09", open.number);
    if (kind == 2)
        put(r, "EF06_ETICHRAGGRAVV", QStringLiteral("MAV%1-%2").arg(m.date.year()).arg(open.number));
    const auto& [abi, cab] = rnd_.pick(companyBanks_);
    st.bancaPre = abi;
    st.agenPre = cab;
    st.indPres = rnd_.pick(QList<int>{2, 2, 3, 4, 5, 6});
    st.flgSteff = 1;
    st.numSteff = open.number;
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
void DemoBuilder::document(const Counterpart* cp, int archive, long long remaining) {
    const int span = int(booksStart().daysTo(today().addDays(-10)));
    const QDate dataDoc = workday(booksStart().addDays(rnd_.between(0, span)));
    const QDate dataReg = workday(dataDoc.addDays(rnd_.between(0, 4)));
    const int year = dataReg.year();
    const int seq = ++numregByYear_[year];
    BillKey key;
    // The year's prefix and 8 digits, as the module's numbering composes registration numbers.
    key.numreg = QStringLiteral("%1%2").arg(year).arg(seq, 8, 10, QLatin1Char('0'));
    key.riga = archive <= 1 ? 1 : rnd_.between(1, 3);
    key.progec = 1;
    const bool fromModule = rnd_.chance(35);
    write(
        "CO99_MASTERDOC",
        {{"CO99_DITTA_CG18", DemoGenerator::kCompany},
         {"CO99_NUMREG", key.numreg},
         {"CO99_INDTIPOOP", fromModule     ? 4
                            : archive == 1 ? 2
                            : archive == 0 ? 1
                                           : 3},
         {"CO99_DATACRE", dataReg},
         {"CO99_GRUPPOCRE", fromModule ? s("AMMINISTRAZIONE") : s("CONTABILITA")},
         {"CO99_UTENTECRE", fromModule ? s("ADMIN") : rnd_.pick(QList<QString>{s("MROSSI"), s("GDANGELO")})},
         {"CO99_INDCOIN", fromModule ? 2 : 0}});
    ++counts_.documents;

    // The bill type: customers mostly by bank receipt, suppliers by bank transfer.
    static const QList<int> customerTypes = {2, 11, 16, 14, 13, 6, 3, 4, 5, 1, 7, 8, 9, 10, 12, 15, 99};
    static const QList<int> customerWeights = {40, 10, 6, 12, 8, 4, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1};
    static const QList<int> supplierTypes = {14, 13, 2, 6, 12, 15, 1, 99};
    static const QList<int> supplierWeights = {55, 15, 15, 5, 4, 2, 2, 2};
    int tipoEff = archive == 0   ? customerTypes[rnd_.weighted(customerWeights)]
                  : archive == 1 ? supplierTypes[rnd_.weighted(supplierWeights)]
                                 : rnd_.pick(QList<int>{13, 14, 99});
    if (cp && cp->publicBody) tipoEff = 14;

    QString currency = QStringLiteral("EURO");
    QVariant cambio, dataCambio;
    if (archive <= 1 && !(cp && cp->publicBody)) {
        const int draw = rnd_.between(1, 100);
        if (draw <= 8) {
            currency = rnd_.pick(floating_);
            cambio = rateOf(currency, dataDoc);
            dataCambio = dataDoc;
        } else if (draw == 9) {
            // An old document in lire, converted at the fixed rate.
            currency = s("ITL");
            cambio = QVariant::fromValue(Decimal::fromString(s("1936.27")));
            dataCambio = QDate(1999, 1, 1);
        }
    }
    const bool foreign = currency != QStringLiteral("EURO");
    const int decimals = currency == QStringLiteral("JPY") || currency == QStringLiteral("ITL") ? 0 : 2;

    const Decimal taxable = rnd_.amount(archive == 0 ? 150 : 80, archive == 0 ? 25000 : 12000);
    const int vatRate = foreign ? 0 : rnd_.pick(QList<int>{22, 22, 22, 10, 4});
    const Decimal vat = Decimal::divide(taxable * Decimal(vatRate), Decimal(100), 2);
    // Public bodies pay the VAT to the treasury themselves (split payment).
    const Decimal total = cp && cp->publicBody ? taxable : taxable + vat;
    const Decimal withholding = cp && cp->professional && !foreign
                                    ? Decimal::divide(taxable * Decimal(20), Decimal(100), 2)
                                    : Decimal();
    // The last document stops at the number of Bills asked for.
    const int instalments = int(qMin<long long>(
        remaining, tipoEff == 99 || tipoEff == 1 ? 1 : rnd_.pick(QList<int>{1, 1, 1, 2, 2, 3, 4})));
    const int numdoc = rnd_.between(1, 9999);
    const QString sezdoc = archive == 1 ? s("V") : cp && cp->publicBody ? s("PA") : foreign ? s("B") : s("A");
    const int cigCup = cp && !cp->cigCup.isEmpty() ? rnd_.pick(cp->cigCup) : 0;

    Decimal assigned;
    for (int rata = 1; rata <= instalments; ++rata) {
        key.progeff = rata;
        const Decimal share =
            rata == instalments ? total - assigned : Decimal::divide(total, Decimal(instalments), 2);
        assigned = assigned + share;
        const QDate endOfMonth(dataDoc.year(), dataDoc.month(), dataDoc.daysInMonth());
        const QDate scade = workday(endOfMonth.addDays(30 * rata));
        const bool pastDue = scade < today();

        // Euro amounts follow from the currency amount at the document's rate.
        Decimal euro = share;
        QVariant val;
        if (foreign) {
            const Decimal units = share.rounded(decimals);
            val = QVariant::fromValue(units);
            euro = Decimal::divide(units, Value::toDecimal(cambio), 2);
        }
        const auto inCurrency = [&](const Decimal& e) -> QVariant {
            return foreign ? QVariant::fromValue((e * Value::toDecimal(cambio)).rounded(decimals))
                           : QVariant();
        };

        BillState st;
        st.scade = scade;
        st.indPres = archive == 0 && (tipoEff == 2 || tipoEff == 11 || tipoEff == 16 || tipoEff == 6) ? 1 : 0;
        st.impEff = euro;
        st.impEffNetPrev = euro;
        st.impEffVal = val;
        st.impEffNetPrevVal = val;
        st.speseRit = QVariant::fromValue(Decimal::fromMantissa(0, 2));
        st.speseRitBan = QVariant::fromValue(Decimal::fromMantissa(0, 2));

        // A customer's bill of exchange may be endorsed to a supplier: the supplier's Bill is
        // then received from it.
        const bool exchange = tipoEff == 6 || tipoEff == 3 || tipoEff == 4 || tipoEff == 5;
        QVariantList received(5);
        QList<int> path = scenario(archive, tipoEff, foreign, pastDue, cp && cp->publicBody);
        if (archive == 1 && tipoEff == 6 && !endorsedPending_.isEmpty()) {
            auto [from, row] = endorsedPending_.takeFirst();
            received = {DemoGenerator::kCompany, from.numreg, from.riga, from.progec, from.progeff};
            st.flgRicevuto = 1;
            row.set(QStringLiteral("EF03_DITTAGIR_EF01"), DemoGenerator::kCompany);
            row.set(QStringLiteral("EF03_NUMREGGIR_EF01"), key.numreg);
            row.set(QStringLiteral("EF03_RIGACONTGIR_EF01"), key.riga);
            row.set(QStringLiteral("EF03_PROGECGIR_EF01"), key.progec);
            row.set(QStringLiteral("EF03_PROGEFFGIR_EF01"), key.progeff);
            to("EF03_SCADCECAM").insert(row);
        }
        const bool endorse = archive == 0 && tipoEff == 6 && rnd_.chance(40);
        if (endorse) path = {7};

        QDate when = dataReg;
        const int progstoCount = int(path.size());
        for (int k = 0; k < progstoCount; ++k) {
            const int type = path[k];
            when = workday(type == 1 || type == 4 || type == 11 || type == 16 || type == 13
                               ? qMax(when.addDays(1), st.scade)
                               : when.addDays(rnd_.between(1, 20)));
            if (when > today()) when = today();
            movement({key, k + 1, type, when, archive, tipoEff, currency, cambio}, st);
        }

        BulkInserter& in = to("EF01_SCADENZE");
        Row r = in.newRow();
        auto set = [&](const char* name, const QVariant& v) { r.set(QString::fromLatin1(name), v); };
        const auto money = [](const Decimal& d) { return QVariant::fromValue(d); };
        set("EF01_DITTA_CG18", DemoGenerator::kCompany);
        set("EF01_NUMREG_CO99", key.numreg);
        set("EF01_RIGACONT_CG42", key.riga);
        set("EF01_PROGEC_EC01", key.progec);
        set("EF01_PROGEFF", key.progeff);
        if (archive <= 1) {
            set("EF01_DITTACF_CG18", DemoGenerator::kCompany);
            set("EF01_TIPOCF_CG44", archive);
            set("EF01_CLIFOR_CG44", cp->code);
            set("EF01_INDCONTO", archive);
            set("EF01_CONTO_CG24",
                archive == 0 ? DemoGenerator::customerAccount() : DemoGenerator::supplierAccount());
        } else {
            set("EF01_INDCONTO", archive - 2);
            set("EF01_CONTO_CG24", archive == 2 ? rnd_.pick(QList<QString>{s("0401010"), s("0405001")})
                                                : rnd_.pick(QList<QString>{s("1401010"), s("1405001")}));
        }
        set("EF01_GRUPPO_CG10", DemoGenerator::kLedgerGroup);
        set("EF01_IDAGENTE_MG17", cp && cp->agent ? QVariant(cp->agent) : QVariant());
        set("EF01_NUMEFF", ++numeffByYear_[year]);
        set("EF01_TIPOEFF", tipoEff);
        set("EF01_STIPOEFF", tipoEff == 2 || tipoEff == 11 || tipoEff == 14 || tipoEff == 6
                                 ? QVariant(rnd_.pick(QList<QString>{s("01"), s("02")}))
                                 : QVariant());
        set("EF01_SCADE_S", st.scade);
        set("EF01_SCADEORIG", scade);
        set("EF01_NUMRATA", rata);
        set("EF01_TOTRATE", instalments);
        set("EF01_DATAREG", dataReg);
        set("EF01_DATADOC", dataDoc);
        set("EF01_NUMDOC", numdoc);
        set("EF01_SEZDOC", sezdoc);
        set("EF01_FLGDOCBIS", 0);
        set("EF01_NUMDOCORIG",
            archive == 1 ? QVariant(QStringLiteral("%1/%2").arg(rnd_.between(1, 3000)).arg(year % 100))
                         : QVariant());
        set("EF01_ANNOPART", year);
        set("EF01_NUMPART", numdoc);
        set("EF01_SEZPART", sezdoc);
        set("EF01_FLGPARTBIS", 0);
        set("EF01_CODICE_CG08", currency);
        set("EF01_DATACAMBIO", dataCambio);
        set("EF01_CAMBIO", cambio);
        set("EF01_CONTRFINANZ", foreign && rnd_.chance(20)
                                    ? QVariant(QStringLiteral("FIN-%1").arg(rnd_.between(1000, 9999)))
                                    : QVariant());
        set("EF01_IMPEFF_S", money(st.impEff));
        set("EF01_IMPEFFVAL_S", st.impEffVal);
        set("EF01_IMPEFFNETPREV_S", money(st.impEffNetPrev));
        set("EF01_IMPEFFNETPREVVAL_S", st.impEffNetPrevVal);
        set("EF01_IMPEFFORIG", money(euro));
        set("EF01_IMPEFFORIGVAL", val);
        const Decimal vatShare = rata == 1 && !(cp && cp->publicBody) ? vat : Decimal::fromMantissa(0, 2);
        set("EF01_IMPEFFIVA", money(vatShare));
        set("EF01_IMPEFFIVA_VAL", inCurrency(vatShare));
        const Decimal totalEuro = foreign ? Decimal::divide(total, Value::toDecimal(cambio), 2) : total;
        set("EF01_TOTDOC", money(totalEuro));
        set("EF01_TOTDOCVAL", foreign ? QVariant::fromValue(total.rounded(decimals)) : QVariant());
        const Decimal stamps =
            tipoEff == 2 && rnd_.chance(30) ? Decimal::fromMantissa(200, 2) : Decimal::fromMantissa(0, 2);
        const Decimal charges = tipoEff == 2 || tipoEff == 11
                                    ? Decimal::fromMantissa(rnd_.pick(QList<int>{0, 250, 350}), 2)
                                    : Decimal::fromMantissa(0, 2);
        set("EF01_BOLLI", money(stamps));
        set("EF01_BOLLIVAL", inCurrency(stamps));
        set("EF01_SPINC", money(charges));
        set("EF01_SPINCVAL", inCurrency(charges));
        const Decimal withheld = Decimal::divide(withholding, Decimal(instalments), 2);
        const Decimal residual = st.indStato == 1 ? Decimal::fromMantissa(0, 2) : withheld;
        set("EF01_IMPRITACCORIG", money(withheld));
        set("EF01_IMPRITACCORIGVAL", inCurrency(withheld));
        set("EF01_IMPRITACC", money(residual));
        set("EF01_IMPRITACCVAL", inCurrency(residual));
        set("EF01_BANCAAPP_CG12", cp && cp->abi ? QVariant(cp->abi) : QVariant());
        set("EF01_AGENAPP_CG13", cp && cp->abi ? QVariant(cp->cab) : QVariant());
        set("EF01_BANCAPRE_SCG12", st.bancaPre);
        set("EF01_AGENPRE_SCG13", st.agenPre);
        set("EF01_CODPAG_CG62", cp ? QVariant(cp->payment) : QVariant());
        set("EF01_INDSPERIT_S", st.indSperit);
        set("EF01_SPESERIT_S", st.speseRit);
        set("EF01_SPESERITBAN_S", st.speseRitBan);
        set("EF01_INDSTATO_S", st.indStato);
        set("EF01_INDPRES_S", st.indPres);
        set("EF01_INDTIPOMOV", rnd_.weighted({90, 4, 3, 2, 1}));
        set("EF01_INDGENSTATO_S", st.indGenStato);
        set("EF01_INDLIQPROV", cp && cp->agent ? rnd_.weighted({70, 25, 5}) : 0);
        set("EF01_FLGSTEFF_S", st.flgSteff);
        set("EF01_NUMSTEFF_S", st.numSteff);
        set("EF01_FLGEFFVAR", path.contains(0) || path.contains(12) ? 1 : 0);
        set("EF01_FLGACCONTO", 0);
        set("EF01_FLGSOSPESO", rnd_.chance(2) ? 1 : 0);
        set("EF01_FLGGENDARAG", path.contains(5) ? 1 : 0);
        set("EF01_FLGESTRAZ", rnd_.chance(5) ? 1 : 0);
        set("EF01_NUMRIEMIS_S", st.numRiemis);
        set("EF01_FLGRICEVUTO_S", st.flgRicevuto);
        set("EF01_FLGGIRATO_S", st.flgGirato);
        set("EF01_IMPADEGCAMBIO_S", st.impAdeg);
        set("EF01_DATACAMBIOADCONTO_S", st.dataCambioAd);
        set("EF01_CAMBIOADCONTO_S", st.cambioAd);
        // Bills already handed to the treasury module.
        set("EF01_INDEXP", st.indStato == 0 && pastDue && rnd_.chance(30) ? 1 : 0);
        set("EF01_FLGINCASSOBF_S", st.flgIncassoBf);
        if (cigCup) {
            set("EF01_CIG", cigByPair_.value(cigCup));
            set("EF01_CUP", cupByPair_.value(cigCup));
        }
        const QString rowGuid = guid();
        set("EF01_GUID", rowGuid);
        set("EF01_DATADECORR", dataDoc);
        set("EF01_INDMERCEART62", archive == 0 ? rnd_.weighted({80, 10, 10}) : 0);
        set("EF01_PROGR_EF08",
            archive <= 1 && rnd_.chance(70) ? QVariant(rnd_.between(1, companyBanks_.size())) : QVariant());
        set("EF01_ID_MG35", cp && cp->accountId ? QVariant(cp->accountId) : QVariant());
        set("EF01_CODCCRED", tipoEff == 7
                                 ? QVariant(QStringLiteral("**** **** **** %1").arg(rnd_.between(1000, 9999)))
                                 : QVariant());
        set("EF01_ACCETTAZIONE", tipoEff == 3 || tipoEff == 4 ? (tipoEff == 4 ? 1 : 2) : 0);
        set("EF01_NUMEFFACCOR", path.contains(5) ? QVariant(rnd_.between(1, 500)) : QVariant());
        set("EF01_CAUSMGO_MGFO", archive == 0 ? s("VEN") : archive == 1 ? s("ACQ") : QVariant());
        set("EF01_NRAVVISOMAV", tipoEff == 16
                                    ? QVariant(QStringLiteral("%1").arg(rnd_.next() % 100000000000000000ULL,
                                                                        17, 10, QLatin1Char('0')))
                                    : QVariant());
        QString media;
        if (rnd_.chance(2)) {
            media = guid();
            set("EF01_IDMEDIA_CG99", media);
            const QByteArray content = QStringLiteral("Copia della fattura %1/%2 del %3")
                                           .arg(numdoc)
                                           .arg(sezdoc)
                                           .arg(dataDoc.toString(QStringLiteral("dd/MM/yyyy")))
                                           .toUtf8();
            write("KV05_ALLEGATI", {{"KV05_IDMEDIA", media},
                                    {"KV05_PROGR", 1},
                                    {"KV05_NOMEFILE", QStringLiteral("fattura_%1.txt").arg(numdoc)},
                                    {"KV05_DESCR", s("Copia fattura")},
                                    {"KV05_DATAINS", QDateTime(dataReg, QTime(9, 30))},
                                    {"KV05_UTENTE_KV02", s("ADMIN")},
                                    {"KV05_CONTENUTO", QString::fromLatin1(content.toBase64())}});
        }
        in.insert(r);
        ++counts_.bills;
        if (rnd_.chance(15)) {
            static const QList<std::pair<const char*, const char*>> states = {
                {"DAVER", "Da verificare"}, {"VERIF", "Verificato"}, {"CONTEST", "In contestazione"}};
            const auto& [code, descr] = rnd_.pick(states);
            write("KV08_STATIGUID",
                  {{"KV08_GUID", rowGuid}, {"KV08_CODSTATO", s(code)}, {"KV08_DESCRSTATO", s(descr)}});
        }

        if (exchange) {
            BulkInserter& cecam = to("EF03_SCADCECAM");
            Row link = cecam.newRow();
            const QList<std::pair<const char*, QVariant>> values = {
                {"EF03_DITTA_CG18", DemoGenerator::kCompany},
                {"EF03_NUMREG_CO99", key.numreg},
                {"EF03_RIGACONT_EF01", key.riga},
                {"EF03_PROGEC_EF01", key.progec},
                {"EF03_PROGEFF_EF01", key.progeff},
                {"EF03_DEBITORE", archive == 0 && cp
                                      ? QVariant(cp->name)
                                      : QVariant(s("Ferramenta Lombarda Distribuzione S.p.A."))},
                {"EF03_PIAZZA", cp ? QVariant(cp->city) : QVariant(s("Bergamo"))},
                {"EF03_DITTARIC_EF01", received[0]},
                {"EF03_NUMREGRIC_EF01", received[1]},
                {"EF03_RIGACONTRIC_EF01", received[2]},
                {"EF03_PROGECRIC_EF01", received[3]},
                {"EF03_PROGEFFRIC_EF01", received[4]}};
            for (const auto& [name, value] : values) link.set(QString::fromLatin1(name), value);
            // An endorsed bill's link names the supplier Bill it paid, written later.
            if (endorse)
                endorsedPending_.append({key, link});
            else
                cecam.insert(link);
            ++counts_.billsOfExchange;
        }
        if (rnd_.chance(8)) {
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
                   {"EF04_NOTERAGGR", rnd_.chance(30)
                                          ? QVariant(s("Raggruppare con le scadenze dello stesso mese"))
                                          : QVariant()},
                   {"EF04_IDMEDIA_CG99", QVariant()}});
            ++counts_.notes;
        }
        if (archive == 0 && st.indStato == 0 && pastDue) reminders(key, st, st.scade);
    }
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
