#include "GuiLogService.h"

#include <QMessageBox>
#include <QPushButton>

int GuiLogService::MsgBox(const QString& message, int flags, const QString& title) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setText(message);
    switch (flags & 0x70) {
        case kCritical:
            box.setIcon(QMessageBox::Critical);
            break;
        case kQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case kExclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case kInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    QList<Choice> choices;
    switch (flags & 7) {
        case kYesNoCancel:
            choices = {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}, {QMessageBox::Cancel, kCancel}};
            break;
        case kYesNo:
            choices = {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}};
            break;
        default:
            choices = {{QMessageBox::Ok, kOk}};
            break;
    }
    for (const Choice& c : choices) {
        QPushButton* b = box.addButton(c.button);
        if (c.answer == defaultAnswer(flags)) box.setDefaultButton(b);
    }
    // Closing the window is the cancel of a Yes/No/Cancel box, otherwise the default answer.
    box.exec();
    for (const Choice& c : choices)
        if (box.clickedButton() == box.button(c.button)) return c.answer;
    return (flags & 7) == kYesNoCancel ? kCancel : defaultAnswer(flags);
}
