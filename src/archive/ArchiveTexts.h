#pragma once

#include <QString>

// The maintenance windows' buttons and messages.
namespace ArchiveTexts {

inline const QString kNuovo = QStringLiteral("Nuovo");
inline const QString kSalva = QStringLiteral("Salva");
inline const QString kElimina = QStringLiteral("Elimina");
inline const QString kScegli = QStringLiteral("Scegli");
inline const QString kChiudi = QStringLiteral("Chiudi");

inline const QString kTitleControllo = QStringLiteral("Controllo dati");
inline const QString kCerca = QStringLiteral("Cerca (F3)");
inline const QString kChiudereSenzaSalvare =
    QStringLiteral("Le modifiche non sono state salvate. Chiudere senza salvarle?");
inline const QString kEliminare = QStringLiteral("Eliminare l'elemento selezionato?");
inline const QString kNessunaRiga = QStringLiteral("Nessun elemento selezionato.");
inline const QString kNonSalvato =
    QStringLiteral("L'elemento non è stato salvato; le modifiche restano da salvare.");
inline const QString kRilettoModificato = QStringLiteral(
    "Un altro utente ha modificato questo elemento dopo che è stato letto. L'elemento è stato "
    "riletto: i campi cambiati qui restano come scritti, gli altri mostrano i valori salvati "
    "dall'altro utente. Controllare e salvare di nuovo.");
inline const QString kRilettoEliminato = QStringLiteral(
    "Un altro utente ha eliminato questo elemento dopo che è stato letto. Quanto scritto resta "
    "nella finestra: salvando, l'elemento viene inserito di nuovo.");
inline const QString kNonEliminato = QStringLiteral("L'elemento non è stato eliminato.");
inline const QString kHint =
    QStringLiteral("Invio o Tab: campo successivo · Ctrl+S: salva · F3: cerca · Esc: chiude");

}  // namespace ArchiveTexts
