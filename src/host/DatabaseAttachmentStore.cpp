#include "DatabaseAttachmentStore.h"

#include "AttachmentDesk.h"
#include "Connection.h"
#include "LogService.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

namespace {
const QString kSource = QStringLiteral("Allegati");
const QString kTitle = QStringLiteral("Allegati");

QString selectOf(const QString& mediaId) {
    return QStringLiteral(
               "SELECT KV05_PROGR, KV05_NOMEFILE FROM KV05_ALLEGATI WITH (NOLOCK) WHERE KV05_IDMEDIA = ") +
           SqlText::quote(mediaId.trimmed()) + QStringLiteral(" ORDER BY KV05_PROGR");
}
}  // namespace

DatabaseAttachmentStore::DatabaseAttachmentStore(std::shared_ptr<AttachmentDesk> desk,
                                                 std::shared_ptr<LogService> log)
    : desk_(std::move(desk)), log_(std::move(log)) {}

Connection& DatabaseAttachmentStore::connection() const {
    if (!connection_)
        throw SuiteError(SuiteError::kConnectionFailed, kSource,
                         QStringLiteral("Archivio allegati senza connessione."));
    return *connection_;
}

bool DatabaseAttachmentStore::HasMedia(const QString& mediaId) const {
    connection();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS N FROM KV05_ALLEGATI WITH (NOLOCK) WHERE KV05_IDMEDIA = ") +
                SqlText::quote(mediaId.trimmed()),
            connection_);
    return rs.Fields(0).Value().toInt() > 0;
}

QStringList DatabaseAttachmentStore::names(const QString& mediaId) const {
    connection();
    QStringList result;
    Recordset rs;
    rs.Open(selectOf(mediaId), connection_);
    for (; !rs.AtEOF(); rs.MoveNext()) result.append(Value::toText(rs.Fields(1).Value()).trimmed());
    return result;
}

void DatabaseAttachmentStore::inform(const QString& text) const {
    if (log_) log_->MsgBox(text, 64, kTitle);
}

void DatabaseAttachmentStore::ManageMedia(const QString& mediaId, int button, const MediaContext& context) {
    switch (button) {
        case New:
            add(mediaId, context);
            return;
        case Open:
        case List:
            open(mediaId, context);
            return;
        case Delete:
            remove(mediaId, context);
            return;
        default:
            inform(QStringLiteral("Funzione degli allegati non disponibile."));
    }
}

void DatabaseAttachmentStore::add(const QString& mediaId, const MediaContext& context) {
    connection();
    const QString path = desk_ ? desk_->chooseFile(context.parent) : QString();
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.exists()) {
        inform(QStringLiteral("Il file %1 non esiste più: nessun allegato aggiunto.").arg(path));
        return;
    }
    if (file.size() > kMaxFileBytes) {
        inform(QStringLiteral("Il file %1 supera la dimensione massima di %2 MB: nessun allegato aggiunto.")
                   .arg(path)
                   .arg(kMaxFileBytes / 1'000'000));
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        inform(QStringLiteral("Il file %1 non si può leggere (%2): nessun allegato aggiunto.")
                   .arg(path, file.errorString()));
        return;
    }
    const QByteArray content = file.readAll();
    const bool created = mediaId.trimmed().isEmpty();
    const QString id =
        created ? QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() : mediaId.trimmed();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM KV05_ALLEGATI WHERE KV05_IDMEDIA = ") + SqlText::quote(id) +
                QStringLiteral(" ORDER BY KV05_PROGR"),
            connection_);
    int progr = 0;
    for (; !rs.AtEOF(); rs.MoveNext())
        progr = std::max(progr, Value::toInt(rs.Fields(QStringLiteral("KV05_PROGR")).Value()));
    rs.AddNew();
    rs.Fields(QStringLiteral("KV05_IDMEDIA")).setValue(id);
    rs.Fields(QStringLiteral("KV05_PROGR")).setValue(progr + 1);
    rs.Fields(QStringLiteral("KV05_NOMEFILE")).setValue(QFileInfo(path).fileName().left(255));
    rs.Fields(QStringLiteral("KV05_DATAINS")).setValue(QDateTime::currentDateTime());
    rs.Fields(QStringLiteral("KV05_UTENTE_KV02")).setValue(context.user);
    rs.Fields(QStringLiteral("KV05_CONTENUTO")).setValue(QString::fromLatin1(content.toBase64()));
    rs.UpdateBatch();
    if (created && AfterMediaCreate) AfterMediaCreate(id);
}

std::optional<int> DatabaseAttachmentStore::choose(const QString& mediaId, const MediaContext& context) {
    QList<int> progressives;
    QStringList fileNames;
    Recordset rs;
    rs.Open(selectOf(mediaId), connection_);
    for (; !rs.AtEOF(); rs.MoveNext()) {
        progressives.append(Value::toInt(rs.Fields(0).Value()));
        fileNames.append(Value::toText(rs.Fields(1).Value()).trimmed());
    }
    if (mediaId.trimmed().isEmpty() || progressives.isEmpty()) {
        inform(QStringLiteral("Nessun allegato presente."));
        return std::nullopt;
    }
    const int index = desk_ ? desk_->chooseAttachment(context.parent, fileNames) : -1;
    if (index < 0 || index >= progressives.size()) return std::nullopt;
    return progressives[index];
}

void DatabaseAttachmentStore::open(const QString& mediaId, const MediaContext& context) {
    connection();
    const std::optional<int> progr = choose(mediaId, context);
    if (!progr) return;
    Recordset rs;
    rs.Open(
        QStringLiteral(
            "SELECT KV05_NOMEFILE, KV05_CONTENUTO FROM KV05_ALLEGATI WITH (NOLOCK) WHERE KV05_IDMEDIA = ") +
            SqlText::quote(mediaId.trimmed()) + QStringLiteral(" AND KV05_PROGR = ") +
            QString::number(*progr),
        connection_);
    if (rs.AtEOF()) {
        inform(QStringLiteral("L'allegato non esiste più: un altro utente lo ha eliminato."));
        return;
    }
    // Each opening gets its own folder: a file still open in a viewer is never overwritten.
    const QString folder =
        QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
            .filePath(QStringLiteral("kv-allegati/") + QUuid::createUuid().toString(QUuid::Id128));
    QString name = QFileInfo(Value::toText(rs.Fields(0).Value()).trimmed()).fileName();
    if (name.isEmpty()) name = QStringLiteral("allegato");
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
        file.write(QByteArray::fromBase64(Value::toText(rs.Fields(1).Value()).toLatin1())) < 0) {
        inform(QStringLiteral("Impossibile preparare l'allegato %1 per la visualizzazione.").arg(name));
        return;
    }
    file.close();
    if (!desk_ || !desk_->openFile(path))
        inform(QStringLiteral("Nessun programma disponibile per aprire l'allegato %1.").arg(name));
}

void DatabaseAttachmentStore::remove(const QString& mediaId, const MediaContext& context) {
    connection();
    const std::optional<int> progr = choose(mediaId, context);
    if (!progr) return;
    if (log_ && log_->MsgBox(QStringLiteral("Eliminare l'allegato selezionato?"), 4 + 32, kTitle) != 6)
        return;
    connection().Execute(QStringLiteral("DELETE FROM KV05_ALLEGATI WHERE KV05_IDMEDIA = ") +
                         SqlText::quote(mediaId.trimmed()) + QStringLiteral(" AND KV05_PROGR = ") +
                         QString::number(*progr));
}
