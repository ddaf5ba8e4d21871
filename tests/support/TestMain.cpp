#include <gtest/gtest.h>

#include <QApplication>

// Every test binary runs with a QApplication on the offscreen platform, so that form tests
// drive real widgets without a display (also when test discovery runs the binary directly).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
