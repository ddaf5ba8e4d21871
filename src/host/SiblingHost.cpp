#include "SiblingHost.h"

#include "AttachmentStore.h"
#include "CurrencyConverter.h"
#include "HistoryWriter.h"
#include "NumberingService.h"
#include "UserLayoutHolder.h"

SiblingHost::SiblingHost(std::shared_ptr<HostGlobal> host) : host_(std::move(host)) {}

SiblingHost::~SiblingHost() = default;

LayoutScriptHolder& SiblingHost::LayoutAndScript() {
    if (!layouts_)
        layouts_ = std::make_unique<UserLayoutHolder>(host_->OpenConnection(), host_->User().code,
                                                      QStringLiteral("KVUO_TARSELLO"),
                                                      [host = host_] { return host->CreateLogService(); });
    return *layouts_;
}

std::unique_ptr<AttachmentStore> SiblingHost::CreateAttachmentStore() const {
    return host_->CreateAttachmentStore();
}

std::unique_ptr<NumberingService> SiblingHost::CreateNumberingService() const {
    return host_->CreateNumberingService();
}

std::unique_ptr<HistoryWriter> SiblingHost::CreateHistoryWriter() const {
    return host_->CreateHistoryWriter();
}

std::unique_ptr<CurrencyConverter> SiblingHost::CreateCurrencyConverter() const {
    return host_->CreateCurrencyConverter();
}
