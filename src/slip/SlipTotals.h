#pragma once

#include "SlipKey.h"

#include <QVariant>
#include <functional>
#include <optional>

class Connection;

// Keeps a slip true to its Bills once one left it (the last movement undone): its count and
// total are those of the presentation movements still naming it, and a slip left with none is
// removed. Runs inside the caller's transaction.
namespace SlipTotals {

void follow(Connection& connection, const SlipKey& slip);
// Removes the slip's row and the rows kept beside it (its bank, its state): a later slip given the
// same number starts clean. Returns false when the slip's row was not there.
bool remove(Connection& connection, const SlipKey& slip);
// The slip a movement presented its Bill on, from the movement's columns; nullopt for any other
// movement.
std::optional<SlipKey> presentedOn(const std::function<QVariant(const QString& column)>& movement);

}  // namespace SlipTotals
