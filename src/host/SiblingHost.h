#pragma once

#include "HostGlobal.h"

#include <memory>

class UserLayoutHolder;

// The host as a sibling module sees it: everything is the host's (company, user, connections,
// message services, programs) except its active module and its user layout and script, which
// are the sibling's own, so that the form that opened it keeps its own when it comes back.
class SiblingHost : public HostGlobal {
public:
    explicit SiblingHost(std::shared_ptr<HostGlobal> host);
    ~SiblingHost() override;

    void SetActiveModule(Cinterface* module) override { active_ = module; }
    Cinterface* ActiveModule() const override { return active_; }
    const ::CompanyContext& CompanyContext() const override { return host_->CompanyContext(); }
    const LoggedUser& User() const override { return host_->User(); }
    QString DatabaseSettings() const override { return host_->DatabaseSettings(); }
    std::shared_ptr<Connection> OpenConnection() const override { return host_->OpenConnection(); }
    QString GetMessage(int number, const QVariantList& parameters = {}) const override {
        return host_->GetMessage(number, parameters);
    }
    QIcon MainWindowIcon(const QString& key) const override { return host_->MainWindowIcon(key); }
    void RegisterMenuEntry(const MenuEntry& entry) override { host_->RegisterMenuEntry(entry); }
    bool RunProgram(const QString& progId, const QVariantList& parameters = {},
                    QVariant* handedBack = nullptr) override {
        return host_->RunProgram(progId, parameters, handedBack);
    }
    std::unique_ptr<AttachmentStore> CreateAttachmentStore() const override;
    std::shared_ptr<LogService> CreateLogService() const override { return host_->CreateLogService(); }
    std::unique_ptr<NumberingService> CreateNumberingService() const override;
    std::unique_ptr<HistoryWriter> CreateHistoryWriter() const override;
    std::unique_ptr<CurrencyConverter> CreateCurrencyConverter() const override;
    LayoutScriptHolder& LayoutAndScript() override;

private:
    std::shared_ptr<HostGlobal> host_;
    Cinterface* active_ = nullptr;
    std::unique_ptr<UserLayoutHolder> layouts_;
};
