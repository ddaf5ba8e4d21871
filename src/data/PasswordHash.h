#pragma once

#include <QString>

// A password kept as a salted, memory-hard hash (Argon2id): the encoded text carries the salt
// and the cost, so two users with one password have different hashes.
namespace PasswordHash {

// Throws SuiteError when the library cannot run (out of memory).
QString make(const QString& password);
// False for a wrong password and for a text that is no hash of ours.
bool matches(const QString& encoded, const QString& password);

}  // namespace PasswordHash
