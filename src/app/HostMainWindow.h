#pragma once

#include "BillFilter.h"
#include "ProgramRights.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>

class CallingProgram;
class Cinterface;
class Connection;
class DatabaseHost;
class HostToolbar;
class PluginRegistry;
class QMdiArea;
class UserLayoutHolder;

// The host application's main window: the host's navigator bar above, and below it, one in
// front of the other as tabs, the calling program and the module it opens (created by program
// id through the plugin registry). The bar acts on the module only while the module's tab is
// in front. The window's size and the list's columns are kept per user.
class HostMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The bill module, by the program id its plugin answers to.
    static constexpr const char* kProgId = KVUO_TARSELLO_PROGID;

    HostMainWindow(std::shared_ptr<DatabaseHost> host, std::shared_ptr<Connection> connection,
                   std::shared_ptr<PluginRegistry> registry, QWidget* parent = nullptr);
    ~HostMainWindow() override;

    CallingProgram* callingProgram() const { return calling_; }
    QMdiArea* windows() const { return area_; }
    QMdiSubWindow* listWindow() const { return listWindow_; }
    // The module's tab; nullptr while no module is open.
    QMdiSubWindow* moduleWindow() const { return moduleWindow_; }
    HostToolbar* navigator() const { return navigator_; }
    Cinterface* module() const { return module_.get(); }
    // The signed-in user's connection and company.
    std::shared_ptr<Connection> connection() const { return connection_; }
    qint32 company() const;

    // The signed-in user's rights in the bill module, handed to it as it opens.
    void setRights(const ProgramRights& rights) { rights_ = rights; }
    // The users and groups, for a privileged user.
    void manageUsers();
    // The presented slips and the bank's outcomes on their Bills.
    void openSlips();

    // Opens the bill detail on a Bill (key) or on a new one (empty key); refused with a
    // message when the user may not query the Bills.
    bool openModule(const BillFilter& filter, const QString& key);
    // Asks the module to close; false when it refused (unsaved changes kept).
    bool closeModule();
    // The module's export written to `path` as a spreadsheet; false (with the reason shown) when
    // it could not be.
    bool exportTo(const QString& path);
    // The bank's file of slip `slip` ("TIPO/ANNO/NUMERO") written to `path`; false (with the
    // reason shown) when it could not be.
    bool writeSlipFile(const QString& slip, const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void exportModule();
    void editScript();
    // Asks which slip and where, then writeSlipFile().
    void chooseSlipFile();
    // Asks where, offering a name made of the slip's key, then writeSlipFile(); the clerk may
    // cancel and make the file later from the Banche menu.
    void saveSlipFile(const QString& slip);
    // Through the host's log service: a window for a person, standard error for a script.
    void tell(const QString& text, int flags, const QString& title) const;
    // The module's form shown in a tab of its own, in front.
    void showModuleWindow();
    // The module is let go, its form first, then the tab that showed it.
    void releaseModule();

    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<PluginRegistry> registry_;
    HostToolbar* navigator_;
    CallingProgram* calling_;
    QMdiArea* area_;
    QMdiSubWindow* listWindow_;
    QPointer<QMdiSubWindow> moduleWindow_;
    std::unique_ptr<UserLayoutHolder> layout_;
    std::unique_ptr<Cinterface> module_;
    ProgramRights rights_ = ProgramRights::all();
};
