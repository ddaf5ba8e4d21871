#pragma once

#include <QString>

// What the user is told when a write finds the row changed by another user since it was read.
namespace WriteConflict {
inline const QString kMessage = QStringLiteral(
    "I dati in fase di aggiornamento sono stati modificati da un altro utente.\r\n"
    "Occorre reinterrogare nuovamente i dati per poterli modificare !");
inline const QString kTitle = QStringLiteral("Informazione Utente");
constexpr int kFlags = 64;  // information icon
}  // namespace WriteConflict
