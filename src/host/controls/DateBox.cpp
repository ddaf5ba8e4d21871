#include "DateBox.h"

#include "Value.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {
const QString kShown = QStringLiteral("dd/MM/yyyy");
}

DateBox::DateBox(QWidget* parent) : EditBox(parent) {
    lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9/]{0,10}")), this));
}

std::optional<QDate> DateBox::parse(const QString& text) {
    const QString t = text.trimmed();
    QDate date;
    if (t.size() == 8 && !t.contains(QLatin1Char('/')))
        date = QDate::fromString(t, QStringLiteral("ddMMyyyy"));
    else if (t.count(QLatin1Char('/')) == 2 && t.section(QLatin1Char('/'), 2).size() == 4)
        date = QDate::fromString(t, QStringLiteral("d/M/yyyy"));
    // Years before 1900 are typing errors in an accounting archive.
    if (!date.isValid() || date.year() < 1900) return std::nullopt;
    return date;
}

QVariant DateBox::Value() const {
    const std::optional<QDate> date = parse(Text());
    return date ? QVariant(*date) : QVariant();
}

void DateBox::setValue(const QVariant& value) {
    setText(Value::isNull(value) ? QString() : Value::toDate(value).toString(kShown));
}

bool DateBox::acceptInput(QString* problem) {
    const QString text = Text().trimmed();
    if (text.isEmpty()) {
        setValid(true);
        return true;
    }
    const std::optional<QDate> date = parse(text);
    if (!date) {
        setValid(false);
        *problem = QStringLiteral(
                       "La data \"%1\" non è valida.\r\n"
                       "Inserire una data esistente nel formato gg/mm/aaaa.")
                       .arg(text);
        return false;
    }
    setText(date->toString(kShown));
    setValid(true);
    return true;
}
