#pragma once

#include "Decimal.h"

#include <QDate>
#include <QString>

// What the clerk types for an outcome, read as an Italian clerk writes it: dates "31/01/2026",
// amounts "1.234,56". Each refuses with the field named (SuiteError, type mismatch).
namespace OutcomeInput {

QDate date(const QString& text, const QString& field);
// An amount of at most two decimals, zero or more; empty text is zero.
Decimal amount(const QString& text, const QString& field);

}  // namespace OutcomeInput
