#pragma once

#include <QString>
#include <functional>
#include <memory>

class Connection;
class QWidget;

// What the attachment buttons act for: the window to put dialogs on, who works on which
// company, and the record the attachments belong to.
struct MediaContext {
    QWidget* parent = nullptr;
    qint32 company = 0;
    QString user;
    // Called inside the store's transaction before a file is added: holds the record in focus
    // until the transaction ends and answers its media id as the database holds it, writing
    // `newId` there first when it holds none (so two clerks attaching at once share one id).
    // Empty when the record is not in the database yet: its id is then announced through
    // AfterMediaCreate and saved with the record. Throws SuiteError when there is no record.
    std::function<QString(const QString& newId)> holdRecord;
};

// The attachment store: files kept in the database under a media id.
class AttachmentStore {
public:
    // The navigator's attachment buttons, as the store knows them.
    enum Button { New = 11, Open = 12, Delete = 13, Scan = 15, List = 16, Mail = 17, Properties = 25 };

    virtual ~AttachmentStore() = default;
    virtual void setConnection(std::shared_ptr<Connection> connection) = 0;
    virtual bool HasMedia(const QString& mediaId) const = 0;
    // Performs a button's action on the attachments of `mediaId` (empty: the record has none
    // yet). A first attachment gets a new media id, announced through AfterMediaCreate.
    virtual void ManageMedia(const QString& mediaId, int button, const MediaContext& context) = 0;

    std::function<void(const QString& mediaId)> AfterMediaCreate;
};
