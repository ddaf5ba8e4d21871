#pragma once

#include <QMetaType>
#include <QString>
#include <QTypeInfo>
#include <optional>

// An exact decimal number for money and exchange rates: a 128-bit integer mantissa and a scale
// (digits after the point, 0 to 18). Arithmetic never goes through binary floating point;
// rounding is half away from zero, the way accounting rounds.
class Decimal {
public:
    __extension__ typedef __int128 Int128;
    static constexpr int kMaxScale = 18;

    Decimal() = default;
    Decimal(long long value) : mantissa_(value), scale_(0) {}  // NOLINT: integers convert implicitly

    // Parses "1234", "-0.5", "+12.340", "1e3" is refused. Accepts ',' as the decimal point too,
    // since a clerk types Italian numbers; no grouping separators.
    static std::optional<Decimal> parse(const QString& text);
    // The same of 8-bit text, as a server sends an exact decimal: no QString made to read it.
    static std::optional<Decimal> parse(QLatin1StringView text);
    // Like parse, but throws SuiteError (type mismatch) naming the text.
    static Decimal fromString(const QString& text);
    // The double's value rounded to `scale` digits (for engines that store decimals as REAL).
    static Decimal fromDouble(double value, int scale);
    static Decimal fromMantissa(Int128 mantissa, int scale);

    int scale() const { return scale_; }
    Int128 mantissa() const { return mantissa_; }
    bool isZero() const { return mantissa_ == 0; }
    int sign() const { return mantissa_ < 0 ? -1 : (mantissa_ > 0 ? 1 : 0); }
    // Digits before the point, 0 for a value under one: what a column's precision less its scale
    // must hold.
    int integerDigits() const;

    // Rounded (half away from zero) or extended to exactly `scale` digits.
    Decimal rounded(int scale) const;
    // Drops trailing zero digits after the point.
    Decimal normalized() const;

    // Plain text with '.' and no grouping: "-1234.50".
    QString toString() const;
    double toDouble() const;
    long long toLongLong() const;  // truncates toward zero

    Decimal operator-() const { return fromMantissa(-mantissa_, scale_); }
    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    // Quotient rounded to `scale` digits; throws SuiteError on division by zero.
    static Decimal divide(const Decimal& a, const Decimal& b, int scale);

    friend int compare(const Decimal& a, const Decimal& b);
    friend bool operator==(const Decimal& a, const Decimal& b) { return compare(a, b) == 0; }
    friend bool operator!=(const Decimal& a, const Decimal& b) { return compare(a, b) != 0; }
    friend bool operator<(const Decimal& a, const Decimal& b) { return compare(a, b) < 0; }
    friend bool operator>(const Decimal& a, const Decimal& b) { return compare(a, b) > 0; }
    friend bool operator<=(const Decimal& a, const Decimal& b) { return compare(a, b) <= 0; }
    friend bool operator>=(const Decimal& a, const Decimal& b) { return compare(a, b) >= 0; }

private:
    // Aligned to 8 so that a Decimal (24 bytes) fits inside a QVariant without a heap block:
    // a recordset holds one per amount per row.
    __extension__ typedef __int128 StoredInt128 __attribute__((aligned(8)));
    StoredInt128 mantissa_ = 0;
    int scale_ = 0;
};

int compare(const Decimal& a, const Decimal& b);

Q_DECLARE_TYPEINFO(Decimal, Q_RELOCATABLE_TYPE);
Q_DECLARE_METATYPE(Decimal)
