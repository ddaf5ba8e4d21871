#include "DriverApplication.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

// Runs the module offscreen unless a display platform is asked for: the driver is a tool for
// scripts and tests, nobody watches its windows.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) return 1;
    QString error;
    const int code = DriverApplication::run(
        QApplication::arguments().mid(1), in,
        [](const QByteArray& line) {
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
            std::fputc('\n', stdout);
            std::fflush(stdout);
        },
        &error);
    if (!error.isEmpty()) std::fprintf(stderr, "kv_driver: %s\n", error.toUtf8().constData());
    return code;
}
