#pragma once

#include "FlagTexts.h"

#include <QString>
#include <QStringList>

// The texts of history movements: the history movement form's captions and messages, and the
// messages of the deletion of the last movement, which the bill form's history tab shares.
namespace HistoryFormTexts {

inline const QString kCaption = QStringLiteral("Dettaglio storico effetti");
inline const QString kPlace = QStringLiteral("FRMKV_STORICO:");
inline const QString kScriptStructure = QStringLiteral("DTS_DettaglioStoricoEffetti");
inline const QString kEuro = QStringLiteral("EURO");

// The flags of the grid, as the host's dictionary words them.
inline const QString& kFalse = FlagTexts::kNo;
inline const QString& kTrue = FlagTexts::kYes;

inline const QString kTitleAttenzione = QStringLiteral("Attenzione");
inline const QString kTitleInformazione = QStringLiteral("Informazione");
inline const QString kTitleRichiestaConferma = QStringLiteral("Richiesta conferma");
inline const QString kTitleAvviso = QStringLiteral("Avviso");
inline const QString kProgrammaNonDisponibile =
    QStringLiteral("Il programma di gestione degli effetti non è disponibile.");

inline const QString kTesoreria = QStringLiteral(
    "*** SCADENZA GIA' TRASFERITA NEL SISTEMA INFORMATIVO DI TESORERIA ***\r\n\r\n"
    "Qualsiasi modifica apportata alla scadenza in oggetto non verrà\r\n"
    "considerata in tesoreria e sarà cura dell'utente riportare tale\r\n"
    "variazione nel gestionale apposito.\r\n\r\n"
    "Si desidera ugualmente procedere?");
inline const QString kSoloUltimo =
    QStringLiteral("E' possibile cancellare solo l'ultimo movimento di storico");
inline const QString kNonAutorizzato = QStringLiteral(
    "Utente non autorizzato a cancellare movimenti generati automaticamente da altre procedure");
// Our own: a movement whose snapshot lacks what the Bill requires cannot put the Bill back.
inline const QString kSituazioneIncompleta = QStringLiteral(
    "Il movimento non riporta la situazione dell'effetto prima della variazione (%1): l'effetto "
    "non può essere ripristinato e il movimento non viene eliminato.");
// Our own: a movement is confirmed only with what its undo would put back into the Bill.
inline const QString kSituazioneDaCompletare = QStringLiteral(
    "Indicare la situazione dell'effetto prima del movimento (%1): senza di essa il movimento "
    "non potrebbe più essere eliminato ripristinando l'effetto.");
inline const QString kDatiNonSalvati =
    QStringLiteral("Dati non salvati, impossibile cancellare il movimento.");
inline const QString kEliminaAutomatico = QStringLiteral(
    "ATTENZIONE !!! IL MOVIMENTO E' STATO GENERATO AUTOMATICAMENTE DA ALTRE PROCEDURE.\r\n\r\n"
    "L'eliminazione forzata e irreversibile del movimento potrebbe comportare\r\n"
    "malfunzionamenti e un disallineamento dei dati tra:\r\n\r\n"
    "Contabilità Generale, Estratto Conto e Portafoglio!!!\r\n\r\n"
    "CONFERMI L'ELIMINAZIONE DEFINITIVA DEL MOVIMENTO DI STORICO ?");
inline const QString kEliminaManuale = QStringLiteral(
    "ATTENZIONE !!! L'eliminazione forzata e irreversibile del movimento potrebbe comportare\r\n"
    "malfunzionamenti e un disallineamento dei dati tra:\r\n\r\n"
    "Contabilità Generale, Estratto Conto e Portafoglio!!!\r\n\r\n"
    "CONFERMI L'ELIMINAZIONE DEFINITIVA DEL MOVIMENTO DI STORICO ?");
inline const QString kNonModificabile = QStringLiteral(
    "Attenzione: Non è possibile modificare il dettaglio di un effetto\r\n"
    "generato automaticamente da altre procedure.");

// Group boxes of the form.
inline const QString kGroupMovimento = QStringLiteral("Movimento");
inline const QString kGroupSituazione = QStringLiteral("Situazione dell'effetto prima del movimento");
inline const QString kGroupImporti = QStringLiteral("Importi");
inline const QString kGroupPresentazione = QStringLiteral("Presentazione e distinta");
inline const QString kGroupOrdine = QStringLiteral("Ordine di pagamento / bonifico");
inline const QString kGroupSpese = QStringLiteral("Spese di ritorno e assegno");
inline const QString kGroupCambio = QStringLiteral("Cambio e adeguamento");
inline const QString kColumnEuro = QStringLiteral("In EURO");
inline const QString kColumnValuta = QStringLiteral("In valuta");

// The field rules: labels that follow the order kind, look-ups and refusals.
inline const QString kMotivo = QStringLiteral("Motivo");
inline const QString kNumeroAvviso = QStringLiteral("Numero avviso");
inline const QString kMenuGestione = QStringLiteral("Gestione");
inline const QStringList kLookupBancheColonne = {QStringLiteral("Codice"), QStringLiteral("Descrizione")};
inline const QString kLookupBanche = QStringLiteral("Elenco banche");
inline const QString kLookupAgenzie = QStringLiteral("Elenco agenzie");
inline const QString kNonTrovato =
    QStringLiteral("%1 \"%2\" non trovato: indicare un valore presente in archivio.");

}  // namespace HistoryFormTexts
