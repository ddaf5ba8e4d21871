#include "RowKeyBox.h"

#include <QLineEdit>

RowKeyBox::RowKeyBox(QWidget* parent) : EditBox(parent) {
    setAcceptsInput(false);
}

void RowKeyBox::setValue(const QVariant& value) {
    key_ = value;
    // Shown whole: the column's length bounds the identifier, not what is said about it.
    lineEdit()->setText(describe_ ? describe_(value) : QString());
    lineEdit()->setCursorPosition(0);
}
