#include "CheckBox.h"

#include "Value.h"

#include <QCheckBox>

CheckBox::CheckBox(const QString& caption, QWidget* parent)
    : FrameControl(parent), check_(new QCheckBox(caption, this)) {
    setEditor(check_);
    connect(check_, &QCheckBox::clicked, this, &CheckBox::Click);
}

QVariant CheckBox::Value() const {
    return Text();
}

void CheckBox::setValue(const QVariant& value) {
    setText(Value::isNull(value) ? QStringLiteral("0") : Value::toText(value));
}

QString CheckBox::Text() const {
    return check_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

void CheckBox::setText(const QString& value) {
    check_->setChecked(value.trimmed() == QStringLiteral("1"));
}
