#include "MainNavigator.h"

#include "VirtualFrame.h"

MainNavigator::MainNavigator(QWidget* parent) : NavigatorBar(parent) {
    addButton(QStringLiteral("Primo"), QStringLiteral("|<"));
    addButton(QStringLiteral("Precedente"), QStringLiteral("<"));
    addButton(QStringLiteral("Successivo"), QStringLiteral(">"));
    addButton(QStringLiteral("Ultimo"), QStringLiteral(">|"));
    addButton(QStringLiteral("Nuovo"), QStringLiteral("Nuovo"));
    addButton(QStringLiteral("Salva"), QStringLiteral("Salva"));
    addButton(QStringLiteral("Annulla"), QStringLiteral("Annulla"));
    addButton(QStringLiteral("Elimina"), QStringLiteral("Elimina"));
    addButton(QStringLiteral("Indietro"), QStringLiteral("Indietro"));
    addButton(QStringLiteral("Avanti"), QStringLiteral("Avanti"));
}

bool MainNavigator::perform(const QString& key) {
    VirtualFrame* f = frame();
    if (!f) return true;
    if (key == QStringLiteral("Primo")) return f->MoveFirst();
    if (key == QStringLiteral("Precedente")) return f->MovePrevious();
    if (key == QStringLiteral("Successivo")) return f->MoveNext();
    if (key == QStringLiteral("Ultimo")) return f->MoveLast();
    if (key == QStringLiteral("Salva")) return f->UpdateRecord(true, false);
    if (key == QStringLiteral("Annulla")) return f->Undo();
    return NavigatorBar::perform(key);
}
