#pragma once

#include <QString>

// The statements of the bill form's currency rules: the rate of a euro-area currency, the daily
// and the monthly rate of any other, and the currency's search list. The code enters
// every statement as a quoted literal.
namespace CurrencyStatements {

QString fixedRate(const QString& currency);
QString dailyRate(const QString& currency, int year, int month, int day);
// Day 0 holds the rate of the whole month.
QString monthlyRate(const QString& currency, int year, int month);
QString lookup();

}  // namespace CurrencyStatements
