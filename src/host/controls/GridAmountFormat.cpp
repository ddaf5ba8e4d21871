#include "GridAmountFormat.h"

#include "Grid.h"

QString GridAmountFormat::pattern(int decimals) {
    return decimals > 0 ? QStringLiteral("#,###.") + QString(decimals, QLatin1Char('0'))
                        : QStringLiteral("#,###");
}

void GridAmountFormat::Add(const QString& field, int kind, const QString& currency) {
    if (!grid_) return;
    if (kind == kRate) {
        grid_->setColumnFormat(field, ratePattern());
        return;
    }
    if (kind != kAmount) return;
    const int decimals = decimals_ ? decimals_(currency.trimmed().toUpper()) : 2;
    grid_->setColumnFormat(field, pattern(decimals));
}
