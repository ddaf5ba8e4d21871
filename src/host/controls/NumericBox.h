#pragma once

#include "EditBox.h"

class QLabel;

// An edit box for numbers: keystrokes other than digits, a sign and one decimal comma (or point)
// are refused, and what cannot be read as a number is refused on exit with a message. The value
// is an exact Decimal. Amount boxes show their currency in a label after the field.
class NumericBox : public EditBox {
    Q_OBJECT
public:
    explicit NumericBox(QWidget* parent = nullptr);

    QVariant Value() const override;
    void setValue(const QVariant& value) override;

    // Digits after the decimal comma shown and kept; -1 keeps what was typed.
    int Decimals() const { return decimals_; }
    void setDecimals(int decimals) { decimals_ = decimals; }

    QString CurrencyLabel() const;
    void setCurrencyLabel(const QString& currency);

protected:
    bool acceptInput(QString* problem) override;

private:
    QLabel* currency_;
    int decimals_ = -1;
};
