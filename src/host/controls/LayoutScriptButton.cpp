#include "LayoutScriptButton.h"

LayoutScriptButton::LayoutScriptButton(QWidget* parent) : NavigatorBar(parent) {
    addButton(QStringLiteral("Script"), QStringLiteral("Script"));
}
