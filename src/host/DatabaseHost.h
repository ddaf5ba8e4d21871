#pragma once

#include "ConnectionFactory.h"
#include "HostGlobal.h"
#include "IdleConnections.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <functional>
#include <memory>

class AttachmentDesk;
class ProgramLauncher;
class Connection;

// The host's global object of the host application: company, parameters, user and message
// catalogue read from the company database; menu entries kept for the main window.
class DatabaseHost : public HostGlobal {
public:
    // Opens the database through `connections` (the signed-in session's) and reads the company
    // and the user; throws SuiteError with a message for the clerk when either does not exist.
    DatabaseHost(ConnectionFactory connections, qint32 company, const QString& userCode);
    // On connections opened as the connection string itself connects (an administrator's tools).
    DatabaseHost(const QString& connectionString, qint32 company, const QString& userCode);
    ~DatabaseHost() override;

    void SetActiveModule(Cinterface* module) override { active_ = module; }
    Cinterface* ActiveModule() const override { return active_; }
    const ::CompanyContext& CompanyContext() const override { return company_; }
    const LoggedUser& User() const override { return user_; }
    QString DatabaseSettings() const override { return connections_.connectionString(); }
    // A connection a closed form let go of, when one waits; else a new one.
    std::shared_ptr<Connection> OpenConnection() const override { return idle_->open(); }
    QString GetMessage(int number, const QVariantList& parameters = {}) const override;
    QIcon MainWindowIcon(const QString& key) const override;
    void RegisterMenuEntry(const MenuEntry& entry) override;
    bool RunProgram(const QString& progId, const QVariantList& parameters = {},
                    QVariant* handedBack = nullptr) override;
    std::unique_ptr<AttachmentStore> CreateAttachmentStore() const override;
    std::shared_ptr<LogService> CreateLogService() const override;
    std::unique_ptr<NumberingService> CreateNumberingService() const override;
    std::unique_ptr<HistoryWriter> CreateHistoryWriter() const override;
    std::unique_ptr<CurrencyConverter> CreateCurrencyConverter() const override;
    LayoutScriptHolder& LayoutAndScript() override;

    const QList<MenuEntry>& menuEntries() const { return menu_; }
    QString companyName() const { return companyName_; }
    // The host's own setting of the privileged user, over what the user archive says.
    void setPrivileged(bool on) { user_.privileged = on; }
    // Where the forms' message services come from; message boxes on screen by default.
    void setLogServiceFactory(std::function<std::shared_ptr<LogService>()> factory) {
        logFactory_ = std::move(factory);
    }
    // Who picks and looks at attachment files; the dialogs on screen by default.
    void setAttachmentDesk(std::shared_ptr<AttachmentDesk> desk) { desk_ = std::move(desk); }
    // How the host runs a sibling program; without one RunProgram answers false.
    void setProgramLauncher(std::shared_ptr<ProgramLauncher> launcher) { launcher_ = std::move(launcher); }

private:
    ConnectionFactory connections_;
    std::shared_ptr<IdleConnections> idle_;
    std::shared_ptr<Connection> connection_;
    ::CompanyContext company_;
    QString companyName_;
    LoggedUser user_;
    Cinterface* active_ = nullptr;
    mutable QHash<int, QString> messages_;
    // The program's icons, painted once: the bill form asks for one with every Bill it shows.
    mutable QHash<QString, QIcon> icons_;
    QList<MenuEntry> menu_;
    std::shared_ptr<ProgramLauncher> launcher_;
    std::function<std::shared_ptr<LogService>()> logFactory_;
    std::unique_ptr<class UserLayoutHolder> layouts_;
    std::shared_ptr<AttachmentDesk> desk_;
};
