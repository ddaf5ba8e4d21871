#pragma once

#include <QString>

// The bill form's own texts, in one place.
namespace BillFormTexts {

inline const QString kCaption = QStringLiteral("Dettaglio effetti");
inline const QString kPlace = QStringLiteral("FRMKV_TARSELLO:");
inline const QString kRecordDescription = QStringLiteral("l'effetto in gestione");
inline const QString kMenuProgId = QStringLiteral("KVUO_TARSELLO.CLSEF_TARSELLO");
inline const QString kMenuAllBanks = QStringLiteral("Tutte le banche");
inline const QString kMenuCigCup = QStringLiteral("Anagrafica Cig/Cup generica");

inline const QString kTabDatiGenerali = QStringLiteral("Dati generali");
inline const QString kTabCambialiCessioni = QStringLiteral("Dati cambiali e cessioni");
inline const QString kTabStorico = QStringLiteral("Storico movimenti");
inline const QString kTabSolleciti = QStringLiteral("Solleciti");
inline const QString kTabNote = QStringLiteral("Note e altri dati");

inline const QString kEuroColumn = QStringLiteral("DATI IN EURO");
inline const QString kCurrencyColumn = QStringLiteral("DATI IN VALUTA");
inline const QString kEuro = QStringLiteral("EURO");

inline const QString kGroupCambiali = QStringLiteral("Cambiali");
inline const QString kGroupCessioni = QStringLiteral("Cessioni");

}  // namespace BillFormTexts
