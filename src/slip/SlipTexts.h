#pragma once

#include <QString>

// The texts of the slip's dialog, messages and refusals, in one place.
namespace SlipTexts {

inline const QString kTitle = QStringLiteral("Presentazione alla banca");
inline const QString kWithdrawTitle = QStringLiteral("Ritiro della distinta");
inline const QString kNothingWritten =
    QStringLiteral("La distinta non è stata creata e nessun effetto è stato presentato.");
inline const QString kNothingWithdrawn =
    QStringLiteral("La distinta non è stata ritirata: effetti e distinta sono come prima.");
inline const QString kNoBank = QStringLiteral("Scegliere la banca della ditta a cui presentare gli effetti.");
inline const QString kBankWithoutAbi =
    QStringLiteral("La banca \"%1\" non ha ABI e CAB in archivio: completarla nelle banche della ditta.");
inline const QString kNoBills = QStringLiteral("Nessun effetto da presentare: spuntarne almeno uno.");
inline const QString kWrongDate = QStringLiteral("La data di scadenza %1 \"%2\" non è valida (gg/mm/aaaa).");
inline const QString kInverted = QStringLiteral("La scadenza iniziale %1 è successiva a quella finale %2.");
inline const QString kWrongType =
    QStringLiteral("Si presentano alla banca solo le ricevute bancarie (Ri.Ba.) e i RID (SDD).");
inline const QString kGone = QStringLiteral("%1 non c'è più: forse un altro utente l'ha eliminato.");
inline const QString kClosed = QStringLiteral("%1 è chiuso: non si presenta alla banca.");
inline const QString kAlreadyPresented =
    QStringLiteral("%1 è già presentato alla banca (banca %2, presentazione %3).");
inline const QString kNotThisKind = QStringLiteral("%1 non è %2 di un cliente.");
inline const QString kChangedMeanwhile = QStringLiteral("%1: %2");
inline const QString kSlipMissing = QStringLiteral("La distinta %1 non c'è.");
inline const QString kMovedOn = QStringLiteral(
    "%1 ha movimenti successivi alla presentazione: eliminarli prima di ritirare la distinta.");
inline const QString kCreated = QStringLiteral("Creata la distinta %1 del %2: %3 effetti per %4 euro.");
inline const QString kWithdrawn =
    QStringLiteral("Ritirata la distinta %1: %2 effetti tornati in portafoglio.");

}  // namespace SlipTexts
