#pragma once

#include <QSize>

class QWidget;

namespace ScreenFit {

// The size a window takes to open at `preferred` without leaving the screen it opens on (a
// laptop's, say): never larger than the room the desktop leaves on that screen.
QSize bounded(const QWidget* window, QSize preferred);

}  // namespace ScreenFit
