#pragma once

#include "Decimal.h"
#include "EditBox.h"

#include <optional>

class QLabel;

// An edit box for numbers: keystrokes other than digits, a sign, points and one decimal comma
// are refused, and what cannot be read as a number is refused on exit with a message. The value
// is an exact Decimal. Amount boxes show their currency in a label after the field.
class NumericBox : public EditBox {
    Q_OBJECT
public:
    explicit NumericBox(QWidget* parent = nullptr);

    // What a clerk types, read the Italian way: "1.234,56" and "1234,56" are 1234.56; with no
    // comma a single point is the decimal point ("1234.56") and points every three digits group
    // thousands ("1.234.567"), also a single one in an amount (`grouped`: "5.984" is 5984).
    // Nullopt for anything else (misplaced groups, letters).
    static std::optional<Decimal> parseTyped(const QString& text, bool grouped = false);

    QVariant Value() const override;
    void setValue(const QVariant& value) override;

    // Digits after the decimal comma shown and kept (more typed are refused); -1 keeps what was
    // typed.
    int Decimals() const { return decimals_; }
    void setDecimals(int decimals) { decimals_ = decimals; }

    // Amounts show their thousands grouped ("11.448,58"); codes, years and counters do not.
    bool Grouped() const { return grouped_; }
    void setGrouped(bool on) { grouped_ = on; }

    QString CurrencyLabel() const;
    void setCurrencyLabel(const QString& currency);

protected:
    bool acceptInput(QString* problem) override;
    void entryAccepted() override;

private:
    QLabel* currency_;
    int decimals_ = -1;
    bool grouped_ = false;
};
