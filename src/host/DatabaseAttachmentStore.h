#pragma once

#include "AttachmentStore.h"

// Attachments kept in the company database, one row per file under its media id.
class DatabaseAttachmentStore : public AttachmentStore {
public:
    void setConnection(std::shared_ptr<Connection> connection) override {
        connection_ = std::move(connection);
    }
    bool HasMedia(const QString& mediaId) const override;

private:
    std::shared_ptr<Connection> connection_;
};
