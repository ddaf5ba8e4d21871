#include "TabControl.h"

TabControl::TabControl(QWidget* parent) : QTabWidget(parent) {
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        const int left = previous_;
        previous_ = index;
        emit Click(left);
    });
}
