#pragma once

#include "AttachmentStore.h"

#include <QStringList>
#include <optional>

class AttachmentDesk;
class LogService;

// Attachments kept in the company database, one row per file under its media id (base64 text,
// the same on every engine). New: a file the person picks is read and stored, under a new media
// id when the record had none. Open and List: the file chosen among the record's attachments is
// written to a private temporary folder and shown. Delete: the one chosen goes, after a Yes.
// Scan, Mail and Properties are not offered by this store and say so.
class DatabaseAttachmentStore : public AttachmentStore {
public:
    // The largest file kept: the content column's size, in bytes before base64.
    static constexpr qint64 kMaxFileBytes = 7'000'000;

    DatabaseAttachmentStore(std::shared_ptr<AttachmentDesk> desk, std::shared_ptr<LogService> log);

    void setConnection(std::shared_ptr<Connection> connection) override {
        connection_ = std::move(connection);
    }
    bool HasMedia(const QString& mediaId) const override;
    void ManageMedia(const QString& mediaId, int button, const MediaContext& context) override;

    // The file names of a media id's attachments, in the order they were added.
    QStringList names(const QString& mediaId) const;

private:
    Connection& connection() const;
    void add(const QString& mediaId, const MediaContext& context);
    void open(const QString& mediaId, const MediaContext& context);
    void remove(const QString& mediaId, const MediaContext& context);
    // The attachment the person picks: its progressive, or nothing.
    std::optional<int> choose(const QString& mediaId, const MediaContext& context);
    void inform(const QString& text) const;

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<AttachmentDesk> desk_;
    std::shared_ptr<LogService> log_;
};
