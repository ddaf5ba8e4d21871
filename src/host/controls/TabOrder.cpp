#include "TabOrder.h"

#include "FrameControl.h"

#include <QApplication>

void TabOrder::setWidgets(const QList<QWidget*>& widgets) {
    widgets_.clear();
    for (QWidget* w : widgets) {
        auto* control = qobject_cast<FrameControl*>(w);
        widgets_.append(control && control->editor() ? control->editor() : w);
    }
}

bool TabOrder::move(bool next) const {
    QWidget* focus = QApplication::focusWidget();
    const qsizetype at = focus ? widgets_.indexOf(focus) : -1;
    if (at < 0) return false;
    const qsizetype n = widgets_.size();
    for (qsizetype step = 1; step < n; ++step) {
        QWidget* w = widgets_.at(((next ? at + step : at - step) % n + n) % n);
        if (w && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}
