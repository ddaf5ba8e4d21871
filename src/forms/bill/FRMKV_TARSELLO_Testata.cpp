// The header: the caller's Bills read into FME_TESTATA, and the code tables of its combos.
#include "BillCodeTables.h"
#include "BillFormTexts.h"
#include "CLSKV_TARSELLO.h"
#include "ComboBox.h"
#include "FRMKV_TARSELLO.h"
#include "HeaderQuery.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "MDLKV_CODICIERR.h"
#include "MDLKV_TARSELLO.h"
#include "MainNavigator.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"
#include "VirtualFrame.h"

namespace {
// The header's controls in the order the frame binds them.
const char* const kBindOrder[] = {"TXT_NUMREG",
                                  "TXT_RIGACONT",
                                  "TXT_PROGEC",
                                  "TXT_PROGEFF",
                                  "TXT_NUMEFF",
                                  "CBO_TIPOEFF",
                                  "TXT_STIPOEFF",
                                  "TXT_SCADE",
                                  "TXT_SCADEORIG",
                                  "TXT_NUMRATA",
                                  "TXT_TOTRATE",
                                  "TXT_DATAREG",
                                  "TXT_DATADOC",
                                  "TXT_NUMDOC",
                                  "TXT_SEZDOC",
                                  "CHK_BISDOC",
                                  "TXT_NUMDOCORIG",
                                  "TXT_ANNOPART",
                                  "TXT_NUMPART",
                                  "TXT_SEZPART",
                                  "CHK_FLGPARTBIS",
                                  "TXT_VALUTA",
                                  "TXT_DATACAMBIO",
                                  "TXT_CAMBIO",
                                  "TXT_CONTRFINANZ",
                                  "TXT_IMPEFFVAL",
                                  "TXT_IMPEFF",
                                  "TXT_IMPEFFNETPREVVAL",
                                  "TXT_IMPEFFNETPREV",
                                  "TXT_IMPEFFORIGVAL",
                                  "TXT_IMPEFFORIG",
                                  "TXT_IMPIVAORIGVAL",
                                  "TXT_IMPIVAORIG",
                                  "TXT_TOTDOCVAL",
                                  "TXT_TOTDOC",
                                  "TXT_BOLLIVAL",
                                  "TXT_BOLLI",
                                  "TXT_SPINCVAL",
                                  "TXT_SPINC",
                                  "TXT_IMPRITACC",
                                  "TXT_CODBANCAAPP",
                                  "TXT_CODAGENAPP",
                                  "TXT_CODBANCAPRES",
                                  "TXT_CODAGENPRES",
                                  "TXT_CODPAG",
                                  "TXT_CODAGE",
                                  "CBO_INDSPERIT",
                                  "TXT_SPESERIT",
                                  "TXT_SPESERITBAN",
                                  "CBO_INDSTATO",
                                  "CBO_INDPRES",
                                  "CBO_TIPOMOV",
                                  "CBO_INDGENSTATO",
                                  "CBO_INDLIQPROV",
                                  "CHK_FLGSTEFF",
                                  "TXT_NUMSTEFF",
                                  "CHK_FLGEFFVAR",
                                  "CHK_FLGACCONTO",
                                  "CHK_FLGSOSPESO",
                                  "CHK_FLGGENDARAG",
                                  "CHK_FLGESTRAZ",
                                  "TXT_NUMRIEMIS",
                                  "CHK_FLGRICEVUTO",
                                  "CHK_FLGGIRATO",
                                  "TXT_IMPRITACCVAL",
                                  "TXT_SPESERIT_S",
                                  "TXT_IMPADEGCAMBIO",
                                  "TXT_DATACAMBIOADCONTO",
                                  "TXT_CAMBIOADCONTO",
                                  "CHK_INDEXP",
                                  "CHK_FLGINCASSOBF",
                                  "TXT_CUP",
                                  "TXT_CIG",
                                  "TXT_EF01_GUID_STATO",
                                  "TXT_ATTRIBUTI",
                                  "TXT_DATADECORR",
                                  "CBO_INDMERCEART62",
                                  "TXT_PROGR_EF08",
                                  "TXT_ID_MG35",
                                  "TXT_IMPRITACCORIG",
                                  "TXT_IMPRITACCORIGVAL",
                                  "TXT_CODCARTA",
                                  "CBO_ACCETTAZIONE",
                                  "TXT_ACCORPAMENTO",
                                  "TXT_CAUSMGO",
                                  "TXT_NRAVVISOMAV"};
}  // namespace

void FRMKV_TARSELLO::fillCombo(const char* label, const QString& name,
                               const QList<BillCodeTables::Row>& rows) {
    guard(label, [&] {
        ComboBox* c = combo(name);
        c->Clear();
        c->setSorted(false);
        for (const BillCodeTables::Row& r : rows) c->AddItem(r.description, r.code);
    });
}

void FRMKV_TARSELLO::Carica_CBO_TIPOEFF() {
    fillCombo("Carica_CBO_TIPOEFF:", QStringLiteral("CBO_TIPOEFF"), BillCodeTables::tipoEffetto());
}
void FRMKV_TARSELLO::Carica_CBO_INDSPERIT() {
    fillCombo("Carica_CBO_INDSPERIT:", QStringLiteral("CBO_INDSPERIT"), BillCodeTables::speseRitorno());
}
void FRMKV_TARSELLO::Carica_CBO_INDSTATO() {
    fillCombo("Carica_CBO_INDSTATO:", QStringLiteral("CBO_INDSTATO"), BillCodeTables::statoEffetto());
}
void FRMKV_TARSELLO::Carica_CBO_INDPRES() {
    fillCombo("Carica_CBO_INDPRES:", QStringLiteral("CBO_INDPRES"), BillCodeTables::presentazione());
}
void FRMKV_TARSELLO::Carica_CBO_TIPOMOV() {
    fillCombo("Carica_CBO_TIPOMOV:", QStringLiteral("CBO_TIPOMOV"), BillCodeTables::tipoMovimento());
}
void FRMKV_TARSELLO::Carica_CBO_ACCETTAZIONE() {
    fillCombo("Carica_CBO_ACCETTAZIONE:", QStringLiteral("CBO_ACCETTAZIONE"), BillCodeTables::accettazione());
}
void FRMKV_TARSELLO::Carica_CBO_INDGENSTATO() {
    fillCombo("Carica_CBO_INDGENSTATO:", QStringLiteral("CBO_INDGENSTATO"),
              BillCodeTables::generazioneStato());
}
void FRMKV_TARSELLO::Carica_CBO_INDLIQPROV() {
    fillCombo("Carica_CBO_INDLIQPROV:", QStringLiteral("CBO_INDLIQPROV"),
              BillCodeTables::liquidazioneProvvigioni());
}
void FRMKV_TARSELLO::Carica_CBO_INDMERCEART62() {
    fillCombo("Carica_CBO_INDMERCEART62:", QStringLiteral("CBO_INDMERCEART62"), BillCodeTables::merceArt62());
}

// The counterpart type of a received or endorsed bill: customer or supplier while the side's
// check box is ticked, a single blank row otherwise.
void FRMKV_TARSELLO::Carica_CBO_TIPOCFR() {
    const bool ticked = control(QStringLiteral("CHK_FLGRICEVUTO"))->Text() == QStringLiteral("1");
    fillCombo("Carica_CBO_TIPOCFR:", QStringLiteral("CBO_TIPOCFR"), BillCodeTables::tipoCliFor(ticked));
}

void FRMKV_TARSELLO::Carica_CBO_TIPOCFG() {
    const bool ticked = control(QStringLiteral("CHK_FLGGIRATO"))->Text() == QStringLiteral("1");
    fillCombo("Carica_CBO_TIPOCFG:", QStringLiteral("CBO_TIPOCFG"), BillCodeTables::tipoCliFor(ticked));
}

void FRMKV_TARSELLO::InizializzaTestata() {
    guard("InizializzaTestata:", [&] {
        Carica_CBO_TIPOEFF();
        Carica_CBO_INDSPERIT();
        Carica_CBO_INDSTATO();
        Carica_CBO_INDPRES();
        Carica_CBO_TIPOMOV();
        Carica_CBO_ACCETTAZIONE();
        Carica_CBO_INDGENSTATO();
        Carica_CBO_INDLIQPROV();
        Carica_CBO_INDMERCEART62();

        HeaderQuery q;
        q.selection = MDLKV_TARSELLO::NullToString(ActiveClass->StringaDiSelezioneEffetti);
        q.order = MDLKV_TARSELLO::NullToString(ActiveClass->StringaDiOrdinamentoEffetti);
        if (HeaderQuery::selectionNeedsJoin(q.selection))
            ActiveClass->StringaSelezioneContenenteCampiDecodifica = true;
        q.joined = ActiveClass->StringaSelezioneContenenteCampiDecodifica;
        q.tipoArchivio =
            Value::isNull(ActiveClass->TipoArchivio) ? -1 : Value::toInt(ActiveClass->TipoArchivio);
        q.company = company_;
        const CompanyParameters& p = global().CompanyContext().parameters;
        q.ledgerGroup = p.ledgerGroup;
        q.customerAccount = p.customerAccount;
        q.supplierAccount = p.supplierAccount;
        // The caller's texts must stay inside the one read they are part of.
        for (const QString& fragment : {q.selection, q.order}) {
            if (const std::optional<QString> problem = SqlText::fragmentProblem(fragment))
                throw SuiteError(MDLKV_CODICIERR::errorNumber(MDLKV_CODICIERR::SelezioneNonValida), QString(),
                                 MDLKV_CODICIERR::LoadResString(MDLKV_CODICIERR::SelezioneNonValida) +
                                     QStringLiteral(": il testo \"%1\" %2.").arg(fragment, *problem));
        }
        const QString sql = q.text();

        // Kept only once read: a failed read leaves the form without a header to show.
        // Read page by page: a selection of a million Bills shows its first one at once.
        auto header = std::make_shared<Recordset>();
        header->OpenPaged(q.selectText(), q.orderText(), clsConnessione);
        clsRstTestata = header;
        FME_TESTATA->Bind(clsConnessione, clsRstTestata, sql, QStringLiteral("EF01_NUMEFF"), INV_MAIN);
        // These the save refuses with messages of their own.
        FME_TESTATA->setOwnCodeChecks({QStringLiteral("TXT_PROGR_MG35"), QStringLiteral("TXT_CIG"),
                                       QStringLiteral("TXT_CUP"), QStringLiteral("TXT_VALUTA")});

        const bool counterpart = q.tipoArchivio == 0 || q.tipoArchivio == 1;
        if (counterpart) {
            FME_TESTATA->AddControl(TXT_CLIFOR);
        } else {
            FME_TESTATA->AddControl(TXT_PDC);
        }
        TXT_PROGR_MG35->setEnabled(counterpart);
        for (const char* name : kBindOrder) FME_TESTATA->AddControl(control(QString::fromLatin1(name)));
        FME_TESTATA->setEnabled(true);
        FME_TESTATA->Refresh();
        // The frame showed its first Bill before its fields were bound: the rules that follow
        // the Bill's values are applied to it now.
        enableSections();
        enableSubtype();
        AbilitaCampiValuta();
    });
}
