#include "ScrollPage.h"

#include <QApplication>

ScrollPage::ScrollPage(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setObjectName(content->objectName().isEmpty() ? QString()
                                                  : content->objectName() + QStringLiteral("_SCROLL"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
    // The page's own background, not the scroll area's.
    viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && widget() && widget()->isAncestorOf(now)) ensureWidgetVisible(now, 8, 8);
    });
}
