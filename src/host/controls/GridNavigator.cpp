#include "GridNavigator.h"

#include "Recordset.h"
#include "VirtualFrame.h"

#include <QPushButton>

GridNavigator::GridNavigator(QWidget* parent, Moves moves) : NavigatorBar(parent) {
    if (moves == Moves::Rows) {
        const std::pair<const char*, const char*> arrows[] = {
            {"Primo", "|<"}, {"Precedente", "<"}, {"Successivo", ">"}, {"Ultimo", ">|"}};
        for (const auto& [key, caption] : arrows) {
            addButton(QString::fromLatin1(key), QString::fromLatin1(caption));
            button(QString::fromLatin1(key))->setToolTip(QString::fromLatin1(key));
        }
    }
    addButton(QStringLiteral("Nuovo"), QStringLiteral("Nuovo"));
    addButton(QStringLiteral("Apri"), QStringLiteral("Apri"));
    addButton(QStringLiteral("Elimina"), QStringLiteral("Elimina"));
    addButton(QStringLiteral("Conferma"), QStringLiteral("Conferma"));
}

bool GridNavigator::settlePending() {
    VirtualFrame* f = frame();
    bool confirmed = false;
    const bool goOn = f->ConfirmPending(true, false, true, [this, f, &confirmed] {
        confirmed = true;
        press(QStringLiteral("Conferma"));
        return !f->isRecordChanged() && f->Status() != VirtualFrame::kStatusAdding;
    });
    if (!goOn || confirmed || !f->isRecordChanged()) return goOn;
    // No: only what was typed since the row was last confirmed goes; what was confirmed before
    // waits for the Bill's save.
    const std::shared_ptr<Recordset> rs = f->recordset();
    if (f->Status() == VirtualFrame::kStatusAdding || rs->EditMode() != Recordset::EditInProgress)
        return f->Undo();
    rs->CancelUpdate();
    f->setRecordChanged(false);
    f->Refresh();
    return true;
}

bool GridNavigator::perform(const QString& key) {
    VirtualFrame* f = frame();
    if (!f) return NavigatorBar::perform(key);
    if (key == QStringLiteral("Conferma")) return f->UpdateRecord(true, true);
    if (key == QStringLiteral("Nuovo")) {
        if (!settlePending()) return false;
        f->setStatus(VirtualFrame::kStatusAdding);
        return f->Status() == VirtualFrame::kStatusAdding;
    }
    // The frame asks again only when something is still pending: after settlePending nothing is.
    if (key == QStringLiteral("Primo")) return settlePending() && f->MoveFirst();
    if (key == QStringLiteral("Precedente")) return settlePending() && f->MovePrevious();
    if (key == QStringLiteral("Successivo")) return settlePending() && f->MoveNext();
    if (key == QStringLiteral("Ultimo")) return settlePending() && f->MoveLast();
    return NavigatorBar::perform(key);
}
