#pragma once

#include "HostNavigator.h"

#include <QHash>
#include <QPointer>

class QAction;
class QToolBar;
class QWidget;
class VirtualFrame;

// The host's navigator bar: record moves, new, save, delete, undo, the attachment buttons,
// export and close, acting on the frame the attached module has made active. It follows the
// frame's status: moves, delete and the attachments while a stored row is shown; save and undo
// whenever there is something to save; the company change and the script editor while a module
// is attached. Once the module has made a frame active, the bar also
// follows that frame's own status changes (a new Bill started, a save, a move from the form).
// It acts only while the module's window is the one in front: with another window in front
// (the list of Bills) every button is off and its key goes to that window.
class HostToolbar : public HostNavigator {
    Q_OBJECT
public:
    // Codes of the attachment buttons, as the attachment store knows them.
    enum AttachmentButton {
        AttachNew = 11,
        AttachOpen = 12,
        AttachDelete = 13,
        AttachScan = 15,
        AttachList = 16,
        AttachMail = 17,
        AttachProperties = 25
    };

    explicit HostToolbar(QWidget* parent);

    void AttachModule(Cinterface* module) override;
    void SetButtonsStatus(int frameStatus) override;
    void RefreshButtons() override;

    // Whether the attached module's window is the one in front.
    void setModuleInFront(bool inFront);
    bool moduleInFront() const { return inFront_; }

    QToolBar* toolBar() const { return bar_; }
    QAction* action(const QString& key) const { return actions_.value(key); }
    Cinterface* module() const { return module_; }
    // What a press of the button does (also what a script calls).
    void press(const QString& key);

signals:
    void closeRequested();
    void exportRequested();
    void scriptRequested();
    // A company change that the active module let go on.
    void companyChangeRequested();

private:
    QAction* add(const QString& key, const QString& text, const QKeySequence& shortcut, const QString& tip);
    void follow(VirtualFrame* frame);

    QToolBar* bar_;
    QHash<QString, QAction*> actions_;
    Cinterface* module_ = nullptr;
    int status_ = -1;
    bool inFront_ = true;
    QPointer<VirtualFrame> followed_;
    QMetaObject::Connection following_;
};
