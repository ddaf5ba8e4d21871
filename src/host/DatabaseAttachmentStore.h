#pragma once

#include "AttachmentStore.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

class AttachmentDesk;
class LogService;

// Attachments kept in the company database, one row per file under its media id (base64 text,
// the same on every engine). New: a regular file the person picks is read and stored, in one
// transaction with the record's media id (see MediaContext::holdRecord). Open and List: the file
// chosen among the record's attachments is copied into a folder of the user's own (the runtime
// folder, readable by the user alone) and shown; the copies go when the store does. Delete: the
// one chosen goes, after a Yes. Scan, Mail and Properties are not offered by this store and say
// so. Every failure is told to the person; nothing is written by a failed action.
class DatabaseAttachmentStore : public AttachmentStore {
public:
    // The largest file kept: the content column's size, in bytes before base64.
    static constexpr qint64 kMaxFileBytes = 7'000'000;

    DatabaseAttachmentStore(std::shared_ptr<AttachmentDesk> desk, std::shared_ptr<LogService> log);
    ~DatabaseAttachmentStore() override;

    void setConnection(std::shared_ptr<Connection> connection) override {
        connection_ = std::move(connection);
    }
    bool HasMedia(const QString& mediaId) const override;
    void ManageMedia(const QString& mediaId, int button, const MediaContext& context) override;

    // The file names of a media id's attachments, in the order they were added.
    QStringList names(const QString& mediaId) const;
    // Where the copies opened by this store are put.
    static QString copiesFolder();

private:
    Connection& connection() const;
    void add(const QString& mediaId, const MediaContext& context);
    void open(const QString& mediaId, const MediaContext& context);
    void remove(const QString& mediaId, const MediaContext& context);
    // The content of a regular file of at most kMaxFileBytes; the person is told otherwise.
    std::optional<QByteArray> readFile(const QString& path) const;
    // The attachment the person picks: its progressive, or nothing.
    std::optional<int> choose(const QString& mediaId, const MediaContext& context);
    void inform(const QString& text, int flags = 64) const;

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<AttachmentDesk> desk_;
    std::shared_ptr<LogService> log_;
    QStringList copies_;  // the folders of the copies opened
};
