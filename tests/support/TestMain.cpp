#include "TechnicalLog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Every test binary runs with a QApplication on the offscreen platform with a laptop's screen
// (1366x768), so that form tests drive real widgets without a display and at the size a clerk
// has (also when test discovery runs the binary directly). The technical log goes to a folder of
// the run, not to the user's own.
int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KV_TEST_SCREEN);
    QApplication app(argc, argv);
    const QTemporaryDir logs;
    TechnicalLog::setPath(logs.filePath(QStringLiteral("dettaglio.log")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
