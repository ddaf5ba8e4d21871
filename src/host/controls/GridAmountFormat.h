#pragma once

#include <QPointer>
#include <QString>
#include <functional>

class Grid;

// Gives a grid's amount columns the display format of their currency: the digits after the
// comma are the currency's (two for the euro). The form registers each amount column with the
// currency whose format it takes; a new formatter replaces the previous one on every formatting.
class GridAmountFormat {
public:
    static constexpr int kAmount = 1;
    // A rate: a percentage with the digits a rate is read with, whatever the currency.
    static constexpr int kRate = 6;
    // Digits after the comma of a currency; two when not told.
    using Decimals = std::function<int(const QString& currency)>;

    void setGrid(Grid* grid) { grid_ = grid; }
    Grid* grid() const { return grid_; }
    void setDecimals(Decimals decimals) { decimals_ = std::move(decimals); }

    void Add(const QString& field, int kind, const QString& currency);
    // The pattern of an amount with `decimals` digits after the comma ("#,###.00" for two).
    static QString pattern(int decimals);
    static QString ratePattern() { return QStringLiteral("##0.000"); }

private:
    QPointer<Grid> grid_;
    Decimals decimals_;
};
