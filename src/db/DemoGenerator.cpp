#include "DemoGenerator.h"

#include "DemoBuilder.h"

QString DemoGenerator::customerAccount() {
    return QStringLiteral("0401001");
}
QString DemoGenerator::supplierAccount() {
    return QStringLiteral("1401001");
}
QDate DemoGenerator::today() {
    return DemoBuilder::today();
}

DemoGenerator::DemoGenerator(std::shared_ptr<Connection> connection, Options options)
    : connection_(std::move(connection)), options_(std::move(options)) {}

DemoGenerator::Counts DemoGenerator::run() {
    return DemoBuilder(*connection_, options_).run();
}
