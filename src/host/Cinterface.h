#pragma once

#include <QObject>
#include <QVariant>
#include <memory>

class Connection;
class HostGlobal;
class HostNavigator;
struct MenuEntry;

// The host's module interface: every module the host opens implements it, and the forms reach
// the host through it. Members in the host's order; "stored" members only keep what they are
// given. Members that take a Long and store an Integer narrow to 16 bits; Top and Left take any
// value and keep it as a 32-bit integer.
//
// A module is a QObject: what a caller hands over to one module in particular (the Bills to show,
// the archive, ...) are that module's Qt properties, set by name with setProperty on the object
// the plugin registry created. The host and the caller never see the module's own class.
class Cinterface : public QObject {
    Q_OBJECT
public:
    explicit Cinterface(QObject* parent = nullptr) : QObject(parent) {}
    ~Cinterface() override = default;

    virtual void setClsGlobal(std::shared_ptr<HostGlobal> global) = 0;
    virtual std::shared_ptr<HostGlobal> ClsGlobal() const = 0;
    virtual void setActiveFrame(QObject* frame) = 0;  // the virtual frame in use, or nullptr
    virtual QObject* ActiveFrame() const = 0;
    virtual void setActiveNavigator(HostNavigator* navigator) = 0;
    virtual HostNavigator* ActiveNavigator() const = 0;
    virtual void setActiveDll(Cinterface* dll) = 0;
    virtual Cinterface* ActiveDll() const = 0;
    virtual void setStatusBar(QObject* statusBar) = 0;
    virtual QObject* StatusBar() const = 0;
    virtual void setCanInsert(bool value) = 0;
    virtual bool CanInsert() const = 0;
    virtual void setCanDelete(bool value) = 0;
    virtual bool CanDelete() const = 0;
    virtual void setCanUpdate(bool value) = 0;
    virtual bool CanUpdate() const = 0;
    virtual void setCanQbe(bool value) = 0;
    virtual bool CanQbe() const = 0;
    virtual void setWindowState(qint32 value) = 0;
    virtual qint32 WindowState() const = 0;
    virtual void setWindowModal(bool value) = 0;
    virtual bool WindowModal() const = 0;
    virtual void setProgramMode(qint32 value) = 0;
    virtual qint32 ProgramMode() const = 0;
    virtual void setMenuModulo(const QVariant& value) = 0;
    virtual QVariant MenuModulo() const = 0;
    virtual void setMenuPadre(const QVariant& value) = 0;
    virtual QVariant MenuPadre() const = 0;
    virtual void setMenuProg(const QVariant& value) = 0;
    virtual QVariant MenuProg() const = 0;
    virtual void setCaption(const QVariant& value) = 0;
    virtual QVariant Caption() const = 0;
    virtual void sethwndParent(qint32 value) = 0;
    virtual qint32 hwndParent() const = 0;
    // Shows the module's form (modal when WindowModal); answers an empty value.
    virtual QVariant ShowForm() = 0;
    // True when the form really closed; false when it refused (unsaved changes kept).
    virtual QVariant CloseForm() = 0;
    virtual void setConnection(std::shared_ptr<Connection> connection) = 0;
    virtual std::shared_ptr<Connection> GetConnection() const = 0;
    // The window of the form the module shows; nullptr while it shows none.
    virtual QObject* Cwindow() const = 0;
    virtual QVariant TransferData(const QVariant& data) = 0;
    virtual void setTop(const QVariant& value) = 0;
    virtual QVariant Top() const = 0;
    virtual void setLeft(const QVariant& value) = 0;
    virtual QVariant Left() const = 0;
    virtual void setClsVoceMenu(std::shared_ptr<MenuEntry> entry) = 0;
    virtual std::shared_ptr<MenuEntry> ClsVoceMenu() const = 0;
    virtual void setIsActive(bool value) = 0;
    virtual bool IsActive() const = 0;
    virtual void setIsCalled(bool value) = 0;
    virtual bool IsCalled() const = 0;
    virtual void setFiltro(const QVariant& value) = 0;
    virtual QVariant Filtro() const = 0;
};
