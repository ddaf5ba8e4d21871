#include "PasswordHash.h"

#include "SuiteError.h"

#include <sodium.h>

namespace {
void initialise() {
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("PasswordHash"),
                         QStringLiteral("La libreria crittografica non si avvia."));
}
}  // namespace

QString PasswordHash::make(const QString& password) {
    initialise();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                              crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("PasswordHash"),
                         QStringLiteral("Memoria insufficiente per cifrare la password."));
    return QString::fromLatin1(out);
}

bool PasswordHash::matches(const QString& encoded, const QString& password) {
    initialise();
    const QByteArray stored = encoded.toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES) return false;
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}
