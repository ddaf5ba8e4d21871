#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `inside` on the modal window of type T that `open` shows, from within the window's own
// event loop, then closes the window unless told otherwise (or `inside` closed it). True when such
// a window came up.
template <typename T>
bool onModal(const std::function<void()>& open, const std::function<void(T&)>& inside, bool close = true) {
    bool reached = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window) return;
        reached = true;
        inside(*window);
        if (close && window->isVisible()) window->close();
    });
    open();
    return reached;
}
