#include "MemoBox.h"

#include "EditBox.h"
#include "Value.h"

#include <QPlainTextEdit>
#include <QTextBlock>

MemoBox::MemoBox(QWidget* parent) : FrameControl(parent), edit_(new QPlainTextEdit(this)) {
    edit_->setTabChangesFocus(true);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setEditor(edit_);
    setVisibleLines(3);
    connect(edit_, &QPlainTextEdit::textChanged, this, [this] { keepWithinLength(); });
}

void MemoBox::setVisibleLines(int lines) {
    const QFontMetrics metrics(edit_->font());
    edit_->setFixedHeight(metrics.lineSpacing() * lines + 2 * (edit_->frameWidth() + 4));
}

void MemoBox::keepWithinLength() {
    const QString text = edit_->toPlainText();
    if (maxLength_ <= 0 || text.size() <= maxLength_) {
        lastText_ = text;
        return;
    }
    int cursor = 0;
    const QString limited = EditBox::keptWithin(lastText_, text, maxLength_, &cursor);
    lastText_ = limited;
    const QSignalBlocker quiet(edit_);
    edit_->setPlainText(limited);
    QTextCursor c = edit_->textCursor();
    c.setPosition(cursor);
    edit_->setTextCursor(c);
}

bool MemoBox::handleKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if ((qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) && (modifiers & Qt::ShiftModifier)) {
        // A plain line break, not the editor's own line separator.
        if (AcceptsInput()) edit_->insertPlainText(QStringLiteral("\n"));
        return true;
    }
    return FrameControl::handleKey(qtKey, modifiers);
}

QVariant MemoBox::Value() const {
    const QString text = edit_->toPlainText();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

void MemoBox::setValue(const QVariant& value) {
    setText(Value::isNull(value) ? QString() : Value::toText(value));
}

QString MemoBox::Text() const {
    return edit_->toPlainText();
}

void MemoBox::setText(const QString& text) {
    // Stored notes may come with Windows line ends; the box shows each line once.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edit_->setPlainText(lines);
    if (!edit_->hasFocus()) edit_->moveCursor(QTextCursor::Start);
}

void MemoBox::setMaxLength(int length) {
    maxLength_ = std::max(length, 0);
    keepWithinLength();
}

void MemoBox::setAcceptsInput(bool on) {
    FrameControl::setAcceptsInput(on);
    edit_->setReadOnly(!on);
}
