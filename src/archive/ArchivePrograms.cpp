#include "ArchivePrograms.h"

#include "ArchiveStore.h"
#include "ArchiveWindow.h"
#include "HostGlobal.h"
#include "Value.h"

#include <QApplication>

namespace {

ArchiveDescription companyBanks(qint32 company, const QVariantList& p) {
    ArchiveDescription d;
    d.objectName = QStringLiteral("GST_BANCHEAZ");
    d.title = QStringLiteral("Banche aziendali");
    d.table = QStringLiteral("EF08_BANCHEAZ");
    d.fields = {{QStringLiteral("EF08_DESCR"), QStringLiteral("Descrizione"), true},
                {QStringLiteral("EF08_BANCA_CG12"), QStringLiteral("Banca (ABI)")},
                {QStringLiteral("EF08_AGENZIA_CG13"), QStringLiteral("Agenzia (CAB)")},
                {QStringLiteral("EF08_IBAN"), QStringLiteral("IBAN"), false, true},
                {QStringLiteral("EF08_CONTO_CG24"), QStringLiteral("Conto contabile"), false, true}};
    d.fixed = {{QStringLiteral("EF08_DITTA_CG18"), company}};
    d.generatedKey = QStringLiteral("EF08_PROGR");
    d.key = {d.generatedKey};
    d.handBack = d.generatedKey;
    d.preset = {{d.generatedKey, p.value(0)}};
    return d;
}

ArchiveDescription cigCup(qint32 company, const QVariantList& p) {
    const int type = Value::toInt(p.value(0));
    const qint64 counterpart = Value::toText(p.value(1)).trimmed().toLongLong();
    ArchiveDescription d;
    d.objectName = QStringLiteral("GST_CIGCUP");
    d.table = QStringLiteral("CO1H_CIGCUP");
    d.fields = {{QStringLiteral("CO1H_CIG"), QStringLiteral("CIG"), true, true, true},
                {QStringLiteral("CO1H_CUP"), QStringLiteral("CUP"), false, true, true},
                {QStringLiteral("CO1H_DESCR"), QStringLiteral("Descrizione")}};
    d.generatedKey = QStringLiteral("CO1H_ID");
    d.key = {d.generatedKey};
    d.unique = {QStringLiteral("CO1H_CIG"), QStringLiteral("CO1H_CUP")};
    // Opened on a counterpart: its pairs, and a pair saved is assigned to it.
    if (counterpart > 0) {
        d.title = QStringLiteral("Codici CIG/CUP del %1 %2")
                      .arg(type == 1 ? QStringLiteral("fornitore") : QStringLiteral("cliente"))
                      .arg(counterpart);
        d.link = ArchiveDescription::Link{QStringLiteral("CO1I_CFCIGCUP"),
                                          QStringLiteral("CO1I_IDCIGCUP_CO1H"),
                                          {{QStringLiteral("CO1I_DITTA_CG18"), company},
                                           {QStringLiteral("CO1I_TIPOCF_CG44"), type},
                                           {QStringLiteral("CO1I_CLIFOR_CG44"), counterpart}}};
    } else {
        d.title = QStringLiteral("Codici CIG/CUP");
    }
    d.preset = {{QStringLiteral("CO1H_CIG"), p.value(2)}, {QStringLiteral("CO1H_CUP"), p.value(3)}};
    return d;
}

// The second parameter asks for the texts at the head of the letter (1: kind 5) or at its foot
// (2: kind 6); without it both kinds are listed and the kind is typed.
ArchiveDescription fixedTexts(qint32 company, const QVariantList& p) {
    const int part = Value::toInt(p.value(1));
    ArchiveDescription d;
    d.objectName = QStringLiteral("GST_TESTIFISSI");
    d.table = QStringLiteral("MG0B_TESTI");
    d.fields = {{QStringLiteral("MG0B_CODTESTO"), QStringLiteral("Sigla"), true, true},
                {QStringLiteral("MG0B_DESCR"), QStringLiteral("Descrizione")},
                {QStringLiteral("MG0B_TESTO"), QStringLiteral("Testo")}};
    d.fixed = {{QStringLiteral("MG0B_DITTA_CG18"), company}};
    if (part == 1 || part == 2) {
        d.title = part == 1 ? QStringLiteral("Testi in testata delle lettere di sollecito")
                            : QStringLiteral("Testi in piede delle lettere di sollecito");
        d.fixed.append({QStringLiteral("MG0B_INDTIPO"), part == 1 ? 5 : 6});
        d.key = {QStringLiteral("MG0B_CODTESTO")};
    } else {
        d.title = QStringLiteral("Testi delle lettere di sollecito");
        d.fields.prepend(
            {QStringLiteral("MG0B_INDTIPO"), QStringLiteral("Tipo testo (5 testata, 6 piede)"), true});
        d.key = {QStringLiteral("MG0B_INDTIPO"), QStringLiteral("MG0B_CODTESTO")};
    }
    d.handBack = QStringLiteral("MG0B_CODTESTO");
    d.preset = {{QStringLiteral("MG0B_CODTESTO"), p.value(0)}};
    return d;
}

// The company's one row of data for the banks' files.
ArchiveDescription bankData(qint32 company, const QVariantList&) {
    ArchiveDescription d;
    d.objectName = QStringLiteral("GST_DATIBANCA");
    d.title = QStringLiteral("Dati della ditta per le banche");
    d.table = QStringLiteral("KV20_DATIBANCA");
    d.fields = {
        {QStringLiteral("KV20_CODSIA"), QStringLiteral("Codice SIA"), false, true},
        {QStringLiteral("KV20_CUC"), QStringLiteral("CUC"), false, true},
        {QStringLiteral("KV20_IDCREDITORE"), QStringLiteral("Identificativo creditore SEPA"), false, true},
        {QStringLiteral("KV20_NOMEBREVE"), QStringLiteral("Nome breve")},
        {QStringLiteral("KV20_INDIRIZZO"), QStringLiteral("Indirizzo")},
        {QStringLiteral("KV20_CAP"), QStringLiteral("CAP")},
        {QStringLiteral("KV20_PROV"), QStringLiteral("Provincia"), false, true},
        {QStringLiteral("KV20_CODFISC"), QStringLiteral("Codice fiscale"), false, true}};
    d.fixed = {{QStringLiteral("KV20_DITTA_CG18"), company}};
    d.key = {QStringLiteral("KV20_DITTA_CG18")};
    return d;
}

// The SEPA mandates of the customers' bank accounts (MG35_ID); opened on an account, that one.
ArchiveDescription mandates(qint32, const QVariantList& p) {
    ArchiveDescription d;
    d.objectName = QStringLiteral("GST_MANDATI");
    d.title = QStringLiteral("Mandati SEPA dei conti dei clienti");
    d.table = QStringLiteral("KV21_MANDATI");
    d.fields = {{QStringLiteral("KV21_ID_MG35"), QStringLiteral("Conto corrente (identificativo)"), true},
                {QStringLiteral("KV21_IDMANDATO"), QStringLiteral("Identificativo mandato"), true},
                {QStringLiteral("KV21_DATAFIRMA"), QStringLiteral("Data firma"), true},
                {QStringLiteral("KV21_INDSEQUENZA"), QStringLiteral("Mandato (0 ricorrente, 1 singolo)")},
                {QStringLiteral("KV21_FLGPRIMOINC"), QStringLiteral("Primo incasso fatto (0 no, 1 sì)")}};
    d.key = {QStringLiteral("KV21_ID_MG35")};
    d.handBack = QStringLiteral("KV21_IDMANDATO");
    d.preset = {{QStringLiteral("KV21_ID_MG35"), p.value(0)}};
    return d;
}

ArchiveDescription coded(const char* objectName, const char* title, const char* table, const char* code,
                         const char* description, qint32 company, const QVariantList& p) {
    ArchiveDescription d;
    d.objectName = QString::fromLatin1(objectName);
    d.title = QString::fromUtf8(title);
    d.table = QString::fromLatin1(table);
    const QString prefix = d.table.left(5);
    d.fields = {{QString::fromLatin1(code), QStringLiteral("Codice"), true, true},
                {QString::fromLatin1(description), QStringLiteral("Descrizione")}};
    d.fixed = {{prefix + QStringLiteral("DITTA_CG18"), company}};
    d.key = {QString::fromLatin1(code)};
    d.handBack = QString::fromLatin1(code);
    d.preset = {{QString::fromLatin1(code), p.value(0)}};
    return d;
}

}  // namespace

ArchivePrograms::ArchivePrograms() = default;

const QHash<QString, ArchivePrograms::Describe>& ArchivePrograms::programs() {
    static const QHash<QString, Describe> all = {
        {QString::fromLatin1(kCompanyBanks), companyBanks},
        {QString::fromLatin1(kCigCup), cigCup},
        {QString::fromLatin1(kFixedTexts), fixedTexts},
        {QString::fromLatin1(kBlockLevels),
         [](qint32 company, const QVariantList& p) {
             return coded("GST_LIVELLIBLOCCO", "Livelli di blocco", "MG25_BLOCCHI", "MG25_CODICE",
                          "MG25_DESCR", company, p);
         }},
        {QString::fromLatin1(kBankData), bankData},
        {QString::fromLatin1(kMandates), mandates},
        {QString::fromLatin1(kSections),
         [](qint32 company, const QVariantList& p) {
             return coded("GST_SEZIONALI", "Sezionali", "CG19_SEZIONALI", "CG19_CODICE", "CG19_DESCR",
                          company, p);
         }},
    };
    return all;
}

bool ArchivePrograms::knows(const QString& progId) const {
    return programs().contains(progId);
}

ArchiveDescription ArchivePrograms::describe(const QString& progId, qint32 company,
                                             const QVariantList& parameters) {
    ArchiveDescription d = programs().value(progId)(company, parameters);
    d.progId = progId;
    return d;
}

bool ArchivePrograms::run(const QString& progId, const QVariantList& parameters, HostGlobal& host,
                          QVariant* handedBack) {
    if (!knows(progId)) return false;
    ArchiveWindow window(
        ArchiveStore(describe(progId, host.CompanyContext().company, parameters), host.OpenConnection()),
        host.CreateLogService(), QApplication::activeWindow());
    window.exec();
    if (handedBack) *handedBack = window.handedBack();
    return true;
}
