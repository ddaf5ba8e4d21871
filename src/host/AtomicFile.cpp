#include "AtomicFile.h"

#include "SuiteError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cerrno>

namespace {

const QString kAtomicFileSource = QStringLiteral("File");

// Less free space than this after a failed write: the disk is full.
constexpr unsigned long long kNearlyFull = 64 * 1024;

bool writeAll(int fd, const QByteArray& content) {
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

AtomicFile::AtomicFile(const QString& target) : target_(QFileInfo(target).absoluteFilePath()) {}

AtomicFile::~AtomicFile() {
    if (!committed_ && !temporary_.isEmpty()) ::unlink(QFile::encodeName(temporary_).constData());
}

void AtomicFile::save(const QString& target, const QByteArray& content) {
    AtomicFile file(target);
    file.write(content);
    file.commit();
}

void AtomicFile::savePng(const QString& target, const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        throw SuiteError(SuiteError::kOperationNotAllowed, kAtomicFileSource,
                         QStringLiteral("L'immagine per il file %1 non si può comporre.").arg(target));
    save(target, png);
}

QString AtomicFile::temporaryPath() {
    if (!temporary_.isEmpty()) return temporary_;
    const QFileInfo target(target_);
    if (target.isDir()) failed(EISDIR);
    QByteArray pattern =
        QFile::encodeName(QDir(target.absolutePath()).filePath(QLatin1Char('.') + target.fileName())) +
        ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) failed(errno);
    // The permissions of the file it replaces, or those of a new file.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(QFile::encodeName(target_).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    ::close(fd);
    temporary_ = QFile::decodeName(pattern);
    return temporary_;
}

void AtomicFile::write(const QByteArray& content) {
    const QByteArray path = QFile::encodeName(temporaryPath());
    const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) failed(errno);
    const bool written = writeAll(fd, content);
    const int error = errno;
    ::close(fd);
    if (!written) failed(error);
}

void AtomicFile::commit() {
    const QByteArray path = QFile::encodeName(temporaryPath());
    // On the disk before it takes the name: a crash after the rename finds the whole file.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        failed(error);
    }
    ::close(fd);
    if (::rename(path.constData(), QFile::encodeName(target_).constData()) != 0) failed(errno);
    committed_ = true;
    const int folder = ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void AtomicFile::failedWriting(int error) const {
    const bool ofAWrite =
        error == ENOSPC || error == EDQUOT || error == EROFS || error == EACCES || error == EPERM;
    failed(ofAWrite ? error : 0);
}

void AtomicFile::failed(int error) const {
    const QString folder = QFileInfo(target_).absolutePath();
    const auto nearlyFull = [&] {
        struct statvfs disk {};
        return ::statvfs(QFile::encodeName(folder).constData(), &disk) == 0 &&
               static_cast<unsigned long long>(disk.f_bavail) * disk.f_frsize < kNearlyFull;
    };
    QString cause;
    if (error == EACCES || error == EPERM)
        cause = QStringLiteral("permesso negato nella cartella %1").arg(folder);
    else if (error == EROFS)
        cause = QStringLiteral("il disco è di sola lettura");
    else if ((error == ENOENT || error == ENOTDIR) && !QFileInfo(folder).isDir())
        cause = QStringLiteral("la cartella %1 non esiste").arg(folder);
    else if (error == ENOENT)  // a folder of the system's that takes no files (/proc)
        cause = QStringLiteral("la cartella %1 non accetta file").arg(folder);
    else if (error == EISDIR)
        cause = QStringLiteral("con quel nome c'è una cartella");
    else if (error == ENOSPC || error == EDQUOT || nearlyFull())  // a writer that gave no reason
        cause = QStringLiteral("il disco è pieno");
    else
        cause = QStringLiteral("errore di scrittura del sistema (codice %1)").arg(error);
    const bool existed = QFileInfo(target_).isFile();
    throw SuiteError(SuiteError::kOperationNotAllowed, kAtomicFileSource,
                     QStringLiteral("Il file %1 non è stato scritto: %2.").arg(target_, cause) +
                         (existed ? QStringLiteral(" Il file che c'era è rimasto com'era.") : QString()));
}
