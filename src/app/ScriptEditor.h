#pragma once

#include <QDialog>

class LayoutScriptHolder;
class QPlainTextEdit;

// The host's script editor: the user's JavaScript for the active program, with the objects the
// program offers listed beside it. Saving keeps the text; the program takes it up when its
// "Script" button is pressed or when it opens again.
class ScriptEditor : public QDialog {
    Q_OBJECT
public:
    ScriptEditor(LayoutScriptHolder& holder, const QStringList& objects, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return text_; }
    // Keeps the text; false (with the reason shown) when the database refused it.
    bool save();

private:
    LayoutScriptHolder& holder_;
    QPlainTextEdit* text_;
};
