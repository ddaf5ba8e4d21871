#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

class QWidget;

// A user's script attached to a program's form: closed before it is built again, and told of the
// form's events.
class ScriptObject {
public:
    virtual ~ScriptObject() = default;
    virtual void Close(const QVariant& context) = 0;
    // "tsOpen" (open true) when the form is first shown, "tsClose" (false) when it is asked to go.
    virtual QVariant RaiseFormEvent(bool open, const QVariantList& arguments) = 0;
};

// A user's layout of a program's windows, as applied to the form.
class LayoutObject {
public:
    virtual ~LayoutObject() = default;
    virtual void Close() = 0;
};

// What the host keeps, per active program, of the user's layout and script.
class LayoutScriptHolder {
public:
    virtual ~LayoutScriptHolder() = default;

    // The structures of the form the layout applies to: the form and its grids, by name.
    virtual void AddStructure(const QString& name, QWidget* widget) = 0;
    // The names declared so far, in order.
    virtual QStringList StructureNames() const { return {}; }

    virtual std::shared_ptr<LayoutObject> CurrentLayout() const = 0;
    virtual void ClearLayout() = 0;
    virtual void ApplyLayout() = 0;
    // Keeps the layout of the structures as the user leaves them (when the form goes).
    virtual void SaveLayout() = 0;

    virtual std::shared_ptr<ScriptObject> CurrentScript() const = 0;
    virtual void ClearScript() = 0;
    virtual void BuildScript() = 0;

    // The user's script text of the program, as the script editor shows and keeps it. A holder
    // without scripts keeps none.
    virtual QString ScriptText() const { return {}; }
    virtual void SaveScript(const QString& /*text*/) {}
};
