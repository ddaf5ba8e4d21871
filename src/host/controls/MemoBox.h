#pragma once

#include "FrameControl.h"

class QPlainTextEdit;

// A multi-line text box (notes). Enter moves on as in every field, Shift+Enter starts a new
// line, Tab leaves the box. Its value is the text with its line breaks, Null when empty; it
// takes no more than its column's length, cut where a character ends.
class MemoBox : public FrameControl {
    Q_OBJECT
public:
    explicit MemoBox(QWidget* parent = nullptr);

    QVariant Value() const override;
    void setValue(const QVariant& value) override;
    QString Text() const override;
    void setText(const QString& text) override;
    int MaxLength() const { return maxLength_; }
    void setMaxLength(int length);
    void setAcceptsInput(bool on) override;
    // How many lines the box shows.
    void setVisibleLines(int lines);

    QPlainTextEdit* textEdit() const { return edit_; }

protected:
    bool handleKey(int qtKey, Qt::KeyboardModifiers modifiers) override;

private:
    void keepWithinLength();

    QPlainTextEdit* edit_;
    int maxLength_ = 0;  // 0: no limit
    QString lastText_;
};
