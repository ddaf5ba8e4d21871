#pragma once

#include <QString>
#include <optional>

// The slips this program writes: Ri.Ba. slips of bank receipts and SEPA direct-debit slips of
// RID Bills, each with the presentation the Bills take on it.
namespace SlipKinds {

constexpr int kRiba = 0;  // EF09_INDTIPODIST " Riba"
constexpr int kSdd = 1;   // EF09_INDTIPODIST " Rid"

// The kind of slip a bill type goes on; nullopt for a type no slip takes.
std::optional<int> forBillType(int billType);
int billTypeOf(int kind);
// EF01_INDPRES_S once presented: 2 " Sbf ordinario" for Ri.Ba., 5 " Dopo incasso" for SDD.
int presentationOf(int kind);
// The kind as the slip archive names it: "Riba", "Rid", ...
QString name(int kind);

}  // namespace SlipKinds
