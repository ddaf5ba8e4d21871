#include "NumericBox.h"

#include "Decimal.h"
#include "ItalianFormat.h"
#include "Value.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {
// Italian clerks type the decimal comma; the stored text is shown with it too, and an amount
// with a point between each three digits of its whole part ("11.448,58").
QString shown(const Decimal& d, bool grouped) {
    if (grouped) return ItalianFormat::amount(d, d.scale());
    return d.toString().replace(QLatin1Char('.'), QLatin1Char(','));
}
}  // namespace

std::optional<Decimal> NumericBox::parseTyped(const QString& typed, bool grouped) {
    static const QRegularExpression groups(QStringLiteral("^[+-]?[0-9]{1,3}(\\.[0-9]{3})+$"));
    static const QRegularExpression plain(QStringLiteral("^[+-]?[0-9]*$"));
    static const QRegularExpression fraction(QStringLiteral("^[0-9]*$"));
    const QString text = typed.trimmed();
    const int comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        const QString whole = text.left(comma), decimals = text.mid(comma + 1);
        if (!fraction.match(decimals).hasMatch()) return std::nullopt;
        if (!plain.match(whole).hasMatch() && !groups.match(whole).hasMatch()) return std::nullopt;
        return Decimal::parse(QString(whole).remove(QLatin1Char('.')) + QLatin1Char('.') + decimals);
    }
    // Several points group thousands; in an amount so does one before the last three digits
    // ("5.984", as an amount with no decimals is shown).
    if (text.count(QLatin1Char('.')) > 1 || (grouped && groups.match(text).hasMatch())) {
        if (!groups.match(text).hasMatch()) return std::nullopt;
        return Decimal::parse(QString(text).remove(QLatin1Char('.')));
    }
    return Decimal::parse(text);
}

NumericBox::NumericBox(QWidget* parent) : EditBox(parent), currency_(new QLabel(this)) {
    lineEdit()->setAlignment(Qt::AlignRight);
    lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9.]*(,[0-9]*)?")), this));
    currency_->hide();
    row()->addWidget(currency_);
}

QVariant NumericBox::Value() const {
    const std::optional<Decimal> d = parseTyped(Text(), grouped_);
    if (!d) return QVariant();
    return QVariant::fromValue(decimals_ >= 0 ? d->rounded(decimals_) : *d);
}

void NumericBox::setValue(const QVariant& value) {
    if (Value::isNull(value)) return setText(QString());
    const Decimal d = Value::toDecimal(value);
    setText(shown(decimals_ >= 0 ? d.rounded(decimals_) : d, grouped_));
}

QString NumericBox::CurrencyLabel() const {
    return currency_->text();
}

void NumericBox::setCurrencyLabel(const QString& currency) {
    currency_->setText(currency);
    currency_->setVisible(!currency.isEmpty());
}

bool NumericBox::acceptInput(QString* problem) {
    const QString text = Text().trimmed();
    if (text.isEmpty()) {
        setValid(true);
        return true;
    }
    const std::optional<Decimal> d = parseTyped(text, grouped_);
    if (!d) {
        setValid(false);
        *problem = QStringLiteral(
                       "Il valore \"%1\" non è un numero valido.\r\n"
                       "Inserire solo cifre, con la virgola per i decimali e il punto per le migliaia.")
                       .arg(text);
        return false;
    }
    // More decimals than the box keeps (a currency's digits: a yen has none) are refused, never
    // rounded away; the frame refuses those beyond the column's scale the same way.
    if (decimals_ >= 0 && d->rounded(decimals_) != *d) {
        setValid(false);
        *problem = decimals_ == 0
                       ? QStringLiteral("Il valore %1 non ammette decimali.").arg(text)
                       : QStringLiteral("Il valore %1 ha troppi decimali: il campo ne ammette al massimo %2.")
                             .arg(text)
                             .arg(decimals_);
        return false;
    }
    setValid(true);
    return true;
}

void NumericBox::entryAccepted() {
    // "1234,5" typed shows as the amount it is: "1.234,50".
    const QVariant value = Value();
    if (!Value::isNull(value)) setValue(value);
}
