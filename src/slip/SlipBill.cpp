#include "SlipBill.h"

QString SlipBill::named() const {
    return QStringLiteral("L'effetto n. %1 (registrazione %2)").arg(number).arg(key.registration);
}
