#include "EditBox.h"

#include "Value.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

EditBox::EditBox(QWidget* parent)
    : FrameControl(parent),
      edit_(new QLineEdit(this)),
      keyButton_(new QToolButton(this)),
      menu_(new QMenu(this)) {
    setEditor(edit_);
    keyButton_->setText(QStringLiteral("\u25BE"));
    keyButton_->setMenu(menu_);
    keyButton_->setPopupMode(QToolButton::InstantPopup);
    // The button must not take the focus away from the field it belongs to.
    keyButton_->setFocusPolicy(Qt::NoFocus);
    keyButton_->hide();
    row()->addWidget(keyButton_);
}

QVariant EditBox::Value() const {
    const QString text = edit_->text();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

void EditBox::setValue(const QVariant& value) {
    setText(Value::isNull(value) ? QString() : Value::toText(value));
}

QString EditBox::Text() const {
    return edit_->text();
}

void EditBox::setText(const QString& text) {
    edit_->setText(text);
    // A long text shown by the program is read from its start.
    if (!edit_->hasFocus()) edit_->setCursorPosition(0);
}

int EditBox::MaxLength() const {
    return edit_->maxLength();
}

void EditBox::setMaxLength(int length) {
    edit_->setMaxLength(length > 0 ? length : 32767);
}

void EditBox::setAcceptsInput(bool on) {
    FrameControl::setAcceptsInput(on);
    edit_->setReadOnly(!on);
}

void EditBox::AddKeyButtonItem(const QString& caption, const QString& key, bool enabled) {
    QAction* action = menu_->addAction(caption);
    action->setData(key);
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, [this, key] { emit KeyButtonMenuPress(key); });
    keyButton_->show();
}

void EditBox::ClearKeyButtonItems() {
    menu_->clear();
    keyButton_->hide();
}
