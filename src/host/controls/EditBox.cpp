#include "EditBox.h"

#include "Value.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <algorithm>

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
    // The line edit's own limit cuts a character in two (an emoji typed in the last unit); the
    // box keeps the limit itself.
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) { keepWithinLength(text); });
}

QString EditBox::keptWithin(const QString& before, const QString& text, int maxLength, int* cursor) {
    // The part the change replaced: what lies between the text's unchanged start and end.
    qsizetype start = 0;
    while (start < before.size() && start < text.size() && before[start] == text[start]) ++start;
    qsizetype end = 0;
    while (end < before.size() - start && end < text.size() - start &&
           before[before.size() - 1 - end] == text[text.size() - 1 - end])
        ++end;
    const qsizetype kept = before.size() - (before.size() - start - end);
    const QString inserted = ::Value::leftWhole(text.mid(start, text.size() - start - end),
                                                int(std::max<qsizetype>(maxLength - kept, 0)));
    QString limited = ::Value::leftWhole(before.left(start) + inserted + before.right(end), maxLength);
    if (cursor) *cursor = int(std::min(start + inserted.size(), limited.size()));
    return limited;
}

void EditBox::keepWithinLength(const QString& text) {
    if (maxLength_ <= 0 || text.size() <= maxLength_) {
        lastText_ = text;
        return;
    }
    int cursor = 0;
    const QString limited = keptWithin(lastText_, text, maxLength_, &cursor);
    lastText_ = limited;
    edit_->setText(limited);
    edit_->setCursorPosition(cursor);
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
    // The next Bill shown repeats many of the last one's values: each new text costs a layout.
    if (text != edit_->text()) edit_->setText(text);
    // A long text shown by the program is read from its start.
    if (!edit_->hasFocus()) edit_->setCursorPosition(0);
}

int EditBox::MaxLength() const {
    return maxLength_ > 0 ? maxLength_ : edit_->maxLength();
}

void EditBox::setMaxLength(int length) {
    maxLength_ = std::max(length, 0);
    keepWithinLength(edit_->text());
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
