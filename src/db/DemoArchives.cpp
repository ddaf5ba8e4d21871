#include "Accounts.h"
#include "Credentials.h"
#include "DemoBuilder.h"
#include "Schema.h"

#include "Iban.h"
#include "Schema.h"

namespace {

using City = DemoBuilder::City;
using Bank = DemoBuilder::Bank;
using Currency = DemoBuilder::Currency;

const QList<City> kCities = {
    {"Milano", "MI", "20121", 1600, "IT"},   {"Torino", "TO", "10121", 1000, "IT"},
    {"Roma", "RM", "00184", 3200, "IT"},     {"Napoli", "NA", "80133", 3400, "IT"},
    {"Bologna", "BO", "40121", 2400, "IT"},  {"Firenze", "FI", "50123", 2800, "IT"},
    {"Bergamo", "BG", "24121", 11100, "IT"}, {"Brescia", "BS", "25121", 11200, "IT"},
    {"Verona", "VR", "37121", 11700, "IT"},  {"Padova", "PD", "35122", 12100, "IT"},
    {"Genova", "GE", "16121", 1400, "IT"},   {"Bari", "BA", "70121", 4000, "IT"},
    {"Palermo", "PA", "90133", 4600, "IT"},  {"Parma", "PR", "43121", 12700, "IT"},
    {"Modena", "MO", "41121", 12900, "IT"},  {"Treviso", "TV", "31100", 12000, "IT"},
    {"Vicenza", "VI", "36100", 11800, "IT"}, {"Ancona", "AN", "60121", 2600, "IT"},
    {"Perugia", "PG", "06121", 3000, "IT"},  {"Lecce", "LE", "73100", 16000, "IT"},
};
const City kSanMarino = {"San Marino", "SM", "47890", 9800, "SM"};

const QList<Bank> kItalianBanks = {
    {3069, "Intesa Sanpaolo S.p.A.", "BCITITMM"},
    {2008, "UniCredit S.p.A.", "UNCRITMM"},
    {5034, "Banco BPM S.p.A.", "BAPPIT21"},
    {1030, "Banca Monte dei Paschi di Siena S.p.A.", "PASCITMM"},
    {5387, "BPER Banca S.p.A.", "BPMOIT22"},
    {6230, "Crédit Agricole Italia S.p.A.", "CRPPIT2P"},
    {5696, "Banca Popolare di Sondrio S.p.A.", "POSOIT22"},
    {3104, "Deutsche Bank S.p.A.", "DEUTITMM"},
    {8327, "Banca di Credito Cooperativo di Roma", "ROMAITRR"},
    {3062, "Banca Mediolanum S.p.A.", "MEDBITMM"},
};
const Bank kSanMarinoBank = {3225, "Banca di San Marino S.p.A.", "BSMASMSM"};

const QList<const char*> kSurnames = {
    "Rossi",      "Bianchi",  "Colombo",   "Ferrari",  "Esposito",  "Romano",  "Ricci",   "Marino",
    "Greco",      "Bruno",    "Gallo",     "Conti",    "De Luca",   "Mancini", "Costa",   "Giordano",
    "Rizzo",      "Lombardi", "Moretti",   "Barbieri", "Fontana",   "Santoro", "Mariani", "Rinaldi",
    "Caruso",     "Ferrara",  "Galli",     "Martini",  "Leone",     "Longo",   "Gentile", "Vitale",
    "Serra",      "Coppola",  "De Santis", "D'Angelo", "Marchetti", "Parisi",  "Villa",   "Cattaneo",
    "Pellegrini", "Sala",     "Fabbri",    "Bernardi", "Testa",
};
const QList<const char*> kTrades = {
    "Ferramenta",
    "Edilizia",
    "Trasporti",
    "Alimentari",
    "Impianti Elettrici",
    "Arredamenti",
    "Tessuti",
    "Meccanica",
    "Carpenteria",
    "Informatica",
    "Forniture Industriali",
    "Costruzioni",
    "Serramenti",
    "Termoidraulica",
    "Logistica",
    "Vernici",
    "Ceramiche",
    "Packaging",
};
const QList<const char*> kForms = {"S.r.l.", "S.p.A.", "S.n.c.", "S.a.s.", "& Figli S.r.l.", "S.r.l.s."};
const QList<const char*> kStreets = {"Via Roma",
                                     "Via Garibaldi",
                                     "Corso Italia",
                                     "Via Mazzini",
                                     "Viale Europa",
                                     "Via Dante Alighieri",
                                     "Piazza della Repubblica",
                                     "Via Cavour",
                                     "Via XX Settembre",
                                     "Via dell'Industria",
                                     "Via Artigiani"};
constexpr int kAgents = 6;
constexpr int kCigCupPairs = 12;  // registered CIG/CUP pairs

const QList<const char*> kPublicBodies = {"Comune di Bergamo",   "ASL Roma 2",
                                          "Provincia di Verona", "Università degli Studi di Padova",
                                          "Comune di Parma",     "Azienda Ospedaliera di Modena"};

const QList<Currency> kFloating = {{"USD", "Dollaro USA", 1.0666, 2},
                                   {"GBP", "Sterlina inglese", 0.8872, 2},
                                   {"CHF", "Franco svizzero", 0.9847, 2},
                                   {"JPY", "Yen giapponese", 140.66, 0}};

// A counterpart of the demo company.

QString partitaIva(DemoRandom& rnd) {
    QString digits;
    for (int i = 0; i < 10; ++i) digits += QChar('0' + rnd.between(0, 9));
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int d = digits[i].digitValue();
        if (i % 2 == 1) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
        sum += d;
    }
    return digits + QChar('0' + (10 - sum % 10) % 10);
}

}  // namespace

DemoBuilder::DemoBuilder(Connection& connection, const DemoGenerator::Options& options)
    : c_(connection), o_(options), rnd_(options.seed) {
    for (const TableDef* t : Schema::catalogue()->tables())
        if (!t->isView) ins_.emplace(t->name, std::make_unique<BulkInserter>(c_, *t));
}

void DemoBuilder::company() {
    write("CG18_DITTE", {{"CG18_DITTA", DemoGenerator::kCompany},
                         {"CG18_RAGSOC", s("Ferramenta Lombarda Distribuzione S.p.A.")},
                         {"CG18_PARTIVA", s("IT03927460161")},
                         {"CG18_CITTA", s("Bergamo")}});
    write("CG10_GRUPPIPDC",
          {{"CG10_GRUPPO", DemoGenerator::kLedgerGroup}, {"CG10_DESCR", s("Piano dei conti CEE")}});
    const QList<std::tuple<int, const char*, const char*>> accounts = {
        {0, "0401001", "Crediti verso clienti"},
        {0, "0401010", "Effetti attivi in portafoglio"},
        {0, "0401020", "Effetti all'incasso"},
        {0, "0405001", "Crediti diversi"},
        {0, "0501001", "Banca c/c ordinario"},
        {1, "1401001", "Debiti verso fornitori"},
        {1, "1401010", "Effetti passivi"},
        {1, "1405001", "Debiti diversi"},
        {1, "1410001", "Erario c/ritenute da versare"}};
    for (const auto& [kind, code, descr] : accounts)
        write("CG24_TABPDC", {{"CG24_GRUPPO_CG10", DemoGenerator::kLedgerGroup},
                              {"CG24_INDTIPOCONTO", kind},
                              {"CG24_CONTO", s(code)},
                              {"CG24_DESCR", s(descr)}});
    write("KV01_PARAMDITTA", {{"KV01_DITTA_CG18", DemoGenerator::kCompany},
                              {"KV01_GRUPPO_CG10", DemoGenerator::kLedgerGroup},
                              {"KV01_CONTOCLI_CG24", DemoGenerator::customerAccount()},
                              {"KV01_CONTOFOR_CG24", DemoGenerator::supplierAccount()},
                              {"KV01_FLGSEZIONALI", 1},
                              {"KV01_DATAINIZSEZ", QDate(booksStart().year(), 1, 1)},
                              {"KV01_FLGDATARIF", 0},
                              {"KV01_DATARIF", QVariant()}});
    // What the banks' files need: the SIA code and CUC the interbank network gave the company,
    // its SEPA creditor identifier (check digits of its tax code), where it is.
    write("KV20_DATIBANCA", {{"KV20_DITTA_CG18", DemoGenerator::kCompany},
                             {"KV20_CODSIA", s("F7K2L")},
                             {"KV20_CUC", s("0392746B")},
                             {"KV20_IDCREDITORE", s("IT16ZZZ03927460161")},
                             {"KV20_INDIRIZZO", s("Via Borgo Palazzo 118")},
                             {"KV20_CAP", s("24125")},
                             {"KV20_PROV", s("BG")},
                             {"KV20_CODFISC", s("03927460161")},
                             {"KV20_NOMEBREVE", s("FERRAMENTA LOMBARDA")}});
    for (const auto& [code, descr] :
         QList<std::pair<const char*, const char*>>{{"A", "Sezionale vendite Italia"},
                                                    {"B", "Sezionale vendite estero"},
                                                    {"V", "Sezionale acquisti"},
                                                    {"PA", "Sezionale pubblica amministrazione"}})
        write("CG19_SEZIONALI", {{"CG19_DITTA_CG18", DemoGenerator::kCompany},
                                 {"CG19_CODICE", s(code)},
                                 {"CG19_DESCR", s(descr)}});
    users();
    messages();
}

// The groups, their rights on the Bills, and the users with their sign-in rows.
void DemoBuilder::users() {
    write("KV03_GRUPPI",
          {{"KV03_GRUPPO", s("AMMINISTRAZIONE")}, {"KV03_DESCR", s("Amministrazione e finanza")}});
    write("KV03_GRUPPI", {{"KV03_GRUPPO", s("CONTABILITA")}, {"KV03_DESCR", s("Ufficio contabilità")}});
    // The administrators may do everything; the accounts office may not delete Bills.
    for (const auto& [group, remove] : {std::pair{"AMMINISTRAZIONE", true}, std::pair{"CONTABILITA", false}})
        write("KV11_DIRITTI", {{"KV11_GRUPPO_KV03", s(group)},
                               {"KV11_PROGRAMMA", Schema::billProgram()},
                               {"KV11_FLGINS", 1},
                               {"KV11_FLGMOD", 1},
                               {"KV11_FLGCANC", remove ? 1 : 0},
                               {"KV11_FLGCONS", 1}});
    const Credentials& credentials = c_.dialect().credentials();
    for (const DemoGenerator::User& user : DemoGenerator::users()) {
        // A user without a login role signs in by the hash kept here (made once per process:
        // Argon2id is slow on purpose).
        const QString role = credentials.loginRoleOf(user.code);
        write("KV02_UTENTI", {{"KV02_UTENTE", user.code},
                              {"KV02_NOME", user.name},
                              {"KV02_GRUPPO_KV03", user.group},
                              {"KV02_FLGPRIVIL", user.privileged ? 1 : 0}});
        write("KV10_ACCESSI",
              {{"KV10_UTENTE_KV02", user.code},
               {"KV10_HASH", role.isEmpty() ? QVariant(DemoGenerator::passwordHash(user.code)) : QVariant()},
               {"KV10_RUOLODB", role.isEmpty() ? QVariant() : QVariant(role)},
               {"KV10_FLGDISAB", 0},
               {"KV10_TENTATIVI", 0}});
    }
}

// The host's message texts the module asks for by number.
void DemoBuilder::messages() {
    const QList<std::pair<int, const char*>> messages = {{1, "Falso"},
                                                         {2, "Vero"},
                                                         {10, "Numero distinta"},
                                                         {11, "Data creazione supporto"},
                                                         {12, "Numero effetti"},
                                                         {13, "Importo totale"},
                                                         {20, "Elenco distinte Riba"},
                                                         {21, "Elenco distinte Rid"},
                                                         {22, "Elenco distinte Mav"},
                                                         {23, "Elenco distinte"},
                                                         {30, "Numero ordine"},
                                                         {31, "Data ordine"},
                                                         {32, "Elenco ordini di pagamento"},
                                                         {33, "Elenco bonifici"},
                                                         {101, "Contanti"},
                                                         {102, "Ricevuta bancaria"},
                                                         {103, "Tratta"},
                                                         {104, "Tratta accettata"},
                                                         {105, "Cessione"},
                                                         {106, "Cambiale"},
                                                         {107, "Carta di credito"},
                                                         {108, "Bancomat"},
                                                         {109, "Contrassegno"},
                                                         {110, "Lettera di credito"},
                                                         {111, "RID"},
                                                         {112, "Leasing"},
                                                         {113, "Rimessa diretta"},
                                                         {114, "Bonifico bancario"},
                                                         {115, "C/C postale"},
                                                         {116, "MAV"},
                                                         {199, "Solo descrittivo"},
                                                         {120, "Numero effetto"},
                                                         {121, "Tipo effetto"},
                                                         {122, "Scadenza"},
                                                         {123, "Importo"},
                                                         {124, "Cliente"},
                                                         {125, "Ragione sociale cliente"},
                                                         {126, "Fornitore"},
                                                         {127, "Ragione sociale fornitore"}};
    for (const auto& [n, text] : messages)
        write("KV06_MESSAGGI", {{"KV06_NUMERO", n}, {"KV06_TESTO", s(text)}});
}

void DemoBuilder::banks() {
    auto agenciesOf = [&](const Bank& bank, const QList<City>& cities) {
        write("CG12_BANCHE",
              {{"CG12_BANCA", bank.abi}, {"CG12_DESCR", s(bank.name)}, {"CG12_BIC", s(bank.bic)}});
        for (const City& city : cities) {
            const int count = rnd_.between(1, 3);
            for (int k = 1; k <= count; ++k) {
                const int cab = city.cab + k;
                write("CG13_AGENZIE",
                      {{"CG13_BANCA_CG12", bank.abi},
                       {"CG13_CODCAB", cab},
                       {"CG13_DESCR", QStringLiteral("%1 - Ag. %2").arg(s(city.name)).arg(k)},
                       {"CG13_INDIRIZZO",
                        QStringLiteral("%1, %2").arg(s(rnd_.pick(kStreets))).arg(rnd_.between(1, 180))},
                       {"CG13_CITTA", s(city.name)},
                       {"CG13_PROV", s(city.province)}});
                if (bank.abi != kSanMarinoBank.abi) agencies_.append({bank.abi, cab});
            }
        }
    };
    for (const Bank& bank : kItalianBanks) {
        QList<City> cities;
        for (int i = 0; i < 6; ++i) cities.append(kCities[(bank.abi / 7 + i * 3) % kCities.size()]);
        agenciesOf(bank, cities);
    }
    agenciesOf(kSanMarinoBank, {kSanMarino});
    // The company's own banks: the first agency of three banks.
    const QList<int> own = {3069, 2008, 5034};
    int progr = 0;
    for (int abi : own) {
        for (const auto& [bankAbi, cab] : agencies_) {
            if (bankAbi != abi) continue;
            ++progr;
            companyBanks_.append({abi, cab});
            const QString account = QStringLiteral("%1").arg(100000 + progr * 7919, 12, 10, QLatin1Char('0'));
            write("EF08_BANCHEAZ",
                  {{"EF08_DITTA_CG18", DemoGenerator::kCompany},
                   {"EF08_PROGR", progr},
                   {"EF08_DESCR", QStringLiteral("%1 c/c %2")
                                      .arg(s(kItalianBanks[progr == 1   ? 0
                                                           : progr == 2 ? 1
                                                                        : 2]
                                                 .name),
                                           account.right(6))},
                   {"EF08_BANCA_CG12", abi},
                   {"EF08_AGENZIA_CG13", cab},
                   {"EF08_IBAN", Iban::make(QStringLiteral("IT"), Iban::italianBban(abi, cab, account))},
                   {"EF08_CONTO_CG24", s("0501001")}});
            break;
        }
    }
}

void DemoBuilder::currencies() {
    write("CG08_TABVALUTE", {{"CG08_CODICE", s("EURO")},
                             {"CG08_DESCR", s("Euro")},
                             {"CG08_FLGVALUEM", 0},
                             {"CG08_DATAATTUEM", QVariant()},
                             {"CG08_CAMBIOFISSO", QVariant::fromValue(Decimal(1))},
                             {"CG08_NUMDEC", 2}});
    // Currencies of the euro area keep their fixed conversion rate from 1 January 1999.
    const QList<std::tuple<const char*, const char*, const char*, int>> fixed = {
        {"ITL", "Lira italiana", "1936.27", 0},
        {"DEM", "Marco tedesco", "1.95583", 2},
        {"FRF", "Franco francese", "6.55957", 2}};
    for (const auto& [code, name, rate, decimals] : fixed)
        write("CG08_TABVALUTE", {{"CG08_CODICE", s(code)},
                                 {"CG08_DESCR", s(name)},
                                 {"CG08_FLGVALUEM", 1},
                                 {"CG08_DATAATTUEM", QDate(1999, 1, 1)},
                                 {"CG08_CAMBIOFISSO", QVariant::fromValue(Decimal::fromString(s(rate)))},
                                 {"CG08_NUMDEC", decimals}});
    for (const Currency& cur : kFloating) {
        floating_.append(s(cur.code));
        write("CG08_TABVALUTE", {{"CG08_CODICE", s(cur.code)},
                                 {"CG08_DESCR", s(cur.name)},
                                 {"CG08_FLGVALUEM", 0},
                                 {"CG08_DATAATTUEM", QVariant()},
                                 {"CG08_CAMBIOFISSO", QVariant()},
                                 {"CG08_NUMDEC", cur.decimals}});
        double rate = cur.start;
        QMap<QDate, double>& days = rates_[s(cur.code)];
        double monthSum = 0;
        int monthDays = 0;
        const QDate last = today().addDays(60);
        const QDate end(last.year(), last.month(), last.daysInMonth());
        for (QDate d = booksStart().addDays(-1); d <= end; d = d.addDays(1)) {
            if (d.dayOfWeek() <= 5) {
                rate *= 1.0 + (rnd_.between(-400, 400) / 100000.0);
                days.insert(d, rate);
                monthSum += rate;
                ++monthDays;
                write("CG09_TABCAMBI", {{"CG09_CODICE_CG08", s(cur.code)},
                                        {"CG09_ANNO", d.year()},
                                        {"CG09_MESE", d.month()},
                                        {"CG09_GIORNO", d.day()},
                                        {"CG09_CAMBIO", QVariant::fromValue(Decimal::fromDouble(rate, 6))}});
            }
            if (d.addDays(1).month() != d.month() && monthDays > 0) {
                write("CG09_TABCAMBI",
                      {{"CG09_CODICE_CG08", s(cur.code)},
                       {"CG09_ANNO", d.year()},
                       {"CG09_MESE", d.month()},
                       {"CG09_GIORNO", 0},
                       {"CG09_CAMBIO", QVariant::fromValue(Decimal::fromDouble(monthSum / monthDays, 6))}});
                monthSum = 0;
                monthDays = 0;
            }
        }
    }
}

QVariant DemoBuilder::rateOf(const QString& currency, QDate day) const {
    const QMap<QDate, double>& days = rates_[currency];
    auto it = days.upperBound(day);
    if (it == days.begin()) return QVariant();
    --it;
    return QVariant::fromValue(Decimal::fromDouble(it.value(), 6));
}

void DemoBuilder::codes() {
    const QList<std::tuple<int, const char*, const char*, int>> payments = {
        {2, "RB30", "Ri.Ba. 30 gg d.f.f.m.", 1},
        {2, "RB6090", "Ri.Ba. 60/90 gg d.f.f.m.", 2},
        {2, "RB306090", "Ri.Ba. 30/60/90 gg d.f.f.m.", 3},
        {11, "SDD30", "SDD 30 gg d.f.", 1},
        {14, "BB30", "Bonifico bancario 30 gg d.f.", 1},
        {14, "BB60", "Bonifico bancario 60 gg d.f.f.m.", 1},
        {13, "RD", "Rimessa diretta", 1},
        {16, "MAV30", "MAV 30 gg d.f.", 1},
        {6, "CAM90", "Cambiale 90 gg", 1},
        {1, "CONT", "Contanti alla consegna", 1}};
    for (const auto& [tipo, code, descr, rate] : payments)
        write("CG62_CONDPAG", {{"CG62_CODICE", s(code)},
                               {"CG62_DESCR", s(descr)},
                               {"CG62_NUMRATE", rate},
                               {"CG62_TIPOEFF", tipo}});
    const QList<std::tuple<int, const char*, const char*>> subtypes = {
        {2, "01", "Ri.Ba. ordinaria"}, {2, "02", "Ri.Ba. elettronica"}, {11, "01", "SDD Core"},
        {11, "02", "SDD B2B"},         {14, "01", "Bonifico SEPA"},     {14, "02", "Bonifico estero"},
        {6, "01", "Cambiale pagherò"}, {6, "02", "Cambiale tratta"}};
    for (const auto& [tipo, code, descr] : subtypes)
        write("EF07_STIPIEFF",
              {{"EF07_TIPOEFF", tipo}, {"EF07_STIPOEFF", s(code)}, {"EF07_DESCR", s(descr)}});
    for (const auto& [code, descr] :
         QList<std::pair<const char*, const char*>>{{"VEN", "Vendita merci"},
                                                    {"ACQ", "Acquisto merci"},
                                                    {"RES", "Reso da cliente"},
                                                    {"SER", "Prestazione di servizi"}})
        write("MGFO_CAUSMGO", {{"MGFO_CODICE", s(code)}, {"MGFO_DESCR", s(descr)}});
    for (const auto& [code, descr, kind] :
         QList<std::tuple<const char*, const char*, int>>{{"BLM", "Blocco mobile per insoluti", 1},
                                                          {"BLF", "Blocco fisso amministrativo", 2},
                                                          {"FID", "Superamento fido", 1}})
        write("MG25_BLOCCHI", {{"MG25_DITTA_CG18", DemoGenerator::kCompany},
                               {"MG25_CODICE", s(code)},
                               {"MG25_DESCR", s(descr)},
                               {"MG25_INDTIPO", kind}});
    for (const auto& [code, descr] :
         QList<std::pair<const char*, const char*>>{{"FT", "Fattura"},
                                                    {"NC", "Nota di credito"},
                                                    {"ND", "Nota di debito interessi"},
                                                    {"SOL", "Lettera di sollecito"}})
        write("MG36_DOCUMENTI", {{"MG36_DITTA_CG18", DemoGenerator::kCompany},
                                 {"MG36_CODICE", s(code)},
                                 {"MG36_DESCR", s(descr)}});
    const QList<std::tuple<int, const char*, const char*, const char*>> letters = {
        {5, "SOL1", "Primo sollecito di pagamento",
         "Gentile cliente, dai nostri controlli risulta non ancora saldato l'effetto in oggetto."},
        {5, "SOL2", "Secondo sollecito di pagamento",
         "Nonostante il nostro precedente sollecito, l'effetto risulta ancora insoluto."},
        {6, "DIF", "Diffida ad adempiere",
         "Vi diffidiamo formalmente a provvedere al pagamento entro 15 giorni."},
        {6, "LEG", "Comunicazione di passaggio al legale",
         "In mancanza di pagamento la pratica sarà affidata al nostro legale."},
        // The foot of the two reminders: a letter's code keeps its head (5) and its foot (6).
        {6, "SOL1", "Primo sollecito di pagamento",
         "Vi preghiamo di provvedere al pagamento entro 10 giorni. Se lo avete già disposto, "
         "vogliate considerare nulla la presente."},
        {6, "SOL2", "Secondo sollecito di pagamento",
         "Vi invitiamo a provvedere al pagamento entro 7 giorni, trascorsi i quali ci riserviamo "
         "ogni azione a tutela del credito."}};
    for (const auto& [kind, code, descr, body] : letters)
        write("MG0B_TESTI", {{"MG0B_DITTA_CG18", DemoGenerator::kCompany},
                             {"MG0B_INDTIPO", kind},
                             {"MG0B_CODTESTO", s(code)},
                             {"MG0B_DESCR", s(descr)},
                             {"MG0B_TESTO", s(body)}});
    const QList<std::tuple<const char*, const char*, int>> sepa = {
        {"SUPP", "Pagamento fornitori", 0},
        {"TRAD", "Servizi commerciali", 0},
        {"GDSV", "Acquisto beni e servizi", 0},
        {"TAXS", "Pagamento imposte", 0},
        {"AC04", "Conto chiuso", 1},
        {"AM04", "Fondi insufficienti", 1},
        {"MD01", "Mandato inesistente", 1},
        {"MD06", "Rimborso richiesto dal debitore", 1},
        {"MS02", "Motivo non specificato dal cliente", 2},
        {"CUST", "Richiesta del creditore", 2}};
    for (const auto& [code, descr, kind] : sepa)
        write("CG6G_CAUSPAGSEPA",
              {{"CG6G_CODICE", s(code)}, {"CG6G_DESCR", s(descr)}, {"CG6G_INDTIPOMOV", kind}});
}

int DemoBuilder::registry(const QString& name, const City& city) {
    const int code = nextRegistry_++;
    write("CG16_ANAGGEN",
          {{"CG16_CODICE", code},
           {"CG16_RAGSOANAG", name},
           {"CG16_INDIRIZZO", QStringLiteral("%1, %2").arg(s(rnd_.pick(kStreets))).arg(rnd_.between(1, 200))},
           {"CG16_CAP", s(city.cap)},
           {"CG16_CITTA", s(city.name)},
           {"CG16_PROV", s(city.province)},
           {"CG16_NAZIONE", s(city.nation)},
           {"CG16_PARTIVA", partitaIva(rnd_)},
           {"CG16_CODFISC", QVariant()}});
    return code;
}

void DemoBuilder::bankAccount(Counterpart& cp, int progr) {
    const int id = nextAccount_++;
    const int kind = rnd_.weighted({80, 8, 12});
    QString iban;
    QVariant ccAbi, ccCab;
    int abi = 0, cab = 0;
    const QString account = QStringLiteral("%1").arg(rnd_.between(1000, 999999), 12, 10, QLatin1Char('0'));
    if (kind == 0) {
        std::tie(abi, cab) = rnd_.pick(agencies_);
        iban = Iban::make(QStringLiteral("IT"), Iban::italianBban(abi, cab, account));
        // Older accounts were registered by ABI and CAB before IBANs were in use.
        if (rnd_.chance(40)) {
            ccAbi = QStringLiteral("%1").arg(abi, 5, 10, QLatin1Char('0'));
            ccCab = QStringLiteral("%1").arg(cab, 5, 10, QLatin1Char('0'));
        }
    } else if (kind == 1) {
        abi = kSanMarinoBank.abi;
        cab = kSanMarino.cab + 1;
        iban = Iban::make(QStringLiteral("SM"), Iban::italianBban(abi, cab, account));
    } else {
        const int country = rnd_.between(0, 2);
        if (country == 0)
            iban = Iban::make(
                QStringLiteral("DE"),
                QStringLiteral("%1%2").arg(rnd_.between(10000000, 89999999)).arg(account.right(10)));
        else if (country == 1)
            iban = Iban::make(QStringLiteral("FR"), QStringLiteral("30004%1%2%3")
                                                        .arg(rnd_.between(10000, 99999))
                                                        .arg(account.right(11))
                                                        .arg(rnd_.between(10, 99)));
        else
            iban = Iban::make(QStringLiteral("CH"),
                              QStringLiteral("00%1%2").arg(rnd_.between(100, 999)).arg(account));
    }
    write("MG35_CLIFORCC", {{"MG35_ID", id},
                            {"MG35_DITTA_CG18", DemoGenerator::kCompany},
                            {"MG35_TIPOCF_CG44", cp.type},
                            {"MG35_CLIFOR_CG44", cp.code},
                            {"MG35_PROGR", progr},
                            {"MG35_INDTIPOOP", cp.type},
                            {"MG35_IBAN", iban},
                            {"MG35_CCABI", ccAbi},
                            {"MG35_CCCAB", ccCab},
                            {"MG35_NUMCC", account.right(8)},
                            {"MG35_DESCR", QStringLiteral("Conto %1").arg(progr)}});
    // Customers signed a recurrent SEPA mandate on each account when it was opened.
    if (cp.type == 0)
        write("KV21_MANDATI", {{"KV21_ID_MG35", id},
                               {"KV21_IDMANDATO", QStringLiteral("MND-%1-%2").arg(cp.code).arg(progr)},
                               {"KV21_DATAFIRMA", booksStart().addDays(-30 * progr)},
                               {"KV21_INDSEQUENZA", 0},
                               {"KV21_FLGPRIMOINC", 0}});
    if (progr == 1) {
        cp.accountId = id;
        cp.abi = abi;
        cp.cab = cab;
    }
}

// Agents with their own registry record.
void DemoBuilder::agents() {
    for (int a = 1; a <= kAgents; ++a) {
        const City& city = rnd_.pick(kCities);
        const int reg = registry(
            QStringLiteral("%1 %2").arg(
                s(rnd_.pick(kSurnames)),
                s(rnd_.pick(QList<const char*>{"Marco", "Luca", "Giulia", "Francesca", "Paolo", "Sara"}))),
            city);
        write("MG17_AGENTI",
              {{"MG17_IDAGENTE", a},
               {"MG17_DITTA_CG18", DemoGenerator::kCompany},
               {"MG17_AGENTE", QStringLiteral("AG%1").arg(a, 3, 10, QLatin1Char('0'))},
               {"MG17_ANAGEN_CG16", reg},
               {"MG17_PERCPROVV", QVariant::fromValue(Decimal::fromMantissa(rnd_.between(2, 8) * 100, 2))}});
    }
}

// Registered tender and project codes.
void DemoBuilder::cigCupPairs() {
    for (int p = 1; p <= kCigCupPairs; ++p) {
        QString cig;
        for (int i = 0; i < 10; ++i) cig += QStringLiteral("0123456789ABCDEF")[rnd_.between(0, 15)];
        const QString cup = QStringLiteral("%1%2%3%4")
                                .arg(QChar('B' + rnd_.between(0, 9)))
                                .arg(rnd_.between(10, 99))
                                .arg(QChar('B' + rnd_.between(0, 9)))
                                .arg(rnd_.between(22000000, 24999999))
                                .leftJustified(15, QLatin1Char('0'));
        cigByPair_.insert(p, cig);
        cupByPair_.insert(p, cup);
        write("CO1H_CIGCUP", {{"CO1H_ID", p},
                              {"CO1H_CIG", cig},
                              {"CO1H_CUP", cup},
                              {"CO1H_DESCR", QStringLiteral("Appalto fornitura lotto %1").arg(p)}});
    }
}

// A company that changed its legal form (and often its seat) during the books, never
// after their day.
void DemoBuilder::registryPeriods(Counterpart& cp, int reg) {
    const auto period = [&](QDate from, QDate to, int registryId) {
        write("CG45_CLIFORANAG", {{"CG45_DITTA_CG18", DemoGenerator::kCompany},
                                  {"CG45_TIPOCF_CG44", cp.type},
                                  {"CG45_CLIFOR_CG44", cp.code},
                                  {"CG45_DATAINIZIO", from},
                                  {"CG45_DATAFINE", to},
                                  {"CG45_ANAGEN_CG16", registryId}});
    };
    if (cp.publicBody || !rnd_.chance(12)) {
        period(QDate(1900, 1, 1), QDate(9999, 12, 31), reg);
        return;
    }
    const QDate secondPeriod = std::min(QDate(booksStart().year(), rnd_.between(3, 12), 1),
                                        QDate(today().year(), today().month(), 1));
    period(QDate(1900, 1, 1), secondPeriod.addDays(-1), reg);
    QString oldForm;
    for (const char* f : kForms)
        if (cp.name.endsWith(QLatin1Char(' ') + s(f)) && qstrlen(f) > size_t(oldForm.size())) oldForm = s(f);
    QString renamed = cp.name.chopped(oldForm.size());
    renamed += oldForm == QStringLiteral("S.r.l.") ? QStringLiteral("S.p.A.") : QStringLiteral("S.r.l.");
    period(secondPeriod, QDate(9999, 12, 31), registry(renamed, rnd_.pick(kCities)));
    cp.name = renamed;
}

void DemoBuilder::counterparts() {
    agents();
    cigCupPairs();
    const int customers = o_.customers > 0 ? o_.customers : qBound(40, o_.bills / 25, 20000);
    const int suppliers = qMax(20, customers / 2);
    const QStringList paymentsCustomer = {s("RB30"), s("RB6090"), s("RB306090"), s("SDD30"),
                                          s("BB30"), s("RD"),     s("MAV30"),    s("CAM90")};
    const QStringList paymentsSupplier = {s("BB30"), s("BB60"), s("RD"), s("RB30"), s("CAM90")};
    int nextCig = 1;
    for (int type = 0; type <= 1; ++type) {
        const int count = type == 0 ? customers : suppliers;
        for (int i = 1; i <= count; ++i) {
            Counterpart cp;
            cp.type = type;
            cp.code = i;
            const bool publicBody = type == 0 && i <= kPublicBodies.size();
            const City& city = rnd_.chance(3) ? kSanMarino : rnd_.pick(kCities);
            cp.name = publicBody
                          ? s(kPublicBodies[i - 1])
                          : QStringLiteral("%1 %2 %3")
                                .arg(s(rnd_.pick(kTrades)), s(rnd_.pick(kSurnames)), s(rnd_.pick(kForms)));
            if (i > kPublicBodies.size() + 5 && i % 997 == 0) cp.name += QStringLiteral(" (ex %1)").arg(i);
            cp.city = s(city.name);
            cp.publicBody = publicBody;
            cp.professional = type == 1 && rnd_.chance(15);
            cp.agent = type == 0 && rnd_.chance(70) ? rnd_.between(1, kAgents) : 0;
            cp.payment = publicBody ? s("BB60") : rnd_.pick(type == 0 ? paymentsCustomer : paymentsSupplier);
            const int reg = registry(cp.name, city);
            const QDate since(booksStart().year() - 8 + rnd_.between(0, 7), rnd_.between(1, 12), 1);
            write("CG44_CLIFOR", {{"CG44_DITTA_CG18", DemoGenerator::kCompany},
                                  {"CG44_TIPOCF", type},
                                  {"CG44_CLIFOR", i},
                                  {"CG44_ANAGEN_CG16", reg},
                                  {"CG44_CODPAG_CG62", cp.payment},
                                  {"CG44_IDAGENTE_MG17", cp.agent ? QVariant(cp.agent) : QVariant()},
                                  {"CG44_DATAINS", since}});
            registryPeriods(cp, reg);
            write("MG19_CLIFORVA", {{"MG19_DITTA_CG18", DemoGenerator::kCompany},
                                    {"MG19_TIPOCF_CG44", type},
                                    {"MG19_CLIFOR_CG44", i},
                                    {"MG19_ZONA", s(city.province)},
                                    {"MG19_LISTINO", rnd_.between(1, 3)},
                                    {"MG19_FLGBLOCCO", rnd_.chance(3) ? 1 : 0}});
            if (!rnd_.chance(10)) {
                const int accounts = rnd_.chance(25) ? 2 : 1;
                for (int p = 1; p <= accounts; ++p) bankAccount(cp, p);
            }
            if (publicBody) {
                for (int k = 0; k < 2 && nextCig <= kCigCupPairs; ++k) {
                    cp.cigCup.append(nextCig);
                    write("CO1I_CFCIGCUP", {{"CO1I_IDCIGCUP_CO1H", nextCig++},
                                            {"CO1I_DITTA_CG18", DemoGenerator::kCompany},
                                            {"CO1I_TIPOCF_CG44", type},
                                            {"CO1I_CLIFOR_CG44", i}});
                }
            }
            (type == 0 ? customers_ : suppliers_).append(cp);
        }
    }
    counts_.customers = customers_.size();
    counts_.suppliers = suppliers_.size();
}
