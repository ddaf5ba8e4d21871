#pragma once

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <memory>

class LogService;
class QKeyEvent;
class QHBoxLayout;
class VirtualFrame;

// What every data control of a form shares: the entry and exit events, the bound column of its
// virtual frame, the enabled / input-accepting / tab-stop states and the valid mark.
//
// The control wraps one Qt editor (a line edit, a combo, a check box). When the user enters it,
// BeforeItem then GotFocus are raised. When the user leaves it: the kind's own input check (a
// malformed number or date is refused with a message), Validate(cancel) (cancel keeps the
// focus), the value written into the bound column of the frame's current row, then AfterItem and
// LostFocus. A refused exit puts the focus back and keeps what the user typed.
class FrameControl : public QWidget {
    Q_OBJECT
    // What a user's script reads of the field.
    Q_PROPERTY(QString Text READ Text)
public:
    explicit FrameControl(QWidget* parent = nullptr);
    ~FrameControl() override;

    // The value in the form the bound column takes (Null when empty) and its shown text.
    virtual QVariant Value() const = 0;
    // Shows a value; raises no entry or exit event.
    virtual void setValue(const QVariant& value) = 0;
    virtual QString Text() const = 0;
    virtual void setText(const QString& text) = 0;

    const QString& DataField() const { return dataField_; }
    void setDataField(const QString& column) { dataField_ = column; }

    // False: the user can look and move through, but not change the value.
    bool AcceptsInput() const { return acceptsInput_; }
    virtual void setAcceptsInput(bool on);
    // The second Boolean the forms set together with the enabled state: whether Tab stops here.
    bool TabStop() const { return tabStop_; }
    void setTabStop(bool on);

    // Set when the control holds a decoded or well-formed value; a value that is not shows on a
    // tinted background, so that the clerk sees it on leaving the field.
    bool Valid() const { return valid_; }
    void setValid(bool on);

    VirtualFrame* frame() const;
    // Set by VirtualFrame::AddControl.
    void setFrame(VirtualFrame* frame);

    // Where messages about bad input go: the control's own service, else its frame's; one of
    // them is required (without, the program stops with a fatal message naming the control).
    void setLogService(std::shared_ptr<LogService> log) { log_ = std::move(log); }
    LogService& logService() const;

    QWidget* editor() const { return editor_; }
    // True between the user entering the control and leaving it.
    bool isEntered() const { return entered_; }
    // For a save asked while the user is still in the control (the toolbar, F10): runs the exit
    // checks and stores the value as leaving would; a control that keeps the focus is entered
    // again. False when the value was refused (the message has been shown).
    bool commitEntry();

signals:
    void BeforeItem();
    void GotFocus();
    void Validate(bool* cancel);
    void AfterItem();
    void LostFocus();
    // Windows key code (13 Enter, 112 F1...) and shift state (1 Shift, 2 Ctrl, 4 Alt).
    void KeyDown(int keyCode, int shift);

protected:
    // The subclass hands over its editor, which is laid out in `row` (the subclass may add to it).
    void setEditor(QWidget* editor);
    QHBoxLayout* row() const { return row_; }

    // The kind's own check of what was typed, run first on exit; may normalise the text.
    // Answers false with a message for the user when the input cannot be accepted.
    virtual bool acceptInput(QString* problem);
    // Run after Validate, before the value is stored: e.g. the decode of a code.
    virtual void completeEntry() {}
    // Run once the value is stored, before AfterItem: the kind shows it in its own form. A value
    // refused keeps the text as the user typed it.
    virtual void entryAccepted() {}
    // A key press the kind handles itself (after KeyDown); true when consumed.
    virtual bool handleKey(int qtKey, Qt::KeyboardModifiers modifiers);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enter();
    bool leave();
    void keepFocus();
    static bool isInputEvent(const QEvent* event);
    static bool isWindowCommand(const QKeyEvent* key);

    QHBoxLayout* row_;
    QWidget* editor_ = nullptr;
    QString dataField_;
    bool acceptsInput_ = true;
    bool tabStop_ = true;
    bool valid_ = true;
    bool entered_ = false;
    bool leaving_ = false;
    QPointer<VirtualFrame> frame_;
    std::shared_ptr<LogService> log_;
};
