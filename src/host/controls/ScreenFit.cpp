#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace ScreenFit {

QSize bounded(const QWidget* window, QSize preferred) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return preferred;
    // The window's frame (title bar, borders) takes its part of the room as well; before the
    // window is first shown its size is not known yet, and a title bar's is assumed.
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    if (frame.isEmpty()) {
        const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
        frame = QSize(2 * border,
                      window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) + border);
    }
    return preferred.boundedTo(screen->availableGeometry().size() - frame);
}

}  // namespace ScreenFit
