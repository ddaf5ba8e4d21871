#pragma once

#include <QObject>

class Cinterface;
class LayoutScriptHolder;
class OfficeExport;

// Through it the host's navigator answers a child form that asks whether it may close: the host
// may keep the form open (a script of the user's refusing, a pending action of its own).
class ChildCloseVeto {
public:
    virtual ~ChildCloseVeto() = default;
    // True: the form must stay open.
    virtual bool refuseClose() = 0;
};

// The host's navigator bar as a module sees it: it follows the active module and the status of
// its active frame, and raises the events the module answers.
class HostNavigator : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void AttachModule(Cinterface* module) = 0;
    virtual void SetButtonsStatus(int frameStatus) = 0;
    virtual void RefreshButtons() = 0;
    // The object that answers a child form's close requests; none when the navigator takes no
    // part in them.
    virtual ChildCloseVeto* CloseVeto() { return nullptr; }

signals:
    void BeforeChangeDitta(bool* cancel);
    void ButtonPressed(int button);
    // The module writes what it shows into the export object.
    void BeforeExportToOffice(OfficeExport* exportObject);
    // The host's layout and script editors ask the module for the objects they offer the user.
    void InitializeLayoutObjectModel(LayoutScriptHolder* layout);
    void InitializeScriptObjectModel(LayoutScriptHolder* script);
};
