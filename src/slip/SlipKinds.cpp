#include "SlipKinds.h"

#include <QStringList>

namespace {
constexpr int kRicevutaBancaria = 2;
constexpr int kRid = 11;
}  // namespace

namespace SlipKinds {

std::optional<int> forBillType(int billType) {
    if (billType == kRicevutaBancaria) return kRiba;
    if (billType == kRid) return kSdd;
    return std::nullopt;
}

int billTypeOf(int kind) {
    return kind == kSdd ? kRid : kRicevutaBancaria;
}

int presentationOf(int kind) {
    return kind == kSdd ? 5 : 2;
}

QString name(int kind) {
    // The slip archive's kinds as the history form decodes them; this program writes the first two.
    static const QStringList names = {QStringLiteral("Riba"),
                                      QStringLiteral("Rid"),
                                      QStringLiteral("Mav"),
                                      QStringLiteral("Sconto fatture"),
                                      QStringLiteral("Cessione a factoring"),
                                      QStringLiteral("Distinta multipla"),
                                      QStringLiteral("LCR (Generico)"),
                                      QStringLiteral("IEF (Generico)"),
                                      QStringLiteral("Lastschrift (Generico)"),
                                      QStringLiteral("Unicredit (Export Manager)")};
    if (kind >= 0 && kind < names.size()) return names.at(kind);
    if (kind == 21) return QStringLiteral("Distinta francese LCR-BOR");
    return QString::number(kind);
}

}  // namespace SlipKinds
