#pragma once

#include "Decimal.h"

#include <QDate>
#include <QString>

// Amounts and dates as an Italian clerk reads them on screen and on paper: "1.234,56",
// "31/01/2026". Amounts are written from their exact digits, never through a double.
namespace ItalianFormat {

QString amount(const Decimal& value, int scale = 2);
QString date(const QDate& value);

}  // namespace ItalianFormat
