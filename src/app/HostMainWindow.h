#pragma once

#include "BillFilter.h"
#include "ProgramRights.h"

#include <QMainWindow>
#include <memory>

class CallingProgram;
class Cinterface;
class Connection;
class DatabaseHost;
class HostToolbar;
class PluginRegistry;

// The host application's main window: the host's navigator bar, the calling program and the
// modules it opens, created by program id through the plugin registry.
class HostMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The bill module, by the program id its plugin answers to.
    static constexpr const char* kProgId = KVUO_TARSELLO_PROGID;

    HostMainWindow(std::shared_ptr<DatabaseHost> host, std::shared_ptr<Connection> connection,
                   std::shared_ptr<PluginRegistry> registry, QWidget* parent = nullptr);
    ~HostMainWindow() override;

    CallingProgram* callingProgram() const { return calling_; }
    HostToolbar* navigator() const { return navigator_; }
    Cinterface* module() const { return module_.get(); }

    // The signed-in user's rights in the bill module, handed to it as it opens.
    void setRights(const ProgramRights& rights) { rights_ = rights; }
    // The users and groups, for a privileged user.
    void manageUsers();

    // Opens the bill detail on a Bill (key) or on a new one (empty key); refused with a
    // message when the user may not query the Bills.
    bool openModule(const BillFilter& filter, const QString& key);
    // Asks the module to close; false when it refused (unsaved changes kept).
    bool closeModule();
    // The module's export written to `path` as a spreadsheet; false (with the reason shown) when
    // it could not be.
    bool exportTo(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void exportModule();
    void editScript();
    // Through the host's log service: a window for a person, standard error for a script.
    void tell(const QString& text, int flags, const QString& title) const;

    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<PluginRegistry> registry_;
    HostToolbar* navigator_;
    CallingProgram* calling_;
    std::unique_ptr<Cinterface> module_;
    ProgramRights rights_ = ProgramRights::all();
};
