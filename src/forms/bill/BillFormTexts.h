#pragma once

#include <QString>
#include <QStringList>

// The bill form's own texts, in one place.
namespace BillFormTexts {

inline const QString kCaption = QStringLiteral("Dettaglio effetti");
// The structures declared to the user's layout, and the sections of the export.
inline const QString kLayoutStorico = QStringLiteral("Griglia movimenti di storico");
inline const QString kLayoutSolleciti = QStringLiteral("Griglia solleciti");
// The column beside a code in the export, holding its description.
inline const QString kExportDescrizione = QStringLiteral(" - descrizione");
inline const QString kExportCambiali = QStringLiteral("Dati cambiali e cessioni");
inline const QString kExportStorico = QStringLiteral("Movimenti di storico");
inline const QString kExportSolleciti = QStringLiteral("Solleciti");
inline const QString kExportNote = QStringLiteral("Note");
inline const QString kPlace = QStringLiteral("FRMKV_TARSELLO:");
inline const QString kMenuProgId = QStringLiteral("KVUO_TARSELLO.CLSEF_TARSELLO");
inline const QString kMenuAllBanks = QStringLiteral("Tutte le banche");
inline const QString kMenuGestione = QStringLiteral("Gestione");
inline const QString kKeyGestione = QStringLiteral("Kgestione");
inline const QString kKeyPers1 = QStringLiteral("Kpers1");
// The reminders tab's button that prints the letter of the reminder in view.
inline const QString kKeyLettera = QStringLiteral("Lettera");
inline const QString kCaptionLettera = QStringLiteral("Lettera &di sollecito...");
inline const QString kLetteraNonSalvata =
    QStringLiteral("Il sollecito non è ancora salvato: salvare l'effetto e poi stampare la lettera.");
inline const QString kMenuCigCup = QStringLiteral("Anagrafica Cig/Cup generica");
// The sibling programs the form runs through the host.
inline const QString kProgBancheAziendali = QStringLiteral("KVUO_PARAMBANCHE.CLSKV_PARAMBANCHE");
inline const QString kProgCigCup = QStringLiteral("KVCO_CIGCUP.CLSKV_CIGCUP");

// The tabs' captions, each with its access key (Alt+G, B, M, L, A).
inline const QString kTabDatiGenerali = QStringLiteral("Dati &generali");
inline const QString kTabCambialiCessioni = QStringLiteral("Dati cam&biali e cessioni");
inline const QString kTabStorico = QStringLiteral("Storico &movimenti");
inline const QString kTabSolleciti = QStringLiteral("So&lleciti");
inline const QString kTabNote = QStringLiteral("Note e &altri dati");

inline const QString kEuroColumn = QStringLiteral("DATI IN EURO");
inline const QString kCurrencyColumn = QStringLiteral("DATI IN VALUTA");
inline const QString kEuro = QStringLiteral("EURO");
// The currency and its rate.
inline const QString kTitleAttenzione = QStringLiteral("Attenzione");
inline const QString kValutaNonValida = QStringLiteral(
    "La valuta \"%1\" non è presente nella tabella delle valute: gli importi restano in euro.");
inline const QString kValutaMancante =
    QStringLiteral("Indicare una valuta presente nella tabella delle valute (EURO per gli importi in euro).");
inline const QString kCambioNonValido = QStringLiteral("Il cambio deve essere un numero maggiore di zero.");
inline const QString kValutaIncompleta = QStringLiteral(
    "Attenzione, un effetto in %1 richiede il cambio, maggiore di zero, e l'importo effetto in valuta.");
inline const QString kConversioneRifiutata =
    QStringLiteral("Conversione non eseguita: %1\r\nL'importo torna al valore che aveva.");
inline const QString kCambioNonTrovato = QStringLiteral(
    "Nessun cambio della valuta %1 al %2, né giornaliero né mensile: il cambio resta quello indicato.");
inline const QString kLookupValute = QStringLiteral("Elenco valute");
inline const QStringList kLookupValuteColonne = {QStringLiteral("Codice"), QStringLiteral("Descrizione"),
                                                 QStringLiteral("Decimali")};

inline const QString kGroupCambiali = QStringLiteral("Cambiali");
inline const QString kGroupCessioni = QStringLiteral("Cessioni");

// The linked bills of the "Dati cambiali e cessioni" tab: a number that cannot be a bill's, and
// the search lists' titles. Their columns' captions and the endorsed list's type labels are
// texts of the host's catalogue (the label of bill type n is text kMsgTipoEffetto + n).
inline const QString kNumeroEffettoNonValido = QStringLiteral(
    "Il valore \"%1\" non è un numero di effetto valido.\r\nIndicare solo cifre, fino a 2147483647.");
inline const QString kTitleEffettiRicevuti = QStringLiteral("Effetti ricevuti");
inline const QString kTitleEffettiGirati = QStringLiteral("Effetti girati");
constexpr int kMsgTipoEffetto = 100;
constexpr int kMsgColNumero = 120, kMsgColTipo = 121, kMsgColScadenza = 122, kMsgColImporto = 123,
              kMsgColCliente = 124, kMsgColRagSocCliente = 125, kMsgColFornitore = 126,
              kMsgColRagSocFornitore = 127;

inline const QString kCrLf = QStringLiteral("\r\n");
inline const QString kTitleControlloDati = QStringLiteral("Controllo dati");
inline const QString kTitleRichiestaConferma = QStringLiteral("Richiesta conferma");
inline const QString kTitleInformazione = QStringLiteral("Informazione");
inline const QString kTesoreria = QStringLiteral(
    "*** SCADENZA GIA' TRASFERITA NEL SISTEMA INFORMATIVO DI TESORERIA ***\r\n\r\n"
    "Qualsiasi modifica apportata alla scadenza in oggetto non verrà\r\n"
    "considerata in tesoreria e sarà cura dell'utente riportare tale\r\n"
    "variazione nel gestionale apposito.\r\n\r\n"
    "Si desidera ugualmente procedere?");
// The pair (CIG, CUP; an empty code reads kCodiceVuoto) and where the clerk registers it.
inline const QString kCigCupNonValido = QStringLiteral(
    "Attenzione, la coppia CIG/CUP (CIG %1, CUP %2) non è registrata per il cliente/fornitore "
    "dell'effetto.\r\nRegistrarla nell'anagrafica Cig/Cup e assegnarla al cliente/fornitore, poi "
    "salvare di nuovo.");
inline const QString kCodiceVuoto = QStringLiteral("non indicato");
inline const QString kBancaNonValida = QStringLiteral("Attenzione, la banca di canalizzazione non è valida.");
inline const QString kStatoIncoerente = QStringLiteral(
    "Attenzione, impostare in modo coerente lo stato attuale dell'effetto e l'indicatore tipo operazione");
inline const QString kEffettoNonEliminato = QStringLiteral("L'effetto non è stato eliminato.");
inline const QString kNonAutorizzato =
    QStringLiteral("ATTENZIONE !!! Utente non autorizzato alla cancellazione degli effetti.");
inline const QString kEliminaConsolidato = QStringLiteral(
    "ATTENZIONE !!! L'eliminazione forzata e irreversibile dell'effetto potrebbe comportare\r\n"
    "malfunzionamenti e un disallineamento dei dati tra:\r\n\r\n"
    "Contabilità Generale, Estratto Conto e Portafoglio!!!\r\n\r\n"
    "CONFERMI L'ELIMINAZIONE DEFINITIVA DELL'EFFETTO ?");
inline const QString kEliminaNonConsolidato = QStringLiteral(
    "ATTENZIONE !!! *** QUESTO EFFETTO RISULTA NON CONSOLIDATO ***\r\n\r\n"
    "L'eliminazione forzata e irreversibile dell'effetto potrebbe comportare\r\n"
    "malfunzionamenti e un disallineamento dei dati tra:\r\n\r\n"
    "Contabilità Generale, Estratto Conto e Portafoglio!!!\r\n\r\n"
    "CONFERMI L'ELIMINAZIONE DEFINITIVA DELL'EFFETTO ?");

}  // namespace BillFormTexts
