#pragma once

#include <QProcess>
#include <QString>

// One file inside a zip archive (an .xlsx), read back with the system's unzip; empty when the
// archive or the entry is not there.
inline QString zipEntry(const QString& archive, const QString& entry) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, entry});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) return {};
    return QString::fromUtf8(unzip.readAllStandardOutput());
}
