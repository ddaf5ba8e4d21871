#pragma once

#include <QIcon>
#include <QString>
#include <memory>

class CLSKV_TARSELLO;
class Cinterface;
class Connection;
class LayoutScriptHolder;
class LogService;
class OfficeExport;
class QWidget;

// What the module class needs of the form it shows.
class ModuleForm {
public:
    virtual ~ModuleForm() = default;

    virtual void setActiveInterface(Cinterface* module) = 0;
    // Emptied by the form when it unloads: that is how the module class knows it closed.
    virtual Cinterface* ActiveInterface() const = 0;
    virtual void setActiveClass(CLSKV_TARSELLO* module) = 0;
    virtual void setFormWindowState(int state) = 0;
    virtual void setFormCaption(const QString& caption) = 0;
    virtual void setFormIcon(const QIcon& icon) = 0;
    // Modal: returns when the form has closed.
    virtual void showForm(bool modal) = 0;
    // Asks the form to unload; it may refuse (unsaved changes kept).
    virtual void unloadForm() = 0;
    // The form's own window.
    virtual QWidget* formWindow() = 0;
    // The connection the form opened at load.
    virtual std::shared_ptr<Connection> formConnection() const = 0;

    // What the host's navigator events need of the form; a form without them answers nothing.
    // The form's message service (none before it loads).
    virtual std::shared_ptr<LogService> formLogService() const { return nullptr; }
    // False while the form is not the module's main activity.
    virtual bool formMainActive() const { return false; }
    // Writes the record shown and its tabs into the host's export object.
    virtual void exportToOffice(OfficeExport& /*exportObject*/) {}
    // The attachment id of the record in focus (empty when it has none or no row is current).
    virtual QString mediaIdInFocus() const { return {}; }
    // Stores a new attachment id on the record in focus, to be saved with it; false when no row
    // is current.
    virtual bool storeMediaIdInFocus(const QString& /*mediaId*/) { return false; }
    // Inside the attachment store's transaction: holds the record in focus and answers its media
    // id as stored, writing `newId` there when it has none (MediaContext::holdRecord).
    virtual QString holdMediaRecord(const QString& /*newId*/) { return {}; }
    // The form's objects offered to the user's layout and to the user's script.
    virtual void registerLayoutObjects(LayoutScriptHolder& /*layout*/) {}
    virtual void registerScriptObjects(LayoutScriptHolder& /*script*/) {}
};
