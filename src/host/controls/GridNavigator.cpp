#include "GridNavigator.h"

#include "VirtualFrame.h"

GridNavigator::GridNavigator(QWidget* parent) : NavigatorBar(parent) {
    addButton(QStringLiteral("Nuovo"), QStringLiteral("Nuovo"));
    addButton(QStringLiteral("Apri"), QStringLiteral("Apri"));
    addButton(QStringLiteral("Elimina"), QStringLiteral("Elimina"));
    addButton(QStringLiteral("Conferma"), QStringLiteral("Conferma"));
}

bool GridNavigator::perform(const QString& key) {
    if (frame() && key == QStringLiteral("Conferma")) return frame()->UpdateRecord(true, true);
    return NavigatorBar::perform(key);
}
