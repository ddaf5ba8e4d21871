#pragma once

#include <QString>
#include <memory>

class Connection;

// The attachment store: files kept in the database under a media id.
class AttachmentStore {
public:
    virtual ~AttachmentStore() = default;
    virtual void setConnection(std::shared_ptr<Connection> connection) = 0;
    virtual bool HasMedia(const QString& mediaId) const = 0;
};
