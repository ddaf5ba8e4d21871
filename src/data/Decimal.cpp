#include "Decimal.h"

#include "SuiteError.h"

#include <algorithm>
#include <cmath>

namespace {

using Int128 = Decimal::Int128;

Int128 pow10(int n) {
    Int128 r = 1;
    for (int i = 0; i < n; ++i) r *= 10;
    return r;
}

// Divides rounding half away from zero.
Int128 divRound(Int128 num, Int128 den) {
    Int128 q = num / den;
    Int128 r = num % den;
    if (r < 0) r = -r;
    Int128 d = den < 0 ? -den : den;
    if (2 * r >= d) q += ((num < 0) != (den < 0)) ? -1 : 1;
    return q;
}

}  // namespace

Decimal Decimal::fromMantissa(Int128 mantissa, int scale) {
    Decimal d;
    d.mantissa_ = mantissa;
    d.scale_ = scale;
    return d;
}

namespace {

// The digits of a number as parse reads them, from text of 16-bit or 8-bit characters.
template <typename Char>
std::optional<Decimal> parseDigits(const Char* c, const Char* const end) {
    auto unit = [](Char ch) -> char16_t {
        if constexpr (sizeof(Char) == 1)
            return char16_t(static_cast<unsigned char>(ch));
        else
            return char16_t(ch.unicode());
    };
    if (c == end) return std::nullopt;
    bool negative = false;
    if (unit(*c) == u'-' || unit(*c) == u'+') negative = unit(*c++) == u'-';
    // Up to 18 digits in a 64-bit integer (an amount has far fewer), the rest in 128 bits.
    long long small = 0;
    Decimal::Int128 m = 0;
    int scale = -1;
    int digits = 0;
    for (; c != end; ++c) {
        const char16_t u = unit(*c);
        if (u == u'.' || u == u',') {
            if (scale >= 0) return std::nullopt;
            scale = 0;
            continue;
        }
        if (u < u'0' || u > u'9') return std::nullopt;
        if (scale >= Decimal::kMaxScale) continue;  // digits beyond the precision we keep are dropped
        if (++digits > 36) return std::nullopt;
        if (digits <= 18)
            small = small * 10 + (u - u'0');
        else
            m = (digits == 19 ? Decimal::Int128(small) : m) * 10 + (u - u'0');
        if (scale >= 0) ++scale;
    }
    if (digits == 0) return std::nullopt;
    if (digits <= 18) m = small;
    return Decimal::fromMantissa(negative ? -m : m, std::max(scale, 0));
}

}  // namespace

std::optional<Decimal> Decimal::parse(const QString& text) {
    // Read in place, uncopied: a recordset parses one per amount read.
    const QStringView t = QStringView(text).trimmed();
    return parseDigits(t.data(), t.data() + t.size());
}

std::optional<Decimal> Decimal::parse(QLatin1StringView text) {
    const QLatin1StringView t = text.trimmed();
    return parseDigits(t.data(), t.data() + t.size());
}

Decimal Decimal::fromString(const QString& text) {
    if (auto d = parse(text)) return *d;
    throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Decimal"),
                     QStringLiteral("Il valore '%1' non è un numero valido.").arg(text));
}

Decimal Decimal::fromDouble(double value, int scale) {
    scale = std::clamp(scale, 0, kMaxScale);
    if (!std::isfinite(value)) return Decimal();
    // Fast path: a value stored from a decimal of this scale sits within a hair of an integer
    // once scaled, far below the rounding point; a double holds such integers exactly.
    const double scaled = value * double(pow10(scale));
    if (std::fabs(scaled) < 1e15) {
        const double nearest = std::round(scaled);
        if (std::fabs(scaled - nearest) < 1e-6)
            return fromMantissa(Int128(static_cast<long long>(nearest)), scale);
    }
    // Otherwise the shortest text that reads back as the same double, then exact rounding: avoids the
    // error that multiplying by 10^scale in binary would add.
    const QString text = QString::number(value, 'f', std::min(scale + 3, 20));
    Decimal d = parse(text).value_or(Decimal());
    return d.rounded(scale);
}

int Decimal::integerDigits() const {
    Int128 whole = mantissa_ < 0 ? -mantissa_ : mantissa_;
    whole /= pow10(scale_);
    int digits = 0;
    for (; whole != 0; whole /= 10) ++digits;
    return digits;
}

Decimal Decimal::rounded(int scale) const {
    scale = std::clamp(scale, 0, kMaxScale);
    if (scale == scale_) return *this;
    if (scale > scale_) return fromMantissa(mantissa_ * pow10(scale - scale_), scale);
    return fromMantissa(divRound(mantissa_, pow10(scale_ - scale)), scale);
}

Decimal Decimal::normalized() const {
    Decimal d = *this;
    while (d.scale_ > 0 && d.mantissa_ % 10 == 0) {
        d.mantissa_ /= 10;
        --d.scale_;
    }
    return d;
}

QString Decimal::toString() const {
    Int128 m = mantissa_ < 0 ? -mantissa_ : mantissa_;
    char buf[64];
    int n = 0;
    do {
        buf[n++] = char('0' + int(m % 10));
        m /= 10;
    } while (m != 0);
    while (n <= scale_) buf[n++] = '0';
    QString out;
    out.reserve(n + 2);
    if (mantissa_ < 0) out += QLatin1Char('-');
    for (int i = n - 1; i >= 0; --i) {
        out += QLatin1Char(buf[i]);
        if (i == scale_ && scale_ > 0) out += QLatin1Char('.');
    }
    return out;
}

double Decimal::toDouble() const {
    // Through the text: the correctly rounded nearest double of the exact value.
    return toString().toDouble();
}

long long Decimal::toLongLong() const {
    return static_cast<long long>(mantissa_ / pow10(scale_));
}

namespace {
void align(const Decimal& a, const Decimal& b, Int128& ma, Int128& mb, int& scale) {
    scale = std::max(a.scale(), b.scale());
    ma = a.mantissa() * pow10(scale - a.scale());
    mb = b.mantissa() * pow10(scale - b.scale());
}
}  // namespace

Decimal operator+(const Decimal& a, const Decimal& b) {
    Int128 ma, mb;
    int s;
    align(a, b, ma, mb, s);
    return Decimal::fromMantissa(ma + mb, s);
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    Int128 ma, mb;
    int s;
    align(a, b, ma, mb, s);
    return Decimal::fromMantissa(ma - mb, s);
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    Int128 m = a.mantissa() * b.mantissa();
    int s = a.scale() + b.scale();
    if (s > Decimal::kMaxScale) {
        m = divRound(m, pow10(s - Decimal::kMaxScale));
        s = Decimal::kMaxScale;
    }
    return Decimal::fromMantissa(m, s);
}

Decimal Decimal::divide(const Decimal& a, const Decimal& b, int scale) {
    if (b.isZero())
        throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Decimal"),
                         QStringLiteral("Divisione per zero."));
    scale = std::clamp(scale, 0, kMaxScale);
    // a/b at `scale` = a.m * 10^(scale + b.s - a.s) / b.m
    const int shift = scale + b.scale_ - a.scale_;
    Int128 num = a.mantissa_;
    Int128 den = b.mantissa_;
    if (shift >= 0)
        num *= pow10(shift);
    else
        den *= pow10(-shift);
    return fromMantissa(divRound(num, den), scale);
}

int compare(const Decimal& a, const Decimal& b) {
    Int128 ma, mb;
    int s;
    align(a, b, ma, mb, s);
    return ma < mb ? -1 : (ma > mb ? 1 : 0);
}
static_assert(sizeof(Decimal) <= 24, "a Decimal must fit in a QVariant");
