#include "HostToolbar.h"

#include "Cinterface.h"
#include "VirtualFrame.h"

#include <QAction>
#include <QMetaMethod>
#include <QStyle>
#include <QToolBar>

HostToolbar::HostToolbar(QWidget* parent)
    : HostNavigator(parent), bar_(new QToolBar(QStringLiteral("Navigatore"), parent)) {
    bar_->setObjectName(QStringLiteral("NavigatoreHost"));
    bar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar_->setMovable(false);
    QStyle* s = parent->style();
    add(QStringLiteral("Primo"), QStringLiteral("Primo"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        QStringLiteral("Primo effetto"))
        ->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    add(QStringLiteral("Precedente"), QStringLiteral("Precedente"), QKeySequence(Qt::CTRL | Qt::Key_PageUp),
        QStringLiteral("Effetto precedente"))
        ->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    add(QStringLiteral("Successivo"), QStringLiteral("Successivo"), QKeySequence(Qt::CTRL | Qt::Key_PageDown),
        QStringLiteral("Effetto successivo"))
        ->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    add(QStringLiteral("Ultimo"), QStringLiteral("Ultimo"), QKeySequence(Qt::CTRL | Qt::Key_End),
        QStringLiteral("Ultimo effetto"))
        ->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
    bar_->addSeparator();
    add(QStringLiteral("Nuovo"), QStringLiteral("Nuovo"), QKeySequence(Qt::CTRL | Qt::Key_N),
        QStringLiteral("Nuovo effetto"))
        ->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    add(QStringLiteral("Salva"), QStringLiteral("Salva"), QKeySequence(Qt::Key_F10),
        QStringLiteral("Salva le modifiche (F10)"))
        ->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    add(QStringLiteral("Elimina"), QStringLiteral("Elimina"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
        QStringLiteral("Elimina l'effetto"))
        ->setIcon(s->standardIcon(QStyle::SP_TrashIcon));
    add(QStringLiteral("Annulla"), QStringLiteral("Annulla"), QKeySequence(Qt::CTRL | Qt::Key_Z),
        QStringLiteral("Annulla le modifiche"))
        ->setIcon(s->standardIcon(QStyle::SP_DialogCancelButton));
    bar_->addSeparator();
    add(QStringLiteral("AllegatoNuovo"), QStringLiteral("Allega"), QKeySequence(),
        QStringLiteral("Nuovo allegato"))
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogNewFolder));
    add(QStringLiteral("AllegatoApri"), QStringLiteral("Allegati"), QKeySequence(),
        QStringLiteral("Apri gli allegati"))
        ->setIcon(s->standardIcon(QStyle::SP_DirOpenIcon));
    bar_->addSeparator();
    add(QStringLiteral("Esporta"), QStringLiteral("Esporta"), QKeySequence(),
        QStringLiteral("Esporta in un documento"))
        ->setIcon(s->standardIcon(QStyle::SP_DriveFDIcon));
    add(QStringLiteral("Script"), QStringLiteral("Script"), QKeySequence(), QStringLiteral("Script utente"))
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    add(QStringLiteral("CambioDitta"), QStringLiteral("Ditta"), QKeySequence(),
        QStringLiteral("Cambia ditta"))
        ->setIcon(s->standardIcon(QStyle::SP_DirHomeIcon));
    add(QStringLiteral("Chiudi"), QStringLiteral("Chiudi"), QKeySequence(Qt::CTRL | Qt::Key_F4),
        QStringLiteral("Chiudi il programma"))
        ->setIcon(s->standardIcon(QStyle::SP_DialogCloseButton));
    SetButtonsStatus(-1);
}

QAction* HostToolbar::add(const QString& key, const QString& text, const QKeySequence& shortcut,
                          const QString& tip) {
    auto* a = bar_->addAction(text);
    a->setObjectName(key);
    a->setToolTip(tip);
    // The keys work while the host's window is active, and only for the module in front of it.
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    connect(a, &QAction::triggered, this, [this, key] { press(key); });
    actions_.insert(key, a);
    return a;
}

void HostToolbar::AttachModule(Cinterface* module) {
    module_ = module;
    RefreshButtons();
}

void HostToolbar::setModuleInFront(bool inFront) {
    inFront_ = inFront;
    RefreshButtons();
}

void HostToolbar::SetButtonsStatus(int frameStatus) {
    status_ = frameStatus;
    RefreshButtons();
}

void HostToolbar::follow(VirtualFrame* frame) {
    if (frame == followed_) return;
    disconnect(following_);
    followed_ = frame;
    if (!frame) return;
    status_ = frame->Status();
    following_ = connect(frame, &VirtualFrame::ChangeStatus, this, &HostToolbar::SetButtonsStatus);
}

void HostToolbar::RefreshButtons() {
    auto* frame = module_ ? qobject_cast<VirtualFrame*>(module_->ActiveFrame()) : nullptr;
    follow(frame);
    if (!inFront_) {
        for (QAction* a : std::as_const(actions_)) a->setEnabled(false);
        return;
    }
    const bool shown = frame && status_ == VirtualFrame::kStatusShown;
    const bool adding = frame && status_ == VirtualFrame::kStatusAdding;
    // What the signed-in user's group may not do is not offered (the database refuses it too).
    const bool canInsert = module_ && module_->CanInsert();
    const bool canSave = module_ && (adding ? canInsert : module_->CanUpdate());
    for (const char* k : {"Primo", "Precedente", "Successivo", "Ultimo"})
        actions_.value(QString::fromLatin1(k))->setEnabled(shown);
    actions_.value(QStringLiteral("Elimina"))->setEnabled(shown && module_->CanDelete());
    actions_.value(QStringLiteral("Nuovo"))->setEnabled(shown && canInsert);
    actions_.value(QStringLiteral("Salva"))->setEnabled((shown || adding) && canSave);
    actions_.value(QStringLiteral("Annulla"))->setEnabled(shown || adding);
    // Attachments and export work only when someone answers them.
    const bool attachments = isSignalConnected(QMetaMethod::fromSignal(&HostNavigator::ButtonPressed));
    actions_.value(QStringLiteral("AllegatoNuovo"))->setEnabled(shown && attachments);
    actions_.value(QStringLiteral("AllegatoApri"))->setEnabled(shown && attachments);
    actions_.value(QStringLiteral("Esporta"))
        ->setEnabled(shown && isSignalConnected(QMetaMethod::fromSignal(&HostToolbar::exportRequested)));
    actions_.value(QStringLiteral("Chiudi"))->setEnabled(module_ != nullptr);
    actions_.value(QStringLiteral("CambioDitta"))->setEnabled(module_ != nullptr);
    actions_.value(QStringLiteral("Script"))
        ->setEnabled(module_ && isSignalConnected(QMetaMethod::fromSignal(&HostToolbar::scriptRequested)));
}

void HostToolbar::press(const QString& key) {
    // A button that is off does nothing however it is pressed (a script, the keyboard).
    if (actions_.contains(key) && !actions_.value(key)->isEnabled()) return;
    if (key == QStringLiteral("Chiudi")) {
        emit closeRequested();
        return;
    }
    if (key == QStringLiteral("Esporta")) {
        emit exportRequested();
        return;
    }
    if (key == QStringLiteral("Script")) {
        emit scriptRequested();
        return;
    }
    if (key == QStringLiteral("CambioDitta")) {
        bool cancel = false;
        emit BeforeChangeDitta(&cancel);
        if (!cancel) emit companyChangeRequested();
        return;
    }
    if (key == QStringLiteral("AllegatoNuovo")) {
        emit ButtonPressed(AttachNew);
        return;
    }
    if (key == QStringLiteral("AllegatoApri")) {
        emit ButtonPressed(AttachOpen);
        return;
    }
    auto* frame = module_ ? qobject_cast<VirtualFrame*>(module_->ActiveFrame()) : nullptr;
    if (!frame) return;
    if (key == QStringLiteral("Primo"))
        frame->MoveFirst();
    else if (key == QStringLiteral("Precedente"))
        frame->MovePrevious();
    else if (key == QStringLiteral("Successivo"))
        frame->MoveNext();
    else if (key == QStringLiteral("Ultimo"))
        frame->MoveLast();
    else if (key == QStringLiteral("Nuovo")) {
        // As the form's own navigator: pending edits are saved (Yes, and only a save that went
        // through starts the new Bill), dropped (No) or kept (Cancel).
        if (frame->ConfirmPending(true, true, true)) frame->setStatus(VirtualFrame::kStatusAdding);
    } else if (key == QStringLiteral("Salva"))
        frame->UpdateRecord(true, false);
    else if (key == QStringLiteral("Elimina"))
        frame->Delete();
    else if (key == QStringLiteral("Annulla"))
        frame->Undo();
    SetButtonsStatus(frame->Status());
}
