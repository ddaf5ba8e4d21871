#include "DemoRandom.h"

quint64 DemoRandom::next() {
    quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int DemoRandom::between(int low, int high) {
    if (high <= low) return low;
    return low + int(next() % quint64(high - low + 1));
}

Decimal DemoRandom::amount(int low, int high) {
    const long long cents = low * 100LL + (long long)(next() % quint64((high - low) * 100LL + 1));
    return Decimal::fromMantissa(cents, 2);
}

int DemoRandom::weighted(const QList<int>& weights) {
    int total = 0;
    for (int w : weights) total += w;
    int draw = between(1, total);
    for (int i = 0; i < weights.size(); ++i) {
        draw -= weights[i];
        if (draw <= 0) return i;
    }
    return int(weights.size()) - 1;
}
