#include "TechnicalLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace {

constexpr qint64 kMaxBytes = 1024 * 1024;

struct LogFile {
    QMutex mutex;
    QString path;
};
LogFile& logFile() {
    static LogFile file;
    return file;
}

QString userLog() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Contabilita/Dettaglio effetti/dettaglio.log");
}

}  // namespace

QString TechnicalLog::path() {
    LogFile& log = logFile();
    QMutexLocker lock(&log.mutex);
    return log.path.isEmpty() ? userLog() : log.path;
}

void TechnicalLog::setPath(const QString& path) {
    LogFile& log = logFile();
    QMutexLocker lock(&log.mutex);
    log.path = path;
}

void TechnicalLog::write(const QString& source, const QString& text) {
    const QString target = path();
    LogFile& log = logFile();
    QMutexLocker lock(&log.mutex);
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (QFileInfo(target).size() > kMaxBytes) {
        QFile::remove(target + QStringLiteral(".1"));
        QFile::rename(target, target + QStringLiteral(".1"));
    }
    QFile file(target);
    if (!file.open(QIODevice::Append | QIODevice::Text)) return;
    const QString line = QStringLiteral("%1 [%2] %3\n")
                             .arg(QDateTime::currentDateTime().toString(Qt::ISODate), source,
                                  QString(text).replace(QLatin1Char('\n'), QStringLiteral("\n    ")));
    file.write(line.toUtf8());
}
