#include "ComboBox.h"

#include "Value.h"

#include <QComboBox>

ComboBox::ComboBox(QWidget* parent) : FrameControl(parent), combo_(new QComboBox(this)) {
    setEditor(combo_);
    connect(combo_, &QComboBox::currentIndexChanged, this, [this] {
        if (!programmatic_) emit ChangeRow();
    });
}

void ComboBox::Clear() {
    programmatic_ = true;
    combo_->clear();
    programmatic_ = false;
}

void ComboBox::AddItem(const QString& description, const QVariant& code) {
    int at = combo_->count();
    if (sorted_)
        for (at = 0; at < combo_->count(); ++at)
            if (QString::localeAwareCompare(combo_->itemText(at), description) > 0) break;
    programmatic_ = true;
    combo_->insertItem(at, description, code);
    // A new list starts with nothing selected until the form picks a row.
    if (combo_->count() == 1) combo_->setCurrentIndex(-1);
    programmatic_ = false;
}

int ComboBox::ListCount() const {
    return combo_->count();
}

int ComboBox::ListIndex() const {
    return combo_->currentIndex();
}

void ComboBox::setListIndex(int index) {
    programmatic_ = true;
    combo_->setCurrentIndex(index);
    programmatic_ = false;
}

QVariant ComboBox::Value() const {
    if (combo_->currentIndex() < 0) return QVariant();
    QVariant code = combo_->currentData();
    if (!Value::isNull(nullCode_) && Value::compare(code, nullCode_) == 0) return QVariant();
    return code;
}

void ComboBox::setValue(const QVariant& value) {
    int found = -1;
    const QVariant code =
        Value::isNull(value) || Value::toText(value).trimmed().isEmpty() ? nullCode_ : value;
    if (!Value::isNull(code))
        for (int i = 0; i < combo_->count() && found < 0; ++i)
            if (Value::compare(combo_->itemData(i), code) == 0) found = i;
    setListIndex(found);
}

QString ComboBox::Text() const {
    return combo_->currentText();
}

void ComboBox::setText(const QString& description) {
    setListIndex(combo_->findText(description));
}
