#pragma once

#include "ChildFormHandOver.h"
#include "ErrorReport.h"
#include "TabOrder.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>

class ComboBox;
class FrameControl;
class GridNavigator;
class UserLayoutHolder;
class VirtualFrame;

// What the history movement form and the reminder form share: a modal form over one row of a
// grid tab's recordset, which the bill form hands over with the Bill's key. The form opens on the
// grid's row or on a new one, numbers a new row after the highest progressive, keeps every
// change pending in the recordset for the Bill's save, gives up a row not confirmed when it
// closes, and closes with Esc, the window's button or Ctrl+F4. It takes the user's layout (its
// window's place and size) when first shown and keeps it when it goes, and tells the user's
// script "tsOpen" and "tsClose"; the script or the host's navigator may keep it open.
class ChildRowForm : public QDialog, public ErrorReport {
    Q_OBJECT
public:
    // Whether the form changed anything: read by the bill form after the form has closed.
    bool changed() const { return changed_; }
    // ErrorReport: the error through the message service handed over.
    void MostraErrore(const SuiteError& error) override;
    // The progressive of a new row: the highest of the recordset plus one.
    qint32 CalcolaNuovoProgressivo();

    FrameControl* control(const QString& name) const { return controls_.value(name); }
    ComboBox* combo(const QString& name) const;

protected:
    // What tells one child form from the other.
    struct Shape {
        QString place;                 // where the form's errors are reported from
        const char* prefix;            // the child table's column prefix, "EF06_"
        const char* progressive;       // the row's progressive column, "EF06_PROGSTO"
        const char* progressiveField;  // its field, "TXT_PROGSTO"
        const char* identifying;       // the column the frame is told identifies a row
        QString layoutName;            // the form as the user's layout and script know it
        QString scriptStructure;       // the frame as the user's script knows it
    };
    // `handed`: the derived form's hand-over, read once the bill form has handed it.
    ChildRowForm(QWidget* parent, Shape shape, const ChildFormHandOver* handed);
    ~ChildRowForm() override;

    // Called by the derived form's constructor once its frame, navigator and controls exist.
    void wireFrame(VirtualFrame* frame, GridNavigator* navigator);
    // Takes the handed message service into the frame and the controls, and the changed flag.
    void takeHandOver();
    // Binds the frame to the handed recordset and its controls, keeping the grid's row.
    void bindHandedRows();
    // Stands on the grid's row, or starts a new one when asked or when there is none.
    void standOnHandedRow();
    // The new row's Bill key and progressive.
    void fillNewRowKey();
    // A row not confirmed is given up; a stored row's unconfirmed changes are undone.
    void giveUpUnconfirmed();
    // After "Nuovo", or an "Elimina" that left the form adding: the progressive takes the focus.
    void focusProgressiveAfter(const QString& button);
    // At the first activation: the user's layout applied, the script built and told "tsOpen".
    void openUserLayout();
    void setColumn(const char* column, const QVariant& value);
    QString columnText(const char* column) const;
    qint32 company() const;

    virtual void Form_load() = 0;
    virtual void Form_Activate() = 0;
    // The script's "tsClose" and the host's navigator may refuse the closing; when neither
    // does, what was not confirmed is given up and the layout kept.
    void Form_QueryUnload(bool& cancel);
    void Form_KeyDown(int keyCode, int shift);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

    QHash<QString, FrameControl*> controls_;
    QList<FrameControl*> order_;  // the controls in the order they are attached to the frame
    TabOrder tabOrder_;           // Tab through the fields as laid out, then the buttons
    bool changed_ = false;

private:
    // The user's layout and script of the form: a holder of its own, so that the bill form's
    // structures in the host's holder stay the bill form's.
    UserLayoutHolder* userLayout();
    QVariant raiseScript(bool open);

    Shape shape_;
    std::unique_ptr<UserLayoutHolder> layout_;
    const ChildFormHandOver* handed_;
    VirtualFrame* frame_ = nullptr;
    GridNavigator* navigator_ = nullptr;
    int bookmark_ = -1;
    bool unloaded_ = false;
};
