#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What a person does with attachments: picks a file to attach, picks one of a record's
// attachments, looks at a file. The dialogs on screen for a person; a scripted one under the
// automation driver and in tests.
class AttachmentDesk {
public:
    virtual ~AttachmentDesk() = default;
    // The path of the file chosen; empty when the person gives up.
    virtual QString chooseFile(QWidget* parent) = 0;
    // The index of the attachment chosen among `names`; -1 when the person gives up.
    virtual int chooseAttachment(QWidget* parent, const QStringList& names) = 0;
    // Shows the file with the program the system has for it; false when none can.
    virtual bool openFile(const QString& path) = 0;
};

// The desk of a person at the screen: file and list dialogs, the system's viewer.
class GuiAttachmentDesk : public AttachmentDesk {
public:
    QString chooseFile(QWidget* parent) override;
    int chooseAttachment(QWidget* parent, const QStringList& names) override;
    bool openFile(const QString& path) override;
};

// The desk of a script: files handed over in advance, the first attachment chosen unless told
// otherwise, files "opened" only recorded.
class ScriptedAttachmentDesk : public AttachmentDesk {
public:
    QStringList files;   // taken one by one by chooseFile
    int choice = 0;      // what chooseAttachment answers (when in range)
    QStringList opened;  // every file openFile was given

    QString chooseFile(QWidget*) override { return files.isEmpty() ? QString() : files.takeFirst(); }
    int chooseAttachment(QWidget*, const QStringList& names) override {
        return choice >= 0 && choice < names.size() ? choice : -1;
    }
    bool openFile(const QString& path) override {
        opened.append(path);
        return true;
    }
};
