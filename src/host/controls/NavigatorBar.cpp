#include "NavigatorBar.h"

#include "VirtualFrame.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>

NavigatorBar::NavigatorBar(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->addStretch(1);
}

void NavigatorBar::addButton(const QString& key, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(key);
    layout_->insertWidget(layout_->count() - 1, b);
    b->installEventFilter(this);
    connect(b, &QPushButton::clicked, this, [this, b, key] {
        // A field that refused to let the focus go (bad input, Validate cancelled) also stops
        // the click that tried to take it.
        if (!b->hasFocus()) return;
        press(key);
    });
}

bool NavigatorBar::eventFilter(QObject* watched, QEvent* event) {
    // An access key clicks without taking the focus: the button takes it first, as a mouse
    // click would, so that the field being left checks what was typed.
    if (event->type() == QEvent::Shortcut)
        if (auto* b = qobject_cast<QPushButton*>(watched)) b->setFocus(Qt::ShortcutFocusReason);
    return QWidget::eventFilter(watched, event);
}

void NavigatorBar::setCaption(const QString& key, const QString& caption) {
    if (QPushButton* b = button(key)) b->setText(caption);
}

void NavigatorBar::setFrame(VirtualFrame* frame) {
    frame_ = frame;
}

VirtualFrame* NavigatorBar::frame() const {
    return frame_;
}

QPushButton* NavigatorBar::button(const QString& key) const {
    return findChild<QPushButton*>(key);
}

void NavigatorBar::press(const QString& key) {
    bool cancel = false;
    emit ButtonClick(key, &cancel);
    if (!cancel && perform(key)) emit AfterButtonClick(key);
}

bool NavigatorBar::perform(const QString& key) {
    if (!frame_) return true;
    if (key == QStringLiteral("Nuovo")) {
        if (!frame_->ConfirmPending(true, true, true)) return false;
        frame_->setStatus(VirtualFrame::kStatusAdding);
        return frame_->Status() == VirtualFrame::kStatusAdding;
    }
    if (key == QStringLiteral("Elimina")) return frame_->Delete();
    return true;
}
