#pragma once

#include <QString>

// The reminder form's captions, messages and the programs its menus open.
namespace ReminderFormTexts {

inline const QString kCaption = QStringLiteral("Dettaglio solleciti effetti");
inline const QString kPlace = QStringLiteral("FRMKV_SOLLECITI:");
inline const QString kScriptStructure = QStringLiteral("DTS_Solleciti");
inline const QString kSectionNone = QStringLiteral("00");

inline const QString kTitleControlloDati = QStringLiteral("Controllo dati");
inline const QString kTitleInformazione = QStringLiteral("Informazione");
inline const QString kDateInteressi =
    QStringLiteral("Attenzione, la data finale del calcolo interessi è precedente alla data iniziale.");
inline const QString kTassoNonValido =
    QStringLiteral("Attenzione, il tasso di interesse deve essere compreso fra 0 e 100.");
inline const QString kLetteraInesistente =
    QStringLiteral("Attenzione, la sigla lettera indicata non esiste fra i testi di sollecito (tipo 5 o 6).");
inline const QString kProgrammaNonDisponibile =
    QStringLiteral("Il programma di gestione richiesto non è disponibile.");

// The key-button menus.
inline const QString kMenuTestata = QStringLiteral("Gestione testo in testata lettera");
inline const QString kMenuPiede = QStringLiteral("Gestione testo in piede lettera");
inline const QString kMenuGestione = QStringLiteral("Gestione");
inline const QString kKeyTestata = QStringLiteral("Kpers1");
inline const QString kKeyPiede = QStringLiteral("Kpers2");
inline const QString kKeyGestione = QStringLiteral("Kgestione");

// The maintenance programs of the host the menus open.
inline const QString kProgTestiFissi = QStringLiteral("KVMG_TESTIFISSI.CLSKV_TESTIFISSI");
inline const QString kProgLivelliBlocco = QStringLiteral("KVMG_LIVELLIBLOCCO.CLSKV_LIVELLIBLOCCO");
inline const QString kProgSezionali = QStringLiteral("KVCG_SEZIONALI.CLSKV_SEZIONALI");
inline const QString kLookupLettera = QStringLiteral("Lkp_SiglaLettera");
inline const QString kLookupLetteraTitle = QStringLiteral("Lettere di sollecito");

// Group boxes.
inline const QString kGroupAvviso = QStringLiteral("Avviso");
inline const QString kGroupInteressi = QStringLiteral("Interessi");
inline const QString kGroupSpese = QStringLiteral("Spese");
inline const QString kGroupLettera = QStringLiteral("Lettera di sollecito");
inline const QString kGroupBlocco = QStringLiteral("Blocco del cliente e azioni");
inline const QString kGroupDocumento = QStringLiteral("Documento emesso");

}  // namespace ReminderFormTexts
