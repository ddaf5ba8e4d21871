#pragma once

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

// A shown, active top-level window to put controls in, so that focus and keyboard input behave
// as they do for a person.
class TestForm : public QWidget {
public:
    TestForm() : layout_(new QVBoxLayout(this)) {}

    template <class W>
    W* add(W* widget) {
        layout_->addWidget(widget);
        // Added to an open window: show it now rather than at the next event loop turn.
        if (isVisible()) {
            widget->show();
            layout_->activate();
        }
        return widget;
    }

    // Shows the window and makes it active; false when the platform refuses.
    bool open() {
        show();
        QApplication::setActiveWindow(this);
        return QTest::qWaitForWindowActive(this);
    }

private:
    QVBoxLayout* layout_;
};
