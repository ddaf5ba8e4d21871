#pragma once

#include "FrameControl.h"

class QLineEdit;
class QMenu;
class QToolButton;

// A text edit box. Its value is the text, Null when empty. It may carry a key-button menu: the
// form adds items of caption and key, and choosing one raises KeyButtonMenuPress(key).
class EditBox : public FrameControl {
    Q_OBJECT
public:
    explicit EditBox(QWidget* parent = nullptr);

    QVariant Value() const override;
    void setValue(const QVariant& value) override;
    QString Text() const override;
    void setText(const QString& text) override;

    // The most UTF-16 units the box takes (a text column's length). What is typed or pasted
    // beyond is cut where a character ends, never inside one.
    int MaxLength() const;
    void setMaxLength(int length);
    // `text`, a change of `before`, with what the change put past `maxLength` taken back and
    // the rest around it kept; `cursor` receives where the change ends.
    static QString keptWithin(const QString& before, const QString& text, int maxLength, int* cursor);
    void setAcceptsInput(bool on) override;

    void AddKeyButtonItem(const QString& caption, const QString& key, bool enabled = true);
    void ClearKeyButtonItems();
    QToolButton* keyButton() const { return keyButton_; }
    QMenu* keyButtonMenu() const { return menu_; }

    QLineEdit* lineEdit() const { return edit_; }

signals:
    void KeyButtonMenuPress(const QString& key);

private:
    // Takes back what a change put past the length, keeping the text around it.
    void keepWithinLength(const QString& text);

    QLineEdit* edit_;
    int maxLength_ = 0;  // 0: the line edit's own limit
    QString lastText_;   // the text before the last change
    QToolButton* keyButton_;
    QMenu* menu_;
};
