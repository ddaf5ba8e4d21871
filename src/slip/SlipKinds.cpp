#include "SlipKinds.h"

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
    return kind == kSdd ? QStringLiteral("SDD") : QStringLiteral("Ri.Ba.");
}

}  // namespace SlipKinds
