#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>

// One file inside a zip archive (an .xlsx), read back with the system's unzip; empty when the
// archive or the entry is not there. Without unzip the test fails: it would check nothing.
inline QString zipEntry(const QString& archive, const QString& entry) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, entry});
    if (!unzip.waitForStarted(30000)) {
        ADD_FAILURE() << "unzip is missing: install unzip";
        return {};
    }
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) return {};
    return QString::fromUtf8(unzip.readAllStandardOutput());
}
