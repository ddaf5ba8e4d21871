#pragma once

#include <QIcon>
#include <QString>
#include <memory>

class CLSKV_TARSELLO;
class Cinterface;
class Connection;
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
};
