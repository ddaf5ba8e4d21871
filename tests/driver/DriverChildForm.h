#pragma once

#include <QDialog>

class EditBox;
class GridNavigator;

// A child form as the module's forms open them: modal, one showing, with a note field and a
// grid navigator whose "Conferma" takes the note and closes the form.
class DriverChildForm : public QDialog {
public:
    DriverChildForm(const QString& note, QWidget* parent);

    QString note() const { return note_; }

private:
    EditBox* noteBox_;
    GridNavigator* navigator_;
    QString note_;
};
