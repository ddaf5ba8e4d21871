#pragma once

#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QPushButton;
class VirtualFrame;

// A bar of buttons, each known by its key. Pressing one raises ButtonClick(key, cancel); unless
// the handler cancels, the bar performs the button's own action on its frame, and when that
// succeeds raises AfterButtonClick(key).
class NavigatorBar : public QWidget {
    Q_OBJECT
public:
    explicit NavigatorBar(QWidget* parent = nullptr);

    void setFrame(VirtualFrame* frame);
    VirtualFrame* frame() const;

    QPushButton* button(const QString& key) const;
    // The caption a form gives a button, with its access key ("Con&ferma").
    void setCaption(const QString& key, const QString& caption);
    // What a press of the button does (also what the driver calls).
    void press(const QString& key);
    // A further button, of the form's own: its press raises ButtonClick like the others.
    void addButton(const QString& key, const QString& caption);

signals:
    void ButtonClick(const QString& key, bool* cancel);
    void AfterButtonClick(const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The button's own action; false when it did not happen. Buttons without one succeed.
    virtual bool perform(const QString& key);

private:
    QHBoxLayout* layout_;
    QPointer<VirtualFrame> frame_;
};
