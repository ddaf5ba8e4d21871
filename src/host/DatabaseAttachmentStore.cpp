#include "DatabaseAttachmentStore.h"

#include "AttachmentDesk.h"
#include "Connection.h"
#include "FailureText.h"
#include "LogService.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>
#include <cerrno>

namespace {
const QString kDatabaseAttachmentStoreSource = QStringLiteral("Allegati");
const QString kDatabaseAttachmentStoreTitle = QStringLiteral("Allegati");
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString selectOf(const QString& mediaId) {
    return QStringLiteral(
               "SELECT KV05_PROGR, KV05_NOMEFILE FROM KV05_ALLEGATI WITH (NOLOCK) WHERE KV05_IDMEDIA = ") +
           SqlText::quote(mediaId.trimmed()) + QStringLiteral(" ORDER BY KV05_PROGR");
}

QString notDone(int button) {
    switch (button) {
        case AttachmentStore::New:
            return QStringLiteral("L'allegato non è stato aggiunto.");
        case AttachmentStore::Delete:
            return QStringLiteral("L'allegato non è stato eliminato.");
        default:
            return QStringLiteral("L'allegato non è stato aperto.");
    }
}
}  // namespace

DatabaseAttachmentStore::DatabaseAttachmentStore(std::shared_ptr<AttachmentDesk> desk,
                                                 std::shared_ptr<LogService> log)
    : desk_(std::move(desk)), log_(std::move(log)) {}

DatabaseAttachmentStore::~DatabaseAttachmentStore() {
    // A viewer has read its copy by now, or holds it open: either way it goes from the folder.
    for (const QString& folder : copies_) QDir(folder).removeRecursively();
}

Connection& DatabaseAttachmentStore::connection() const {
    if (!connection_)
        throw SuiteError(SuiteError::kConnectionFailed, kDatabaseAttachmentStoreSource,
                         QStringLiteral("Archivio allegati senza connessione."));
    return *connection_;
}

QString DatabaseAttachmentStore::copiesFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(QStringLiteral("kv-allegati"));
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

void DatabaseAttachmentStore::inform(const QString& text, int flags) const {
    if (log_) log_->MsgBox(text, flags, kDatabaseAttachmentStoreTitle);
}

void DatabaseAttachmentStore::ManageMedia(const QString& mediaId, int button, const MediaContext& context) {
    try {
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
    } catch (const SuiteError& e) {
        inform(FailureText::of(e, notDone(button)), LogService::kExclamation);
    }
}

std::optional<QByteArray> DatabaseAttachmentStore::readFile(const QString& path) const {
    const auto refuse = [&](const QString& why) -> std::optional<QByteArray> {
        inform(QStringLiteral("Il file %1 %2: nessun allegato aggiunto.").arg(path, why),
               LogService::kExclamation);
        return std::nullopt;
    };
    const auto unreadable = [&](int error) {
        return refuse(error == ENOENT   ? QStringLiteral("non esiste più")
                      : error == EACCES ? QStringLiteral("non si può leggere: permesso negato")
                                        : QStringLiteral("non si può leggere"));
    };
    const auto notRegular = [&] {
        return refuse(QStringLiteral(
            "non è un file ordinario (è una cartella, un dispositivo o un canale di comunicazione)"));
    };
    const auto tooLarge = [&] {
        return refuse(QStringLiteral("supera la dimensione massima di %1 MB").arg(kMaxFileBytes / 1'000'000));
    };
    const QByteArray name = QFile::encodeName(path);
    // Looked at before it is opened: a device is never opened, and a named pipe would block.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) return unreadable(errno);
    if (!S_ISREG(st.st_mode)) return notRegular();
    if (st.st_size > kMaxFileBytes) return tooLarge();
    // Opened without waiting, and checked again: the path may have changed in between.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return unreadable(errno);
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return notRegular();
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return unreadable(0);
    }
    const QByteArray content = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) return unreadable(0);
    if (content.size() > kMaxFileBytes) return tooLarge();  // it grew meanwhile
    return content;
}

void DatabaseAttachmentStore::add(const QString& mediaId, const MediaContext& context) {
    connection();
    const QString path = desk_ ? desk_->chooseFile(context.parent) : QString();
    if (path.isEmpty()) return;
    const std::optional<QByteArray> content = readFile(path);
    if (!content) return;
    const QString fresh = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    QString id = mediaId.trimmed();
    bool announce = false;
    {
        // The record's id and the file go together; the record is held meanwhile, so a colleague
        // attaching to it at the same moment comes after, under the same id.
        TransactionScope transaction(*connection_);
        const QString held =
            context.holdRecord ? context.holdRecord(id.isEmpty() ? fresh : QString()).trimmed() : QString();
        if (!held.isEmpty()) {
            id = held;
        } else if (id.isEmpty()) {
            id = fresh;
            announce = true;
        }
        Recordset last;
        last.Open(QStringLiteral("SELECT MAX(KV05_PROGR) FROM KV05_ALLEGATI WHERE KV05_IDMEDIA = ") +
                      SqlText::quote(id),
                  connection_);
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM KV05_ALLEGATI WHERE 0=1"), connection_);
        rs.AddNew();
        rs.Fields(QStringLiteral("KV05_IDMEDIA")).setValue(id);
        rs.Fields(QStringLiteral("KV05_PROGR")).setValue(Value::toInt(last.Fields(0).Value()) + 1);
        rs.Fields(QStringLiteral("KV05_NOMEFILE"))
            .setValue(Value::leftWhole(QFileInfo(path).fileName(), 255));
        rs.Fields(QStringLiteral("KV05_DATAINS")).setValue(QDateTime::currentDateTime());
        rs.Fields(QStringLiteral("KV05_UTENTE_KV02")).setValue(context.user);
        rs.Fields(QStringLiteral("KV05_CONTENUTO")).setValue(QString::fromLatin1(content->toBase64()));
        rs.UpdateBatch();
        transaction.commit();
    }
    if (announce && AfterMediaCreate) AfterMediaCreate(id);
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
    QString name = QFileInfo(Value::toText(rs.Fields(0).Value()).trimmed()).fileName();
    if (name.isEmpty()) name = QStringLiteral("allegato");
    // The user's own folder, readable by nobody else; each opening in a folder of its own, so a
    // file still open in a viewer is never overwritten.
    const QString base = copiesFolder();
    const QString folder = QDir(base).filePath(QUuid::createUuid().toString(QUuid::Id128));
    const QString path = QDir(folder).filePath(name);
    const QByteArray content = QByteArray::fromBase64(Value::toText(rs.Fields(1).Value()).toLatin1());
    QFile file(path);
    const bool written = QDir().mkpath(base) &&
                         QFile::setPermissions(base, kOwnerOnly | QFileDevice::ExeOwner) &&
                         QDir().mkdir(folder, kOwnerOnly | QFileDevice::ExeOwner) &&
                         file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly) &&
                         file.write(content) == content.size() && file.flush();
    file.close();
    if (QFileInfo::exists(folder)) copies_.append(folder);
    if (!written) {
        inform(QStringLiteral("Impossibile preparare l'allegato %1 per la visualizzazione: %2.")
                   .arg(name, file.errorString()),
               LogService::kExclamation);
        return;
    }
    if (!desk_ || !desk_->openFile(path))
        inform(QStringLiteral("Nessun programma disponibile per aprire l'allegato %1.").arg(name));
}

void DatabaseAttachmentStore::remove(const QString& mediaId, const MediaContext& context) {
    connection();
    const std::optional<int> progr = choose(mediaId, context);
    if (!progr) return;
    if (log_ && log_->MsgBox(QStringLiteral("Eliminare l'allegato selezionato?"),
                             LogService::kYesNo | LogService::kQuestion,
                             kDatabaseAttachmentStoreTitle) != LogService::kYes)
        return;
    const long removed = connection().Execute(
        QStringLiteral("DELETE FROM KV05_ALLEGATI WHERE KV05_IDMEDIA = ") +
        SqlText::quote(mediaId.trimmed()) + QStringLiteral(" AND KV05_PROGR = ") + QString::number(*progr));
    if (removed == 0) inform(QStringLiteral("L'allegato non esiste più: un altro utente lo ha eliminato."));
}
