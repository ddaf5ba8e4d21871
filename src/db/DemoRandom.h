#pragma once

#include "Decimal.h"

#include <QList>
#include <QtGlobal>

// A small deterministic random source (SplitMix64): the same seed gives the same numbers on
// every platform and library, which the standard distributions do not promise.
class DemoRandom {
public:
    explicit DemoRandom(quint64 seed) : state_(seed) {}

    quint64 next();
    // A whole number from `low` to `high`, both included.
    int between(int low, int high);
    // True `percent` times in a hundred.
    bool chance(int percent) { return between(1, 100) <= percent; }
    // An amount from `low` to `high` euro, in cents.
    Decimal amount(int low, int high);

    template <typename T>
    T pick(const QList<T>& items) {
        return items[between(0, int(items.size()) - 1)];
    }
    // An index drawn with the given weights.
    int weighted(const QList<int>& weights);

private:
    quint64 state_;
};
