#include "FrameControl.h"

#include "LogService.h"

#include <cstdlib>
#include "VirtualFrame.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>

namespace {

// The suite's handlers test Windows virtual key codes.
int windowsKeyCode(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return key;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Space:
            return 32;
        default:
            return 0;
    }
}

int shiftState(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

}  // namespace

FrameControl::FrameControl(QWidget* parent) : QWidget(parent), row_(new QHBoxLayout(this)) {
    row_->setContentsMargins(0, 0, 0, 0);
    row_->setSpacing(2);
}

FrameControl::~FrameControl() {
    // The editor outlives this part of the object while QWidget deletes its children.
    if (editor_) editor_->removeEventFilter(this);
}

void FrameControl::setEditor(QWidget* editor) {
    editor_ = editor;
    row_->addWidget(editor, 1);
    setFocusProxy(editor);
    editor->installEventFilter(this);
    setTabStop(tabStop_);
}

VirtualFrame* FrameControl::frame() const {
    return frame_;
}

void FrameControl::setFrame(VirtualFrame* frame) {
    frame_ = frame;
}

void FrameControl::setAcceptsInput(bool on) {
    acceptsInput_ = on;
}

void FrameControl::setValid(bool on) {
    if (valid_ == on) return;
    valid_ = on;
    if (editor_) editor_->setStyleSheet(on ? QString() : QStringLiteral("background-color: #ffd7d7;"));
}

void FrameControl::setTabStop(bool on) {
    tabStop_ = on;
    const Qt::FocusPolicy policy = on ? Qt::StrongFocus : Qt::ClickFocus;
    if (editor_) editor_->setFocusPolicy(policy);
    // A label's access key gives the focus to its buddy only when the buddy itself takes focus;
    // the editor, this control's focus proxy, then receives it.
    setFocusPolicy(policy);
}

LogService& FrameControl::logService() const {
    if (log_) return *log_;
    if (frame_) return frame_->logService();
    qFatal("Control %s has no log service of its own nor a frame's", qPrintable(objectName()));
    std::abort();  // fatal() does not return
}

bool FrameControl::acceptInput(QString*) {
    return true;
}

bool FrameControl::handleKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    // Enter moves on like Tab, the way the suite's clerks fill a form.
    if ((qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) && !(modifiers & Qt::ShiftModifier)) {
        focusNextChild();
        return true;
    }
    return false;
}

bool FrameControl::isWindowCommand(const QKeyEvent* key) {
    // Moving to another record, deleting or undoing it: the window's own commands, which the
    // line edit would otherwise keep for its cursor and its text.
    if (!(key->modifiers() & Qt::ControlModifier)) return false;
    switch (key->key()) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Delete:
        case Qt::Key_Z:
            return true;
        default:
            return false;
    }
}

bool FrameControl::isInputEvent(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
    }
}

bool FrameControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::FocusIn:
            // Also when the window opening gives the focus; a return from a popup or another
            // window finds the control still entered and raises nothing.
            enter();
            break;
        case QEvent::FocusOut: {
            // A popup (the combo's list, a menu) or another window taking over is not an exit.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) leave();
            break;
        }
        case QEvent::ShortcutOverride:
            if (isWindowCommand(static_cast<QKeyEvent*>(event))) {
                event->ignore();
                return true;
            }
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            emit KeyDown(windowsKeyCode(key->key()), shiftState(key->modifiers()));
            if (handleKey(key->key(), key->modifiers())) return true;
            // A control that accepts no input still lets the user move on.
            const bool moves = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (!acceptsInput_ && !moves) return true;
            break;
        }
        default:
            if (!acceptsInput_ && isInputEvent(event)) {
                if (event->type() == QEvent::MouseButtonPress) editor_->setFocus(Qt::MouseFocusReason);
                return true;
            }
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void FrameControl::enter() {
    if (entered_) return;  // focus coming back after a refused exit
    entered_ = true;
    emit BeforeItem();
    emit GotFocus();
}

bool FrameControl::leave() {
    if (!entered_ || leaving_) return true;
    leaving_ = true;
    QString problem;
    bool ok = acceptInput(&problem);
    if (!ok) logService().MsgBox(problem, LogService::kExclamation, QStringLiteral("Controllo dati"));
    if (ok) {
        bool cancel = false;
        emit Validate(&cancel);
        ok = !cancel;
    }
    if (ok) {
        completeEntry();
        ok = !frame_ || frame_->storeValue(*this);
    }
    leaving_ = false;
    if (!ok) {
        keepFocus();
        return false;
    }
    entryAccepted();
    entered_ = false;
    emit AfterItem();
    emit LostFocus();
    return true;
}

bool FrameControl::commitEntry() {
    if (!entered_) return true;
    const bool focused = editor_ && editor_->hasFocus();
    if (!leave()) return false;
    if (focused) enter();
    return true;
}

void FrameControl::keepFocus() {
    if (editor_ && editor_->isVisible()) editor_->setFocus(Qt::OtherFocusReason);
}
